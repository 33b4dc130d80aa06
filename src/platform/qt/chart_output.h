#pragma once

#include <QString>

class QwtPlot;
struct PrintMargins;

// Writes the plot at its size on screen, on white, as a Windows bitmap under exactly `fileName`.
// The file appears only when it has been written whole; throws Exception naming it otherwise.
void SavePlotAsBitmap(QwtPlot& plot, const QString& fileName);

// Where a print-out goes: the default printer, or a PDF file when `pdfFileName` is not empty.
struct PrintTarget {
  QString PdfFileName;
};

// Prints the plot as one landscape page inside the margins (per cent of the page), with no
// dialog, as a job named after the file name of `documentFile`. Lines keep the weight they
// have on screen. Throws Exception when there is no printer or no print system running, the
// job fails or the print queue refuses it.
void PrintPlotLandscape(QwtPlot& plot, const PrintMargins& margins, const PrintTarget& target,
                        const QString& documentFile);

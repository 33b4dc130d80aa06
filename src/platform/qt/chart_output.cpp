#include "platform/qt/chart_output.h"

#include <qwt_plot.h>
#include <qwt_plot_renderer.h>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>

#include "platform/chart.h"
#include "platform/exception.h"
#include "platform/qt/print_queue.h"
#include "platform/qt/qt_text.h"

namespace {

// The renderer's own background is the window's grey; the output keeps the white below.
void RenderOnWhite(QwtPlot& plot, QPainter& painter, const QRectF& rect) {
  QwtPlotRenderer renderer;
  renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground, true);
  renderer.setDiscardFlag(QwtPlotRenderer::DiscardCanvasBackground, true);
  renderer.render(&plot, &painter, rect);
}

void ThrowUnlessThereIsADefaultPrinter() {
  switch (AskDefaultPrinter()) {
    case DefaultPrinterAnswer::Found:
      return;
    case DefaultPrinterAnswer::NoneSelected:
      throw Exception("There is no default printer currently selected");
    case DefaultPrinterAnswer::NotRunning:
      throw Exception("Printing failed: the print system is not running");
  }
}

}  // namespace

void SavePlotAsBitmap(QwtPlot& plot, const QString& fileName) {
  const QSize size = plot.size().expandedTo(QSize(1, 1));
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    RenderOnWhite(plot, painter, QRectF(image.rect()));
  }
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "BMP") || !file.commit()) {
    throw Exception("Cannot create file \"" + ToStdString(fileName) + "\". " +
                    ToStdString(file.errorString()));
  }
}

void PrintPlotLandscape(QwtPlot& plot, const PrintMargins& margins, const PrintTarget& target,
                        const QString& documentFile) {
  if (target.PdfFileName.isEmpty()) ThrowUnlessThereIsADefaultPrinter();
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QFileInfo(documentFile).fileName());
  if (!target.PdfFileName.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(target.PdfFileName);
  }
  printer.setPageOrientation(QPageLayout::Landscape);
  // The margins are shares of the whole sheet, set in millimetres.
  const QRectF sheet = printer.pageLayout().fullRect(QPageLayout::Millimeter);
  printer.setPageMargins(
      QMarginsF(sheet.width() * margins.Left / 100.0, sheet.height() * margins.Top / 100.0,
                sheet.width() * margins.Right / 100.0, sheet.height() * margins.Bottom / 100.0),
      QPageLayout::Millimeter);
  QPainter painter;
  if (!painter.begin(&printer)) throw Exception("Printing failed: the printer cannot be opened");
  RenderOnWhite(plot, painter,
                QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size()));
  if (!painter.end() || printer.printerState() == QPrinter::Error ||
      printer.printerState() == QPrinter::Aborted) {
    throw Exception("Printing failed");
  }
  const std::string refusal = PrintJobRefusal(printer);
  if (!refusal.empty()) throw Exception("Printing failed: " + refusal);
}

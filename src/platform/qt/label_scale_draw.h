#pragma once

#include <qwt_scale_draw.h>
#include <QMap>
#include <QString>

// A scale that writes the label of a bar at its x value instead of the number.
class LabelScaleDraw : public QwtScaleDraw {
 public:
  explicit LabelScaleDraw(QMap<double, QString> labels) : labels_(std::move(labels)) {}

  QwtText label(double value) const override { return labels_.value(value); }

 private:
  QMap<double, QString> labels_;
};

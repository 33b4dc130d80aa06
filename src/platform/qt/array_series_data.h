#pragma once

#include <qwt_series_data.h>

#include <QPointF>
#include <QRectF>

#include "platform/chart.h"
#include "platform/dyn_array.h"
#include "platform/qt/column_reduction.h"
#include "platform/qt/level_of_detail.h"

// A line series' points as Qwt reads them: the series' own x and y arrays, shared and never
// copied, with the min/max tables that let a view reduce them to pixel columns.
class ArraySeriesData : public QwtSeriesData<QPointF> {
 public:
  // Takes the arrays and point count the series holds now and builds the tables. The count
  // never reaches past either array.
  explicit ArraySeriesData(const LineSeries& series);

  // Whether the series now holds other arrays or another count than these data.
  bool DiffersFrom(const LineSeries& series) const;

  size_t size() const override { return count_; }
  QPointF sample(size_t i) const override;
  // From the tables, so rescaling costs nothing per point.
  QRectF boundingRect() const override { return bounds_; }

  LineData Line() const { return LineData{x_.data(), y_.data(), count_, &detail_}; }
  const LevelOfDetail& Detail() const { return detail_; }

 private:
  DynArray<double> x_;
  DynArray<double> y_;
  std::size_t count_;
  LevelOfDetail detail_;
  QRectF bounds_;
};

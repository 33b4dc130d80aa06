#include "platform/qt/array_series_data.h"

#include <algorithm>

namespace {

std::size_t UsableCount(const LineSeries& series) {
  return std::min({series.XValues.Count, series.YValues.Count, series.XValues.Value.Length(),
                   series.YValues.Value.Length()});
}

}  // namespace

ArraySeriesData::ArraySeriesData(const LineSeries& series)
    : x_(series.XValues.Value), y_(series.YValues.Value), count_(UsableCount(series)) {
  detail_.Build(y_.data(), count_);
  bounds_ = QRectF(1.0, 1.0, -2.0, -2.0);  // Qwt's "no extent": left out of autoscaling
  if (count_ == 0) return;
  const ValueRange range = detail_.Whole();
  if (range.Empty()) return;
  // The x values ascend, so their extremes are the ends.
  const double* x = x_.data();
  bounds_ = QRectF(QPointF(x[0], range.Min), QPointF(x[count_ - 1], range.Max));
}

bool ArraySeriesData::DiffersFrom(const LineSeries& series) const {
  return UsableCount(series) != count_ || !series.XValues.Value.SharesStorageWith(x_) ||
         !series.YValues.Value.SharesStorageWith(y_);
}

QPointF ArraySeriesData::sample(size_t i) const {
  if (i >= count_) return QPointF();
  return QPointF(x_.data()[i], y_.data()[i]);
}

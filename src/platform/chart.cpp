#include "platform/chart.h"

#include <algorithm>
#include <string>

#include "platform/exception.h"

void ChartAxis::SetTitle(const std::string& title) {
  if (title_ == title) return;
  title_ = title;
  chart_.Changed();
}

void ChartAxis::SetAutomatic(bool automatic) {
  if (automatic_ == automatic) return;
  automatic_ = automatic;
  chart_.Changed();
}

void ChartAxis::SetMinMax(double minimum, double maximum) {
  if (!automatic_ && minimum_ == minimum && maximum_ == maximum) return;
  automatic_ = false;
  minimum_ = minimum;
  maximum_ = maximum;
  chart_.Changed();
}

void ChartAxis::Zoom(double factor, const AxisRange& whole) {
  if (whole.Empty() || !(factor > 0.0)) return;
  const AxisRange shown = automatic_ ? whole : AxisRange{minimum_, maximum_};
  const double width = (shown.Max - shown.Min) * factor;
  const double wholeWidth = whole.Max - whole.Min;
  // A zoom out and back in again lands a rounding error short of the whole width.
  constexpr double Rounding = 1e-9;
  if (width >= wholeWidth * (1.0 - Rounding)) {
    SetAutomatic(true);
    return;
  }
  const double middle = (shown.Min + shown.Max) / 2.0;
  const double minimum = std::clamp(middle - width / 2.0, whole.Min, whole.Max - width);
  SetMinMax(minimum, minimum + width);
}

void ChartSeries::SetActive(bool active) {
  Assign(active_, active);
}

void ChartSeries::SetTitle(const std::string& title) {
  Assign(title_, title);
}

void ChartSeries::SetSeriesColor(Color color) {
  Assign(color_, color);
}

void BarSeries::Clear() {
  if (points_.empty()) return;
  points_.clear();
  NotifyChanged();
}

void BarSeries::AddXY(double x, double y, const std::string& label, Color color) {
  points_.push_back(BarPoint{x, y, label, color});
  NotifyChanged();
}

void Chart::ClearTitle() {
  if (titleLines_.empty()) return;
  titleLines_.clear();
  NotifyChanged();
}

void Chart::AddTitleLine(const std::string& line) {
  titleLines_.push_back(line);
  NotifyChanged();
}

void Chart::UndoZoom() {
  leftAxis_.SetAutomatic(true);
  bottomAxis_.SetAutomatic(true);
}

void Chart::AddSeries(ChartSeries* series) {
  series->chart_ = this;
  series_.push_back(series);
}

ChartSeries* Chart::GetSeries(int index) const {
  if (index < 0 || index >= static_cast<int>(series_.size())) {
    throw Exception("List index out of bounds (" + std::to_string(index) + ")");
  }
  return series_[index];
}

LineSeries* Chart::GetLineSeries(int index) const {
  auto* series = dynamic_cast<LineSeries*>(GetSeries(index));
  if (series == nullptr) throw Exception("Series " + std::to_string(index) + " is no line series");
  return series;
}

BarSeries* Chart::GetBarSeries(int index) const {
  auto* series = dynamic_cast<BarSeries*>(GetSeries(index));
  if (series == nullptr) throw Exception("Series " + std::to_string(index) + " is no bar series");
  return series;
}

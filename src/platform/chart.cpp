#include "platform/chart.h"

#include <algorithm>
#include <cmath>
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

AxisRange ChartAxis::Shown(const AxisRange& whole) const {
  return automatic_ ? whole : AxisRange{minimum_, maximum_};
}

void ChartAxis::ShowInside(double minimum, double width, const AxisRange& whole) {
  if (!std::isfinite(minimum) || !std::isfinite(width)) return;
  // A zoom out and back in again lands a rounding error short of the whole width.
  constexpr double Rounding = 1e-9;
  if (width >= (whole.Max - whole.Min) * (1.0 - Rounding)) {
    SetAutomatic(true);
    return;
  }
  minimum = std::clamp(minimum, whole.Min, whole.Max - width);
  SetMinMax(minimum, minimum + width);
}

void ChartAxis::ZoomTo(const AxisRange& range, const AxisRange& whole) {
  if (whole.Empty()) return;
  const double minimum = std::max(range.Min, whole.Min);
  const double maximum = std::min(range.Max, whole.Max);
  if (!(maximum > minimum)) return;
  ShowInside(minimum, maximum - minimum, whole);
}

void ChartAxis::Zoom(double factor, double about, const AxisRange& whole) {
  if (whole.Empty() || !(factor > 0.0)) return;
  const AxisRange shown = Shown(whole);
  ShowInside(about - (about - shown.Min) * factor, (shown.Max - shown.Min) * factor, whole);
}

void ChartAxis::Pan(double delta, const AxisRange& whole) {
  if (automatic_ || whole.Empty()) return;
  ShowInside(minimum_ + delta, maximum_ - minimum_, whole);
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

void Chart::ZoomTo(const ChartArea& area, const ChartArea& whole) {
  bottomAxis_.ZoomTo(area.X, whole.X);
  leftAxis_.ZoomTo(area.Y, whole.Y);
}

void Chart::Zoom(double factor, const ChartPoint& about, const ChartArea& whole) {
  bottomAxis_.Zoom(factor, about.X, whole.X);
  leftAxis_.Zoom(factor, about.Y, whole.Y);
}

void Chart::Pan(const ChartPoint& delta, const ChartArea& whole) {
  bottomAxis_.Pan(delta.X, whole.X);
  leftAxis_.Pan(delta.Y, whole.Y);
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

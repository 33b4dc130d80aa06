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
  if (automatic) {
    fixed_.reset();
  } else {
    fixed_ = AxisRange{minimum_, maximum_};
  }
  Show(automatic, minimum_, maximum_);
}

void ChartAxis::SetMinMax(double minimum, double maximum) {
  fixed_ = AxisRange{minimum, maximum};
  Show(false, minimum, maximum);
}

void ChartAxis::Show(bool automatic, double minimum, double maximum) {
  if (automatic_ == automatic && minimum_ == minimum && maximum_ == maximum) return;
  automatic_ = automatic;
  minimum_ = minimum;
  maximum_ = maximum;
  chart_.Changed();
}

AxisRange ChartAxis::Whole() const {
  if (!fixed_ || fixed_->Empty()) return dataRange_;
  if (dataRange_.Empty()) return *fixed_;
  return {std::min(dataRange_.Min, fixed_->Min), std::max(dataRange_.Max, fixed_->Max)};
}

void ChartAxis::ShowWhole() {
  if (!fixed_) {
    Show(true, minimum_, maximum_);
    return;
  }
  const AxisRange whole = Whole();
  Show(false, whole.Min, whole.Max);
}

AxisRange ChartAxis::Shown() const {
  return automatic_ ? Whole() : AxisRange{minimum_, maximum_};
}

void ChartAxis::ShowInside(double minimum, double width) {
  if (!std::isfinite(minimum) || !std::isfinite(width)) return;
  const AxisRange whole = Whole();
  // A zoom out and back in again lands a rounding error short of the whole width.
  constexpr double Rounding = 1e-9;
  if (width >= (whole.Max - whole.Min) * (1.0 - Rounding)) {
    ShowWhole();
    return;
  }
  minimum = std::clamp(minimum, whole.Min, whole.Max - width);
  Show(false, minimum, minimum + width);
}

void ChartAxis::ZoomTo(const AxisRange& range) {
  const AxisRange whole = Whole();
  if (whole.Empty()) return;
  const double minimum = std::max(range.Min, whole.Min);
  const double maximum = std::min(range.Max, whole.Max);
  if (!(maximum > minimum)) return;
  ShowInside(minimum, maximum - minimum);
}

void ChartAxis::Zoom(double factor, double about) {
  if (Whole().Empty() || !(factor > 0.0)) return;
  const AxisRange shown = Shown();
  ShowInside(about - (about - shown.Min) * factor, (shown.Max - shown.Min) * factor);
}

void ChartAxis::Pan(double delta) {
  if (automatic_ || Whole().Empty()) return;
  ShowInside(minimum_ + delta, maximum_ - minimum_);
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
  leftAxis_.ShowWhole();
  bottomAxis_.ShowWhole();
}

void Chart::ZoomTo(const ChartArea& area) {
  bottomAxis_.ZoomTo(area.X);
  leftAxis_.ZoomTo(area.Y);
}

void Chart::Zoom(double factor, const ChartPoint& about) {
  bottomAxis_.Zoom(factor, about.X);
  leftAxis_.Zoom(factor, about.Y);
}

void Chart::Pan(const ChartPoint& delta) {
  bottomAxis_.Pan(delta.X);
  leftAxis_.Pan(delta.Y);
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

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/color.h"
#include "platform/controls.h"
#include "platform/dyn_array.h"

class Chart;

// The values from Min to Max; empty when Min > Max.
struct AxisRange {
  double Min;
  double Max;
  bool Empty() const { return !(Min <= Max); }
};

// A point and an area in a chart's values: X along the bottom axis, Y along the left one.
struct ChartPoint {
  double X;
  double Y;
};
struct ChartArea {
  AxisRange X;
  AxisRange Y;
};

// An axis of a chart. It scales automatically to what the chart's shown series hold, or
// shows a range of its own. Its setters tell the chart's observers.
class ChartAxis {
 public:
  explicit ChartAxis(Chart& chart) : chart_(chart) {}

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  bool Automatic() const { return automatic_; }
  // Automatic scaling on, or off at Minimum .. Maximum: the program's own choice, which a
  // person's zoom and pan keep to.
  void SetAutomatic(bool automatic);
  // The range shown while the axis is not automatic.
  double Minimum() const { return minimum_; }
  double Maximum() const { return maximum_; }
  // Shows minimum .. maximum, which ends automatic scaling.
  void SetMinMax(double minimum, double maximum);

  // What the chart's shown series hold along the axis, as the views that draw them find it;
  // empty when they hold nothing. The observers are not told: nothing shown changes by it.
  void SetDataRange(const AxisRange& range) { dataRange_ = range; }
  // All a person can see: what the shown series hold and the range the program fixed.
  AxisRange Whole() const;

  // A person's zoom and pan: they never show values outside the whole, and one that would show
  // all of it shows the whole (ShowWhole). Without a whole the axis stays as it is.
  //
  // Shows `range`, cut to the whole.
  void ZoomTo(const AxisRange& range);
  // Zooms to `factor` times the shown width (below 1 zooms in), keeping `about` where it is
  // within what is shown.
  void Zoom(double factor, double about);
  // Moves what is shown by `delta` at the same width, as far as the whole allows; a view of
  // the whole has nothing to move.
  void Pan(double delta);
  // Automatic scaling again, or all of the whole on an axis the program fixed.
  void ShowWhole();

  bool AxisLineVisible = true;
  // The smallest step between two labels; 0 lets the axis choose any step.
  double Increment = 0.0;

 private:
  void Show(bool automatic, double minimum, double maximum);
  AxisRange Shown() const;
  // Shows `width` from `minimum` on, moved inside the whole, or the whole once it is as wide.
  void ShowInside(double minimum, double width);

  Chart& chart_;
  std::string title_;
  bool automatic_ = true;
  double minimum_ = 0.0;
  double maximum_ = 0.0;
  // The range the program set, while it keeps automatic scaling off.
  std::optional<AxisRange> fixed_;
  AxisRange dataRange_{1.0, 0.0};
};

// A series of a chart, addressed by its index in the chart's series list.
class ChartSeries : public Component {
 public:
  using Component::Component;

  Chart* ParentChart() const { return chart_; }
  bool Active() const { return active_; }
  void SetActive(bool active);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);
  Color SeriesColor() const { return color_; }
  void SetSeriesColor(Color color);

 private:
  friend class Chart;
  Chart* chart_ = nullptr;
  bool active_ = true;
  std::string title_;
  Color color_{};
};

// One coordinate of a line series: the array is held by reference, never copied, so the
// series shows whatever the array holds once it is repainted.
struct ChartValueList {
  std::size_t Count = 0;
  DynArray<double> Value;
  bool Modified = false;
};

class LineSeries : public ChartSeries {
 public:
  using ChartSeries::ChartSeries;

  ChartValueList XValues;
  ChartValueList YValues;
  // False: dense points may be reduced to each pixel column's extremes when drawn.
  bool DrawAllPoints = true;

  // Asks the views to draw the series again from its value lists.
  void Repaint() { NotifyChanged(); }
};

struct BarPoint {
  double X = 0.0;
  double Y = 0.0;
  std::string Label;
  Color PointColor{};
};

// Bar series take their points one by one.
class BarSeries : public ChartSeries {
 public:
  using ChartSeries::ChartSeries;

  const std::vector<BarPoint>& Points() const { return points_; }
  void Clear();
  void AddXY(double x, double y, const std::string& label, Color color);

  int BarWidthPercent = 70;
  bool MarksVisible = false;

 private:
  std::vector<BarPoint> points_;
};

struct PrintMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // per cent of the page
};

class Chart : public Control {
 public:
  explicit Chart(std::string name)
      : Control(std::move(name)), leftAxis_(*this), bottomAxis_(*this) {}

  // The chart title: lines of text.
  const std::vector<std::string>& TitleLines() const { return titleLines_; }
  void ClearTitle();
  void AddTitleLine(const std::string& line);

  ChartAxis& LeftAxis() { return leftAxis_; }
  const ChartAxis& LeftAxis() const { return leftAxis_; }
  ChartAxis& BottomAxis() { return bottomAxis_; }
  const ChartAxis& BottomAxis() const { return bottomAxis_; }
  // Back to the whole picture on both axes.
  void UndoZoom();
  // The axes' zoom and pan together, each axis within its own whole (see ChartAxis).
  void ZoomTo(const ChartArea& area);
  void Zoom(double factor, const ChartPoint& about);
  void Pan(const ChartPoint& delta);

  void AddSeries(ChartSeries* series);
  std::size_t SeriesCount() const { return series_.size(); }
  // Throws Exception for an index outside the series list.
  ChartSeries* GetSeries(int index) const;
  LineSeries* GetLineSeries(int index) const;
  BarSeries* GetBarSeries(int index) const;

  // Look settings of the form description.
  bool View3D = true;
  int Depth3DPercent = 15;
  int Perspective3D = 15;
  int MarginRight = 3;
  int MarginTop = 4;
  // Every chart zooms to a dragged rectangle and pans with the mouse; where this is set, the
  // wheel zooms about the pointer too. The wheel never pans.
  bool MouseWheelZooms = false;
  PrintMargins Margins;

  // Axis and series setters report through here.
  void Changed() const { NotifyChanged(); }

 private:
  std::vector<std::string> titleLines_;
  ChartAxis leftAxis_;
  ChartAxis bottomAxis_;
  std::vector<ChartSeries*> series_;
};

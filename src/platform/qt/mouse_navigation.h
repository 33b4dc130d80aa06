#pragma once

#include <QObject>
#include <QPoint>

#include "platform/chart.h"

class ChartView;
class QMouseEvent;
class QRubberBand;
class QWheelEvent;

// The mouse zooms and pans the chart's axes as the chart component lets a person do: a left
// drag down and to the right shows the rectangle it spans, a left drag up and to the left and a
// double-click show the whole again, a right drag moves the shown values with the pointer, and
// the wheel, where the chart allows it, zooms about the pointer. The model decides every range;
// this only turns the gestures into its calls.
class MouseNavigation : public QObject {
 public:
  MouseNavigation(ChartView& view, Chart& chart);
  ~MouseNavigation() override;

  // While frozen, every gesture is dropped, and one under way when the chart freezes ends.
  void SetFrozen(bool frozen);

  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  void Follow(QEvent& event);
  void Press(const QMouseEvent& event);
  void Move(const QPoint& to);
  void Release(const QMouseEvent& event);
  void Turn(const QWheelEvent& event);
  // The values at a canvas pixel, as the plot shows them now.
  ChartPoint ValueAt(const QPointF& pixel);

  ChartView& view_;
  Chart& chart_;
  QWidget& canvas_;
  QRubberBand* band_;
  bool frozen_ = false;
  Qt::MouseButton held_ = Qt::NoButton;
  QPoint from_;
  ChartPoint grabbed_{};
};

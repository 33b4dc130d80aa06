#pragma once

#include <qwt_scale_draw.h>
#include <qwt_scale_engine.h>
#include <string>

// An axis value as the chart writes it: digits grouped by thousands, at most three decimals
// with trailing zeros dropped, never an exponent ("51,840,000", "-0.125", "2.5").
std::string AxisLabelText(double value);

// Labels an axis with AxisLabelText.
class NumberScaleDraw : public QwtScaleDraw {
 public:
  QwtText label(double value) const override;
};

// A linear scale that, scaling automatically, ends where the data end instead of at the next
// round tick, and never steps by less than `increment` (0: any step).
class ChartScaleEngine : public QwtLinearScaleEngine {
 public:
  explicit ChartScaleEngine(double increment);

  void autoScale(int maxNumSteps, double& x1, double& x2, double& stepSize) const override;
  QwtScaleDiv divideScale(double x1, double x2, int maxMajorSteps, int maxMinorSteps,
                          double stepSize = 0.0) const override;

 private:
  double AtLeastIncrement(double stepSize) const;

  double increment_;
};

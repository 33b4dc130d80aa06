#include "platform/qt/axis_scale.h"

#include <qwt_scale_div.h>
#include <qwt_text.h>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/qt/qt_text.h"

std::string AxisLabelText(double value) {
  if (!std::isfinite(value)) return {};
  // Fixed notation never uses an exponent; the C library rounds to three decimals.
  const int length = std::snprintf(nullptr, 0, "%.3f", value);
  std::string fixed(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(fixed.data(), fixed.size(), "%.3f", value);
  fixed.resize(static_cast<std::size_t>(length));

  const bool negative = fixed.front() == '-';
  const std::size_t point = fixed.find('.');
  std::string decimals = fixed.substr(point + 1);
  while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
  const std::string digits = fixed.substr(negative ? 1 : 0, point - (negative ? 1 : 0));

  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  if (!decimals.empty()) text += '.' + decimals;
  // A value that rounds to zero is written without a sign.
  if (negative && text != "0") text.insert(text.begin(), '-');
  return text;
}

QwtText NumberScaleDraw::label(double value) const {
  return QwtText(ToQString(AxisLabelText(value)));
}

ChartScaleEngine::ChartScaleEngine(double increment) : increment_(increment) {
  setAttribute(QwtScaleEngine::Floating, true);
}

double ChartScaleEngine::AtLeastIncrement(double stepSize) const {
  if (std::abs(stepSize) >= increment_) return stepSize;
  return stepSize < 0.0 ? -increment_ : increment_;
}

void ChartScaleEngine::autoScale(int maxNumSteps, double& x1, double& x2, double& stepSize) const {
  QwtLinearScaleEngine::autoScale(maxNumSteps, x1, x2, stepSize);
  stepSize = AtLeastIncrement(stepSize);
}

QwtScaleDiv ChartScaleEngine::divideScale(double x1, double x2, int maxMajorSteps,
                                          int maxMinorSteps, double stepSize) const {
  if (increment_ > 0.0) {
    if (stepSize == 0.0) {
      stepSize =
          QwtScaleArithmetic::divideInterval(std::abs(x2 - x1), std::max(maxMajorSteps, 1), base());
    }
    stepSize = AtLeastIncrement(stepSize);
    // Minor ticks too mark whole increments only.
    maxMinorSteps = std::min(maxMinorSteps, static_cast<int>(std::abs(stepSize) / increment_));
  }
  return QwtLinearScaleEngine::divideScale(x1, x2, maxMajorSteps, maxMinorSteps, stepSize);
}

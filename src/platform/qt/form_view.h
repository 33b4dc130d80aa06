#pragma once

#include <QMainWindow>
#include <map>

#include "platform/form.h"
#include "platform/qt/subscriptions.h"

class Chart;
class ChartView;

// The window of a form: its menu bar and every control of the form as a widget, arranged as
// the controls are docked or placed, at the form's client size. The form must outlive it.
class FormView : public QMainWindow {
 public:
  explicit FormView(Form& form);
  ~FormView() override;

  Form& Model() const { return form_; }
  // The widget that shows a control (or a page's widget), or null.
  QWidget* WidgetOf(const Control& control) const;
  // The plot that shows a chart, or null.
  ChartView* ChartViewOf(const Chart& chart) const;

 private:
  QWidget* Build(Control& control);
  QWidget* CreateView(Control& control, QWidget* parent);

  Form& form_;
  std::map<const Control*, QWidget*> widgets_;
  // Last member: the subscriptions end before the widgets go.
  Subscriptions subscriptions_;
};

#pragma once

#include <QWidget>

#include "platform/controls.h"
#include "platform/qt/subscriptions.h"

// The widget of a leaf control (check box, button, radio group, label, static text, status
// bar) under `parent`, kept in step with the control: a model change is shown with the
// widget's signals blocked, and a person's click goes to the control's user-side entry point,
// after which the widget shows whatever the model decided. Null for other kinds of control.
QWidget* CreateLeafControlView(Control& control, QWidget* parent, Subscriptions& subscriptions);

// Shows a control's enabled and visible state on its widget.
void ShowControlState(const Control& control, QWidget& widget);

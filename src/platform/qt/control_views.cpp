#include "platform/qt/control_views.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/qt/align_container.h"
#include "platform/qt/qt_text.h"

void ShowControlState(const Control& control, QWidget& widget) {
  widget.setEnabled(control.Enabled());
  // Always set, so that a hidden control's widget stays hidden when its parent is shown.
  const bool wasHidden = widget.isHidden();
  widget.setHidden(!control.Visible());
  if (wasHidden != widget.isHidden()) {
    if (auto* container = dynamic_cast<AlignContainer*>(widget.parentWidget()))
      container->Arrange();
  }
}

namespace {

QWidget* CreateCheckBoxView(CheckBox& box, QWidget* parent, Subscriptions& subscriptions) {
  auto* widget = new QCheckBox(parent);
  const auto show = [&box, widget] {
    const QSignalBlocker blocker(widget);
    widget->setText(ToQString(box.Caption()));
    widget->setChecked(box.Checked());
    ShowControlState(box, *widget);
  };
  // A box turned without a click (a screen reader's toggle) goes to the model as a click does.
  QObject::connect(widget, &QCheckBox::toggled, widget, [&box, show](bool checked) {
    if (checked != box.Checked()) box.UserClick();
    show();
  });
  subscriptions.Follow(box, show);
  return widget;
}

QWidget* CreateButtonView(Button& button, QWidget* parent, Subscriptions& subscriptions) {
  auto* widget = new QPushButton(parent);
  QObject::connect(widget, &QPushButton::clicked, widget, [&button] { button.UserClick(); });
  subscriptions.Follow(button, [&button, widget] {
    const QSignalBlocker blocker(widget);
    widget->setText(ToQString(button.Caption()));
    ShowControlState(button, *widget);
  });
  return widget;
}

QWidget* CreateRadioGroupView(RadioGroup& group, QWidget* parent, Subscriptions& subscriptions) {
  auto* widget = new QGroupBox(parent);
  auto* layout = new QVBoxLayout(widget);
  layout->setContentsMargins(8, 4, 4, 4);
  layout->setSpacing(0);
  auto* buttons = new QButtonGroup(widget);
  for (std::size_t i = 0; i < group.Items.size(); ++i) {
    auto* button = new QRadioButton(ToQString(group.Items[i]), widget);
    layout->addWidget(button);
    buttons->addButton(button, static_cast<int>(i));
  }
  const auto show = [&group, widget, buttons] {
    const QSignalBlocker blocker(buttons);
    widget->setTitle(ToQString(group.Caption()));
    // No item selected (-1) needs the group non-exclusive while the boxes are cleared.
    buttons->setExclusive(false);
    for (QAbstractButton* button : buttons->buttons()) {
      const QSignalBlocker buttonBlocker(button);
      button->setChecked(buttons->id(button) == group.ItemIndex());
    }
    buttons->setExclusive(true);
    ShowControlState(group, *widget);
  };
  // An item turned on without a click goes to the model as a click does; the item that goes
  // off with it follows the model.
  QObject::connect(buttons, &QButtonGroup::idToggled, widget, [&group, show](int index, bool on) {
    if (!on) return;
    group.UserChoose(index);
    show();
  });
  subscriptions.Follow(group, show);
  return widget;
}

template <typename T>
QWidget* CreateTextView(T& control, QWidget* parent, Subscriptions& subscriptions) {
  auto* widget = new QLabel(parent);
  subscriptions.Follow(control, [&control, widget] {
    widget->setText(ToQString(control.Caption()));
    ShowControlState(control, *widget);
  });
  return widget;
}

}  // namespace

QWidget* CreateLeafControlView(Control& control, QWidget* parent, Subscriptions& subscriptions) {
  if (auto* box = dynamic_cast<CheckBox*>(&control)) {
    return CreateCheckBoxView(*box, parent, subscriptions);
  }
  if (auto* button = dynamic_cast<Button*>(&control)) {
    return CreateButtonView(*button, parent, subscriptions);
  }
  if (auto* group = dynamic_cast<RadioGroup*>(&control)) {
    return CreateRadioGroupView(*group, parent, subscriptions);
  }
  if (auto* label = dynamic_cast<Label*>(&control)) {
    return CreateTextView(*label, parent, subscriptions);
  }
  if (auto* text = dynamic_cast<StaticText*>(&control)) {
    return CreateTextView(*text, parent, subscriptions);
  }
  if (auto* bar = dynamic_cast<StatusBar*>(&control)) {
    auto* widget = new QWidget(parent);
    subscriptions.Follow(*bar, [bar, widget] { ShowControlState(*bar, *widget); });
    return widget;
  }
  return nullptr;
}

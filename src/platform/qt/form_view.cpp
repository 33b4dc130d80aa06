#include "platform/qt/form_view.h"

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>

#include "platform/chart.h"
#include "platform/menu.h"
#include "platform/qt/align_container.h"
#include "platform/qt/chart_view.h"
#include "platform/qt/control_views.h"
#include "platform/qt/menu_view.h"
#include "platform/qt/qt_text.h"

namespace {

// The framework's form font: Tahoma, 11 pixels high.
QFont FormFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(11);
  return font;
}

// A page control's tabs follow its pages' captions, enabled and visible state and its active
// page; a person's choice of a tab goes to UserSelect, and the tab shown is the model's. The
// pages' widgets go into `pageWidgets`.
QTabWidget* CreatePageControlView(PageControl& pages, QWidget* parent,
                                  std::map<const Control*, QWidget*>& pageWidgets,
                                  Subscriptions& subscriptions) {
  auto* widget = new QTabWidget(parent);
  for (TabSheet* page : pages.Pages) {
    auto* pageWidget = new AlignContainer(widget);
    const QSignalBlocker blocker(widget);
    widget->addTab(pageWidget, ToQString(page->Caption()));
    pageWidgets[page] = pageWidget;
  }
  const auto show = [&pages, widget] {
    const QSignalBlocker blocker(widget);
    for (int i = 0; i < widget->count() && i < static_cast<int>(pages.Pages.size()); ++i) {
      const TabSheet& page = *pages.Pages[i];
      widget->setTabText(i, ToQString(page.Caption()));
      widget->setTabEnabled(i, page.Enabled());
      widget->setTabVisible(i, page.Visible());
      if (pages.ActivePage() == &page) widget->setCurrentIndex(i);
    }
    ShowControlState(pages, *widget);
  };
  QObject::connect(widget, &QTabWidget::currentChanged, widget, [&pages, show](int index) {
    if (index >= 0 && index < static_cast<int>(pages.Pages.size())) {
      pages.UserSelect(pages.Pages[index]);
    }
    show();
  });
  subscriptions.Follow(pages, show);
  for (TabSheet* page : pages.Pages) subscriptions.Follow(*page, show);
  return widget;
}

}  // namespace

FormView::FormView(Form& form) : form_(form) {
  setFont(FormFont());
  auto* client = new AlignContainer(this);
  setCentralWidget(client);
  widgets_[&form] = client;
  subscriptions_.Follow(form, [this, &form] { setWindowTitle(ToQString(form.Caption())); });
  if (form.Menu != nullptr) BuildMenuBar(*form.Menu, *menuBar(), subscriptions_);

  for (int i = 0; i < form.ComponentCount(); ++i) {
    if (auto* control = dynamic_cast<Control*>(form.Components(i))) Build(*control);
  }

  resize(form.ClientWidth, form.ClientHeight + menuBar()->sizeHint().height());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

FormView::~FormView() = default;

QWidget* FormView::WidgetOf(const Control& control) const {
  const auto found = widgets_.find(&control);
  return found == widgets_.end() ? nullptr : found->second;
}

ChartView* FormView::ChartViewOf(const Chart& chart) const {
  return dynamic_cast<ChartView*>(WidgetOf(chart));
}

QWidget* FormView::Build(Control& control) {
  if (QWidget* existing = WidgetOf(control)) return existing;
  Control* parentControl = control.Parent() != nullptr ? control.Parent() : &form_;
  QWidget* parent = Build(*parentControl);
  // Building the parent may have made this one too (the pages of a page control).
  if (QWidget* made = WidgetOf(control)) return made;
  QWidget* widget = CreateView(control, parent);
  widgets_[&control] = widget;
  if (auto* container = dynamic_cast<AlignContainer*>(parent)) container->AddChild(widget, control);
  return widget;
}

QWidget* FormView::CreateView(Control& control, QWidget* parent) {
  if (auto* pages = dynamic_cast<PageControl*>(&control)) {
    return CreatePageControlView(*pages, parent, widgets_, subscriptions_);
  }
  if (auto* chart = dynamic_cast<Chart*>(&control)) {
    auto* view = new ChartView(*chart, parent);
    subscriptions_.Follow(*chart, [chart, view] { ShowControlState(*chart, *view); });
    return view;
  }
  if (auto* panel = dynamic_cast<Panel*>(&control)) {
    auto* widget = new AlignContainer(parent);
    widget->setFrameStyle(panel->Bevel ? (QFrame::Panel | QFrame::Raised) : QFrame::NoFrame);
    subscriptions_.Follow(*panel, [panel, widget] { ShowControlState(*panel, *widget); });
    return widget;
  }
  if (QWidget* leaf = CreateLeafControlView(control, parent, subscriptions_)) return leaf;
  // A control of a kind without a widget of its own still takes its place.
  auto* widget = new QWidget(parent);
  subscriptions_.Follow(control, [&control, widget] { ShowControlState(control, *widget); });
  return widget;
}

#include "platform/qt/menu_view.h"

#include <QAction>
#include <QMenu>

#include "platform/qt/qt_text.h"

namespace {

void AddItems(MenuItem& parent, QMenu& menu, Subscriptions& subscriptions);

void FollowItem(MenuItem& item, QAction& action, Subscriptions& subscriptions) {
  subscriptions.Follow(item, [&item, &action] {
    action.setText(ToQString(item.Caption()));
    action.setEnabled(item.Enabled());
  });
}

void AddItem(MenuItem& item, QWidget& owner, Subscriptions& subscriptions) {
  if (item.IsSeparator()) {
    auto* separator = new QAction(&owner);
    separator->setSeparator(true);
    owner.addAction(separator);
    return;
  }
  if (!item.Items().empty()) {
    auto* submenu = new QMenu(&owner);
    AddItems(item, *submenu, subscriptions);
    owner.addAction(submenu->menuAction());
    FollowItem(item, *submenu->menuAction(), subscriptions);
    return;
  }
  auto* action = new QAction(&owner);
  QObject::connect(action, &QAction::triggered, action, [&item] { item.UserClick(); });
  owner.addAction(action);
  FollowItem(item, *action, subscriptions);
}

void AddItems(MenuItem& parent, QMenu& menu, Subscriptions& subscriptions) {
  for (MenuItem* item : parent.Items()) AddItem(*item, menu, subscriptions);
}

}  // namespace

void BuildMenuBar(MainMenu& menu, QMenuBar& bar, Subscriptions& subscriptions) {
  for (MenuItem* item : menu.Items) AddItem(*item, bar, subscriptions);
}

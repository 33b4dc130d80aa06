#include "platform/menu.h"

void MenuItem::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  NotifyChanged();
}

void MenuItem::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  NotifyChanged();
}

void MenuItem::Add(MenuItem* item) {
  item->parent_ = this;
  items_.push_back(item);
}

bool MenuItem::UsableByUser() const {
  if (IsSeparator()) return false;
  for (const MenuItem* m = this; m != nullptr; m = m->Parent()) {
    if (!m->Enabled()) return false;
  }
  return true;
}

void MenuItem::UserClick() {
  if (!UsableByUser() || !OnClick) return;
  DispatchUserAction([this] { OnClick(this); });
}

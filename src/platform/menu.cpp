#include "platform/menu.h"

void MenuItem::SetCaption(const std::string& caption) {
  Assign(caption_, caption);
}

void MenuItem::SetEnabled(bool enabled) {
  Assign(enabled_, enabled);
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

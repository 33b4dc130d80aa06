#include "platform/controls.h"

bool Control::Showing() const {
  for (const Control* c = this; c != nullptr; c = c->Parent()) {
    if (!c->Visible()) return false;
    const auto* sheet = dynamic_cast<const TabSheet*>(c);
    if (sheet != nullptr && sheet->PageControlOwner() != nullptr &&
        sheet->PageControlOwner()->ActivePage() != sheet) {
      return false;
    }
  }
  return true;
}

bool Control::UsableByUser() const {
  if (!Showing()) return false;
  for (const Control* c = this; c != nullptr; c = c->Parent()) {
    if (!c->Enabled()) return false;
  }
  return true;
}

void CheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  NotifyChanged();
  if (OnClick) OnClick(this);
}

void CheckBox::UserClick() {
  if (!UsableByUser()) return;
  DispatchUserAction([this] { SetChecked(!checked_); });
}

void Button::UserClick() {
  if (!UsableByUser() || !OnClick) return;
  DispatchUserAction([this] { OnClick(this); });
}

void RadioGroup::UserChoose(int index) {
  if (!UsableByUser()) return;
  if (index < 0 || index >= static_cast<int>(Items.size()) || index == itemIndex_) return;
  DispatchUserAction([this, index] {
    previousItemIndex_ = itemIndex_;
    SetItemIndex(index);
    if (OnClick) OnClick(this);
  });
}

PageControl* TabSheet::PageControlOwner() const {
  return dynamic_cast<PageControl*>(Parent());
}

void PageControl::UserSelect(TabSheet* page) {
  if (!UsableByUser() || page == nullptr || page == activePage_ || !page->Enabled()) return;
  DispatchUserAction([this, page] {
    SetActivePage(page);
    if (OnChange) OnChange(this);
  });
}

#pragma once

#include <string>
#include <vector>

#include "platform/component.h"

enum class Align { None, Top, Bottom, Left, Right, Client };

// A visible control. Its setters tell observers when a property really changes.
class Control : public Component {
 public:
  using Component::Component;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { Assign(enabled_, enabled); }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { Assign(visible_, visible); }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) { Assign(caption_, caption); }

  Control* Parent() const { return parent_; }
  void SetParent(Control* parent) { parent_ = parent; }

  int Left = 0, Top = 0, Width = 0, Height = 0;
  Align Alignment = Align::None;

  // Whether a person can reach the control: it and every parent enabled and showing.
  bool UsableByUser() const;
  // Whether it is on screen: it and every parent visible, on the active page if on a page.
  bool Showing() const;

 private:
  bool enabled_ = true;
  bool visible_ = true;
  std::string caption_;
  Control* parent_ = nullptr;
};

class Panel : public Control {
 public:
  using Control::Control;
  bool Bevel = true;
};

class Label : public Control {
 public:
  using Control::Control;
};

class StaticText : public Control {
 public:
  using Control::Control;
};

class StatusBar : public Control {
 public:
  using Control::Control;
};

// Setting Checked from code raises OnClick whenever the state changes, enabled, visible
// or not: the load relies on it to run the boxes' handlers when it unticks them.
class CheckBox : public Control {
 public:
  using Control::Control;

  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  NotifyEvent OnClick;

  // A person's click: toggles the box, unless it cannot be reached.
  void UserClick();

 private:
  bool checked_ = false;
};

class Button : public Control {
 public:
  using Control::Control;
  NotifyEvent OnClick;
  void UserClick();
};

// ItemIndex set from code raises nothing; a person's choice raises OnClick only when an
// item becomes the selected one, with ItemIndex already holding it.
class RadioGroup : public Control {
 public:
  using Control::Control;

  std::vector<std::string> Items;
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index) { Assign(itemIndex_, index); }
  // The item that was selected before a person's latest choice, so that an OnClick that
  // refuses the choice can put the group back.
  int PreviousItemIndex() const { return previousItemIndex_; }
  NotifyEvent OnClick;

  void UserChoose(int index);

 private:
  int itemIndex_ = -1;
  int previousItemIndex_ = -1;
};

class PageControl;

class TabSheet : public Control {
 public:
  using Control::Control;
  PageControl* PageControlOwner() const;
};

// ActivePage set from code raises nothing; only a person's choice of a page raises OnChange.
class PageControl : public Control {
 public:
  using Control::Control;

  std::vector<TabSheet*> Pages;
  TabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TabSheet* page) { Assign(activePage_, page); }
  NotifyEvent OnChange;

  void UserSelect(TabSheet* page);

 private:
  TabSheet* activePage_ = nullptr;
};

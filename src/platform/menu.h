#pragma once

#include <string>
#include <vector>

#include "platform/component.h"

// A menu item; a disabled item makes every item below it unusable to a person.
class MenuItem : public Component {
 public:
  using Component::Component;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool IsSeparator() const { return caption_ == "-"; }

  MenuItem* Parent() const { return parent_; }
  const std::vector<MenuItem*>& Items() const { return items_; }
  void Add(MenuItem* item);

  NotifyEvent OnClick;

  bool UsableByUser() const;
  void UserClick();

 private:
  std::string caption_;
  bool enabled_ = true;
  MenuItem* parent_ = nullptr;
  std::vector<MenuItem*> items_;
};

class MainMenu : public Component {
 public:
  using Component::Component;
  std::vector<MenuItem*> Items;
};

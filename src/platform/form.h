#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls.h"

class MainMenu;

// A window built from its form description: it owns its components, in the order of the
// description, and numbers them by that order.
class Form : public Control {
 public:
  explicit Form(std::string name) : Control(std::move(name)) {}

  template <typename T, typename... Args>
  T* Create(Args&&... args) {
    auto component = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = component.get();
    raw->componentIndex_ = static_cast<int>(components_.size());
    raw->owner_ = this;
    components_.push_back(std::move(component));
    return raw;
  }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  Component* Components(int index) const { return components_.at(index).get(); }

  int ClientWidth = 0;
  int ClientHeight = 0;
  MainMenu* Menu = nullptr;
  NotifyEvent OnCreate;

  // Raises OnCreate once the constructor has finished; what it throws is shown by the
  // application object and construction completes.
  void AfterConstruction();

 private:
  std::vector<std::unique_ptr<Component>> components_;
};

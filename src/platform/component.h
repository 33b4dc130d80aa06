#pragma once

#include <functional>
#include <string>

#include "platform/change_notifier.h"

class Component;
class Form;

// An event handler of the form: it is told which component raised the event.
using NotifyEvent = std::function<void(Component* sender)>;

// Anything the form description creates. Its ComponentIndex is its position in the form's
// component list, which some handlers use to tell components apart.
class Component : public ChangeNotifier {
 public:
  explicit Component(std::string name) : name_(std::move(name)) {}
  virtual ~Component() = default;

  const std::string& Name() const { return name_; }
  int ComponentIndex() const { return componentIndex_; }
  Form* Owner() const { return owner_; }

 private:
  friend class Form;
  std::string name_;
  int componentIndex_ = -1;
  Form* owner_ = nullptr;
};

// Runs a user action the way the message loop does: what the handler throws is shown by
// the application object, and the program goes on.
void DispatchUserAction(const std::function<void()>& action);

#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/change_notifier.h"

// A view's subscriptions to the model, ended when the view goes. The model must outlive it.
class Subscriptions {
 public:
  Subscriptions() = default;
  Subscriptions(const Subscriptions&) = delete;
  Subscriptions& operator=(const Subscriptions&) = delete;
  ~Subscriptions() {
    for (auto& [notifier, id] : entries_) notifier->Unsubscribe(id);
  }

  // Calls `observer` now and whenever `notifier` changes.
  void Follow(ChangeNotifier& notifier, const std::function<void()>& observer) {
    entries_.emplace_back(&notifier, notifier.Subscribe(observer));
    observer();
  }

 private:
  std::vector<std::pair<ChangeNotifier*, int>> entries_;
};

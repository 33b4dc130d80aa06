#pragma once

#include <functional>
#include <utility>
#include <vector>

// Tells observers (the front-end) that an object's state changed. The model holds no
// copies for its views and never polls: a view re-reads what it shows when told.
class ChangeNotifier {
 public:
  using Observer = std::function<void()>;

  ChangeNotifier() = default;
  ChangeNotifier(const ChangeNotifier&) = delete;
  ChangeNotifier& operator=(const ChangeNotifier&) = delete;

  int Subscribe(Observer observer) {
    observers_.emplace_back(++lastId_, std::move(observer));
    return lastId_;
  }
  void Unsubscribe(int id) {
    for (auto it = observers_.begin(); it != observers_.end(); ++it) {
      if (it->first == id) {
        observers_.erase(it);
        return;
      }
    }
  }

 protected:
  void NotifyChanged() const {
    for (const auto& entry : observers_) entry.second();
  }

  // Sets a property and tells the observers, when the value really changes.
  template <typename T>
  void Assign(T& field, const T& value) {
    if (field == value) return;
    field = value;
    NotifyChanged();
  }

 private:
  std::vector<std::pair<int, Observer>> observers_;
  int lastId_ = 0;
};

#pragma once

#include <stdexcept>
#include <string>

// The framework's own exception family: what the application object shows by its message.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

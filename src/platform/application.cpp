#include "platform/application.h"

#include <new>
#include <stdexcept>

#include "platform/component.h"

namespace {
Application* current = nullptr;

// The innermost non-empty message of a chain of nested exceptions.
std::string InnermostMessage(const std::exception& error) {
  std::string message = error.what();
  try {
    std::rethrow_if_nested(error);
  } catch (const std::exception& inner) {
    std::string nested = InnermostMessage(inner);
    if (!nested.empty()) message = nested;
  } catch (...) {
  }
  return message;
}
}  // namespace

Application::Application(Desktop& desktop, std::string title)
    : Title(std::move(title)), desktop_(desktop) {
  current = this;
}

Application::~Application() {
  // The forms go in the reverse order of their creation, the main form last.
  while (!forms_.empty()) forms_.pop_back();
  if (current == this) current = nullptr;
}

Application* Application::Current() {
  return current;
}

void Application::Adopt(Form* form) {
  forms_.emplace_back(form);
  if (mainForm_ == nullptr) mainForm_ = form;
}

void Application::Run() {
  if (mainForm_ == nullptr || terminated_) return;
  desktop_.RunMessageLoop(*mainForm_);
}

void Application::Terminate() {
  terminated_ = true;
  desktop_.EndMessageLoop();
}

void Application::Dispatch(const std::function<void()>& action) {
  // The busy time ends after the message of a failure, also when showing it fails.
  struct BusyTime {
    Desktop& desktop;
    int& depth;
    BusyTime(Desktop& d, int& n) : desktop(d), depth(n) {
      if (depth++ == 0) desktop.ShowBusy(true);
    }
    ~BusyTime() {
      if (--depth == 0) desktop.ShowBusy(false);
    }
  } busy(desktop_, actionDepth_);
  try {
    action();
  } catch (...) {
    HandleException(std::current_exception());
  }
}

void Application::HandleException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    ShowException(e);
  } catch (const std::bad_alloc&) {
    ShowException(Exception("Out of memory"));
  } catch (const std::exception& e) {
    ShowException(Exception(e.what()));
  } catch (...) {
    ShowException(Exception(""));
  }
}

void Application::ShowException(const Exception& error) {
  desktop_.ShowError(ExceptionMessageText(InnermostMessage(error)), Title);
}

WorkProgress ActionProgress() {
  if (current == nullptr) return {};
  Desktop& desktop = current->TheDesktop();
  return [&desktop](double fractionDone) { desktop.ShowProgress(fractionDone); };
}

Desktop& CurrentDesktop() {
  if (current == nullptr) throw Exception("The program has no desktop to run on");
  return current->TheDesktop();
}

std::string ExceptionMessageText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void DispatchUserAction(const std::function<void()>& action) {
  if (current != nullptr) {
    current->Dispatch(action);
  } else {
    action();
  }
}

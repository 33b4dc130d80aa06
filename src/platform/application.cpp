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
  // The loop turns inside an action (long work answers the desktop, a box waits for the
  // person), and a menu item can be triggered or a box clicked without any input event, by a
  // global menu bar or a screen reader. Such an action would run in the middle of the one that
  // is writing the arrays it reads, so it is dropped as its input is. What the running action
  // raises from code (the handlers of the boxes a load unticks) does not come this way.
  if (actionRunning_) return;
  // The busy time ends after the message of a failure, also when showing it fails. The action
  // runs until the desktop is idle again: the desktop's last turn of the loop drops what came
  // in meanwhile.
  struct BusyTime {
    Desktop& desktop;
    bool& running;
    BusyTime(Desktop& d, bool& r) : desktop(d), running(r) {
      running = true;
      desktop.ShowBusy(true);
    }
    ~BusyTime() {
      desktop.ShowBusy(false);
      running = false;
    }
  } busy(desktop_, actionRunning_);
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

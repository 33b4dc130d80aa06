#pragma once

#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/exception.h"
#include "platform/form.h"
#include "platform/work_progress.h"

// The application object: creates the forms, runs the message loop on the desktop and
// shows what a handler throws.
class Application {
 public:
  Application(Desktop& desktop, std::string title);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The one application object of the process, or null when none exists.
  static Application* Current();

  void Initialize() {}
  bool MainFormOnTaskBar = false;
  std::string Title;

  // Allocates a zero-filled instance, stores it in `variable` and only then constructs it,
  // so the form can reach itself through `variable` while it is being built. If the
  // constructor throws, `variable` is null again and the exception goes on.
  template <typename T>
  void CreateForm(T*& variable);

  Form* MainForm() const { return mainForm_; }
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Runs one user action, with the desktop busy until it ends; what it throws is shown and
  // the program goes on. One action runs at a time: a user action that arrives while another
  // runs is dropped, whatever path it came by, and runs neither then nor afterwards.
  void Dispatch(const std::function<void()>& action);
  void HandleException(std::exception_ptr error);
  void ShowException(const Exception& error);

  Desktop& TheDesktop() const { return desktop_; }

 private:
  void Adopt(Form* form);

  Desktop& desktop_;
  std::vector<std::unique_ptr<Form>> forms_;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
  bool actionRunning_ = false;
};

// The desktop of the current application object; throws when there is none.
Desktop& CurrentDesktop();

// The progress of the action the person started, reported to the desktop; empty when no
// application object runs (the pure passes then run without reports).
WorkProgress ActionProgress();

// The text the message box shows for an exception's message: a "." is added when the last
// character sorts above ".", so "Range check error" reads "Range check error.".
std::string ExceptionMessageText(const std::string& message);

template <typename T>
void Application::CreateForm(T*& variable) {
  void* memory = ::operator new(sizeof(T));
  std::memset(memory, 0, sizeof(T));
  variable = static_cast<T*>(memory);
  T* form = nullptr;
  try {
    form = new (memory) T();
  } catch (...) {
    variable = nullptr;
    ::operator delete(memory);
    throw;
  }
  variable = form;
  Adopt(form);
  form->AfterConstruction();
}

#include "app/program_start.h"

#include <csignal>

#include "app/main_window.h"
#include "platform/application.h"

int RunProgram(Application& application) {
  try {
    application.Initialize();
    application.MainFormOnTaskBar = true;
    application.CreateForm(Form1);
    application.Run();
  } catch (const Exception& error) {
    application.ShowException(error);
  } catch (...) {
    // Nothing of a foreign exception is shown: the box carries an empty message.
    try {
      throw Exception("");
    } catch (const Exception& empty) {
      application.ShowException(empty);
    }
  }
  return 0;
}

void LetWritesFailPastTheFileSizeLimit() {
  std::signal(SIGXFSZ, SIG_IGN);
}

#include <QApplication>
#include <clocale>

#include "app/program_start.h"
#include "platform/application.h"
#include "platform/pass_threads.h"
#include "platform/qt/qt_desktop.h"

int main(int argc, char** argv) {
  PreparePassThreads(argv);
  try {
    LetWritesFailPastTheFileSizeLimit();
    FollowDesktopScale();
    QApplication qtApplication(argc, argv);
    // Qt takes the process locale from the environment; numbers in files keep the C form.
    std::setlocale(LC_NUMERIC, "C");
    QtDesktop desktop;
    // The title the framework gives an application that sets none: the program's file name.
    Application application(desktop, QCoreApplication::applicationName().toStdString());
    return RunProgram(application);
  } catch (...) {
    return 0;
  }
}

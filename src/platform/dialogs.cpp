#include "platform/dialogs.h"

#include "platform/application.h"

bool FileDialog::Execute() {
  return CurrentDesktop().ExecuteFileDialog(*this);
}

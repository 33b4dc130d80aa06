#pragma once

#include <string>

#include "platform/component.h"

enum class FileDialogKind { Open, Save };

// A file dialog. The program writes Filter, FilterIndex and InitialDir and reads FileName;
// the dialog offers the name it last held, and starts in InitialDir while it holds none.
// Filter is "description|pattern|description|pattern...".
class FileDialog : public Component {
 public:
  FileDialog(std::string name, FileDialogKind kind) : Component(std::move(name)), kind_(kind) {}

  FileDialogKind Kind() const { return kind_; }
  std::string Filter;
  int FilterIndex = 1;
  std::string FileName;
  std::string InitialDir;

  // Shows the dialog modally; true when a name was confirmed (then in FileName).
  bool Execute();

 private:
  FileDialogKind kind_;
};

class OpenDialog : public FileDialog {
 public:
  explicit OpenDialog(std::string name) : FileDialog(std::move(name), FileDialogKind::Open) {}
};

class SaveDialog : public FileDialog {
 public:
  explicit SaveDialog(std::string name) : FileDialog(std::move(name), FileDialogKind::Save) {}
};

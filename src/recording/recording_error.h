#pragma once

#include <string>

#include "platform/exception.h"

// A recording or its settings file that the program cannot use, told in plain words: the
// message names the file and the reason, e.g. "/trips/R0412.DAT" cannot be opened: No such
// file or directory.
class RecordingError : public Exception {
 public:
  RecordingError(const std::string& fileName, const std::string& reason)
      : Exception("\"" + fileName + "\" " + reason), FileName(fileName), Reason(reason) {}

  std::string FileName;
  std::string Reason;
};

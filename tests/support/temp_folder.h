#pragma once

#include <optional>
#include <string>

class RecordingBuilder;

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes the recording as `name` into the folder and, when `sensitivityText` holds one, that
// text as "S2.txt" beside it; returns the recording's full name.
std::string WriteRecordingFolder(const TempFolder& folder, const RecordingBuilder& recording,
                                 const std::optional<std::string>& sensitivityText,
                                 const std::string& name = "R0412.DAT");

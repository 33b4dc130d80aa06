#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "support/recording_builder.h"

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tavro-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("cannot make " + pattern);
  path_ = buffer.data();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string WriteRecordingFolder(const TempFolder& folder, const RecordingBuilder& recording,
                                 const std::optional<std::string>& sensitivityText,
                                 const std::string& name) {
  const std::string path = folder.File(name);
  recording.WriteTo(path);
  if (sensitivityText) WriteTextToFile(folder.File("S2.txt"), *sensitivityText);
  return path;
}

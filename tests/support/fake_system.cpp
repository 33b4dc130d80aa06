#include "support/fake_system.h"

#include <filesystem>
#include <fstream>

void WriteFakeSystem(const TempFolder& root, const FakeFiles& files) {
  for (const auto& [path, text] : files) {
    const std::filesystem::path file = root.Path() + path;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }
}

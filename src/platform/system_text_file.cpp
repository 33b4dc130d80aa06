#include "platform/system_text_file.h"

#include <fstream>
#include <iterator>

std::optional<std::string> ReadSystemTextFile(const std::string& root, const std::string& path) {
  std::string fullPath = root;
  while (!fullPath.empty() && fullPath.back() == '/') fullPath.pop_back();
  fullPath += path;
  std::ifstream file(fullPath);
  if (!file) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return std::nullopt;
  return text;
}

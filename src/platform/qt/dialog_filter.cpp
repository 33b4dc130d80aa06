#include "platform/qt/dialog_filter.h"

#include <algorithm>
#include <cctype>

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  while (true) {
    const std::string::size_type end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

std::string Transformed(std::string text, int (*convert)(int)) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [convert](unsigned char c) { return static_cast<char>(convert(c)); });
  return text;
}

}  // namespace

std::vector<std::string> QtNameFilters(const std::string& filter) {
  std::vector<std::string> filters;
  const std::vector<std::string> parts = Split(filter, '|');
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::vector<std::string> patterns;
    for (const std::string& pattern : Split(parts[i + 1], ';')) {
      if (pattern.empty()) continue;
      for (const std::string& spelling :
           {pattern, Transformed(pattern, ::tolower), Transformed(pattern, ::toupper)}) {
        if (std::find(patterns.begin(), patterns.end(), spelling) == patterns.end()) {
          patterns.push_back(spelling);
        }
      }
    }
    if (patterns.empty()) continue;
    std::string joined;
    for (const std::string& pattern : patterns) joined += (joined.empty() ? "" : " ") + pattern;
    filters.push_back(parts[i] + " (" + joined + ")");
  }
  return filters;
}

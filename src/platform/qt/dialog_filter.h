#pragma once

#include <string>
#include <vector>

// The name filters of a file dialog from the model's "description|pattern|..." filter. Each
// pattern ("*.DAT", or several joined by ";") also matches its lower- and upper-case spelling,
// because the file system tells case apart: "*.DAT|*.DAT" gives "*.DAT (*.DAT *.dat)".
std::vector<std::string> QtNameFilters(const std::string& filter);

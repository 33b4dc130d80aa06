#pragma once

#include <optional>
#include <string>

// The whole text of a small file the kernel makes (under /proc or a cgroup mount), whose size
// the file system does not tell beforehand: `path` (absolute) below the folder `root`, which
// stands for "/" (tests give a folder of fake files). None when it cannot be opened or read.
std::optional<std::string> ReadSystemTextFile(const std::string& root, const std::string& path);

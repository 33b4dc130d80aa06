#include "recording/sensitivity_file.h"

#include <algorithm>
#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include "recording/file_descriptor.h"
#include "recording/recording_format.h"

namespace {

constexpr std::size_t SerialTextStart = 50;
constexpr std::size_t SerialTextLength = 12;
constexpr char CarriageReturn = '\r';
constexpr char EndOfText = '\x1A';

}  // namespace

std::string RecordingFolder(const std::string& recordingName) {
  const std::size_t slash = recordingName.rfind('/');
  return slash == std::string::npos ? std::string() : recordingName.substr(0, slash + 1);
}

std::string SensitivityFilePath(const std::string& recordingName) {
  return RecordingFolder(recordingName) + "S2.txt";
}

std::string DefaultSensitivityText(bool tenChannels) {
  const std::string sixChannels = "6600,6600,6600\n6600,6600,6600\n";
  return tenChannels ? sixChannels + "6600,6600,6600,6600\nSer. no 9999" : sixChannels;
}

bool CopyTextModeCharacters(const std::uint8_t* bytes, std::size_t size, std::string& text,
                            std::size_t& position) {
  for (std::size_t i = 0; i < size && position < text.size(); ++i) {
    const char c = static_cast<char>(bytes[i]);
    if (c == EndOfText) {
      position = text.size();
      break;
    }
    if (c != CarriageReturn) text[position++] = c;
  }
  return position < text.size();
}

SensitivityReading ReadSensitivityText(const std::string& path, bool tenChannels) {
  const std::string defaults = DefaultSensitivityText(tenChannels);
  SensitivityReading reading{defaults, true};
  FileDescriptor file(path);
  struct stat status {};
  if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0 || S_ISDIR(status.st_mode)) {
    return reading;
  }
  // Each byte gives at most one character, so asking for what is still missing never reads
  // more of the file than the text needs, however long the file is.
  std::uint8_t chunk[TenChannelSensitivityTextLength];
  std::size_t position = 0;
  bool wantMore = true;
  while (wantMore) {
    const ssize_t got = ::read(file.Get(), chunk, reading.Text.size() - position);
    if (got < 0 && errno == EINTR) continue;
    // A file that fails part-way counts as one that did not open: all defaults, no mixture.
    if (got < 0) return SensitivityReading{defaults, true};
    if (got == 0) break;
    wantMore = CopyTextModeCharacters(chunk, static_cast<std::size_t>(got), reading.Text, position);
  }
  reading.FileMissing = false;
  return reading;
}

void ParseSensitivityText(const std::string& text, bool tenChannels,
                          std::array<std::uint32_t, SlotCount>& codes, std::string& serialText) {
  std::string full = DefaultSensitivityText(tenChannels);
  full.replace(0, std::min(text.size(), full.size()), text, 0, full.size());
  for (int slot = 0; slot < ChannelCount(tenChannels); ++slot) {
    std::uint32_t code = 0;
    for (int digit = 0; digit < 4; ++digit) {
      const std::uint32_t value = static_cast<std::uint8_t>(full[5 * slot + digit]);
      code = code * 10u + (value - 48u);
    }
    codes[slot] = code;
  }
  if (tenChannels) {
    const std::string serial = full.substr(SerialTextStart, SerialTextLength);
    serialText = serial.substr(0, serial.find('\0'));
  }
}

float SensitivityFromCode(std::uint32_t code) {
  return static_cast<float>(code / 10.0);
}

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "recording/recording_state.h"

// "S2.txt" lies beside the recordings and gives every channel a four-digit code at a fixed
// position (code i at 5i .. 5i + 3, one separator after each) and, for the ten-channel
// recorder, a 12-character serial text at 50 .. 61. The code is the sensitivity in tenths of
// a raw count per m/s².

constexpr std::size_t TenChannelSensitivityTextLength = 62;
constexpr std::size_t SixChannelSensitivityTextLength = 30;

constexpr std::size_t SensitivityTextLength(bool tenChannels) {
  return tenChannels ? TenChannelSensitivityTextLength : SixChannelSensitivityTextLength;
}

// The recording's folder: its name up to and including the last "/", or empty for a bare name.
std::string RecordingFolder(const std::string& recordingName);

// The settings file of the recording's folder: RecordingFolder, then "S2.txt".
std::string SensitivityFilePath(const std::string& recordingName);

// The recorder's factory settings: every code 6600, serial text "Ser. no 9999".
std::string DefaultSensitivityText(bool tenChannels);

struct SensitivityReading {
  std::string Text;  // always the layout's full length
  bool FileMissing = false;
};

// Reads the layout's characters of the file in text mode over a copy of the default text.
// A file that is missing, a folder or unreadable gives FileMissing and the default text; a
// short file keeps the default text beyond its end.
SensitivityReading ReadSensitivityText(const std::string& path, bool tenChannels);

// Text mode by hand: copies `bytes` into `text` from `position` on, dropping every CR and
// stopping at Ctrl-Z. Returns false once the text is full or ended, when nothing more of the
// file is wanted.
bool CopyTextModeCharacters(const std::uint8_t* bytes, std::size_t size, std::string& text,
                            std::size_t& position);

// Sets the layout's codes from the text (ten channels: codes 0 to 9 and the serial text;
// six channels: codes 0 to 5 only). Each code is the weighted sum of its four characters'
// values minus 48, modulo 2^32, whether they are digits or not. The serial text ends at its
// first NUL. A text shorter than the layout's length reads as if the default text filled the
// rest.
void ParseSensitivityText(const std::string& text, bool tenChannels,
                          std::array<std::uint32_t, SlotCount>& codes, std::string& serialText);

// Raw counts per m/s²: the code divided by ten, rounded to single precision.
float SensitivityFromCode(std::uint32_t code);

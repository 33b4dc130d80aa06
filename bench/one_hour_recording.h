#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/recording_builder.h"

// The recording the benchmarks measure with: one hour of ten channels (3601 blocks,
// 86,481,616 bytes) of noise of about ±3 m/s² around the zero level with an impact every
// three seconds, a different height per slot, at 25.0 knots and a fixed position.
constexpr int OneHourBlocks = 3601;
constexpr double OneHourSensitivity = 660.0;  // the default code 6600

RecordingBuilder OneHourRecording();

// Its bytes, built once per process.
const std::vector<std::uint8_t>& OneHourBytes();

// Its bytes written once per process beside the default "S2.txt" into a temporary folder.
struct OneHourFile {
  std::string Folder;
  std::string Name;
};
const OneHourFile& OneHourRecordingFile();

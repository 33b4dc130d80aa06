#pragma once

#include <cstdint>
#include <string>

#include "recording/file_bytes.h"

// The position text of a recording: one line "latitude,longitude" for every block that holds
// both position fields, each value in fixed notation with six decimals, lines ended by CR LF.
// The numbers always use a decimal point, whatever locale the process runs in. The block size
// comes from the bytes' own layout probe; the caller makes sure they reach the probe byte.
std::string PositionText(const FileBytes& recording);

// The most bytes PositionText can give for a recording of `recordingSize` bytes in the layout:
// the widest line for every block.
std::uint64_t PositionTextBound(std::uint64_t recordingSize, bool tenChannels);

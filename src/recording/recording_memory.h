#pragma once

#include <cstdint>

#include "recording/recording_state.h"

// What the recording's arrays make resident. Storage comes as untouched zero pages, so only
// the entries written count: per sample and slot 4 B of raw count and 8 B of acceleration, the
// filter's 8 B once it has run, the shared 8 B of the sample index, two doubles per speed point.
inline constexpr std::uint64_t RawAndAccelerationBytesPerSample = 4 + 8;
inline constexpr std::uint64_t FilteredBytesPerSample = 8;
inline constexpr std::uint64_t SampleIndexBytesPerSample = 8;
inline constexpr std::uint64_t BytesPerSpeedPoint = 2 * 8;

// A load of a file of `fileSize` bytes using `blocksUsed` blocks: the memory copy of the file
// and everything the decode writes.
std::uint64_t ResidentBytesOfLoad(std::uint64_t fileSize, std::int64_t blocksUsed,
                                  bool tenChannels);

// What the next load, of the given layout, gives back by dropping the arrays it replaces: the
// slots of its layout (a six-channel load keeps slots 6 to 9), the sample index and the speed
// points that the speed series holds.
std::uint64_t ResidentBytesReplacedByLoad(const RecordingState& state, bool nextTenChannels);

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dyn_array.h"
#include "platform/work_progress.h"
#include "recording/file_bytes.h"
#include "recording/recording_state.h"

// Decoding a recording into the recording state. The open command runs it in two groups:
// the checks, the start time and the layout before it resets the window (nothing of the
// state changes there), then the allocation and DecodeRecording after the reset. Every input
// the decoder cannot use is reported as a RecordingError before the state changes.

// " Sample start time hh:mm:ss" from block 0's time of day; the hours are not reduced modulo
// 24. A buffer too short to hold a header reads as time 0.
std::string StartTimeText(const FileBytes& bytes);
std::string StartTimeText(std::uint32_t timeOfDay);

// A recording must reach the layout probe byte; every such file has a block to load.
void CheckRecordingSize(const FileBytes& bytes, const std::string& fileName);

// The conversion divides by every sensitivity of the layout, so none may be 0.
void CheckSensitivities(const std::array<float, SlotCount>& sensitivity, bool tenChannels,
                        const std::string& sensitivityPath);

// The sizes that the file size implies. The header bytes are spread evenly over the blocks,
// so FrameCount = floor(600 S / block size); ChannelCapacity, four times that, sizes the
// per-slot arrays. The last block of the file, whole or partial, is never used.
struct RecordingGeometry {
  double BlockCount = 0.0;
  std::int64_t FrameCount = 0;
  std::int64_t ChannelCapacity = 0;
  std::int64_t BlocksUsed = 0;
};

RecordingGeometry ComputeGeometry(std::int64_t fileSize, bool tenChannels);

// New zeroed storage for one load. The layout's slots only; the others stay without storage
// here and the load leaves theirs in the state as they are.
struct RecordingArrays {
  DynArray<double> SpeedValues;
  DynArray<double> SpeedPositions;
  DynArray<double> SampleIndex;
  std::array<DynArray<std::uint32_t>, SlotCount> RawSamples;
  std::array<DynArray<double>, SlotCount> Acceleration;
  std::array<DynArray<double>, SlotCount> FilteredAcceleration;
};

// Throws RecordingError naming the file when the memory cannot be had or the recording holds
// more samples per channel than the 32-bit sample count can tell.
RecordingArrays AllocateRecordingArrays(const RecordingGeometry& geometry, bool tenChannels,
                                        const std::string& fileName);

// Converts raw counts to m/s²: (offset - count) / sensitivity in double precision, the count
// converted exactly, the difference formed first and the sensitivity widened, negated when
// inverted; values beyond ±250 m/s² are stored as 0. Negating is exact and the limits are
// symmetric, so the inverted trace is bit for bit the negation of the other. The load and
// the "Invert" boxes both convert with it, in slices that report to `progress`.
void ConvertCounts(const std::uint32_t* raw, std::size_t count, double offset, float sensitivity,
                   bool inverted, double* acceleration, const WorkProgress& progress = {});

// One channel's part in a conversion of several at once.
struct CountConversion {
  const std::uint32_t* Raw;
  double Offset;
  float Sensitivity;
  bool Inverted;
  double* Acceleration;
};

// ConvertCounts for the first `count` samples of every channel listed, all of them in each
// slice.
void ConvertChannels(const std::vector<CountConversion>& channels, std::size_t count,
                     const WorkProgress& progress = {});

// Installs the arrays in the state and fills them from the bytes in the layout of
// state.TenChannels, with the sensitivities already in state.Sensitivity: the geometry
// members, the speed points, SampleCount and RawSamples, ChannelSum and ChannelOffset (the
// truncated mean), Acceleration = (ChannelOffset - count) / Sensitivity with values beyond
// ±250 m/s² stored as 0, and SampleIndex. Writes no entry from SampleCount on. Its passes
// run in slices and report to `progress` between them.
void DecodeRecording(RecordingState& state, const FileBytes& bytes,
                     const RecordingGeometry& geometry, RecordingArrays&& arrays,
                     const WorkProgress& progress = {});

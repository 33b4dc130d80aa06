#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/dyn_array.h"

constexpr int SlotCount = 10;

// The one loaded recording, as the main window holds it. Only a load replaces it; every
// other command reads it or rewrites Acceleration and FilteredAcceleration in place.
//
// After a completed load: SampleCount = 600 x blocks used = PlotCount,
// SampleCount <= FrameCount < every per-slot array's length, and the load has written
// entries below SampleCount only (everything beyond is zero: storage comes zeroed).
// One recording is resident at a time: a load drops the previous arrays before it reads the
// next file.
// In the six-channel layout slots 6 to 9 take part in nothing and keep what an earlier
// ten-channel load left.
struct RecordingState {
  std::uint32_t SampleCount = 0;
  std::array<std::uint32_t, SlotCount> SensitivityCode{};
  std::array<float, SlotCount> Sensitivity{};
  std::array<std::uint64_t, SlotCount> ChannelSum{};
  std::array<double, SlotCount> ChannelOffset{};
  std::int64_t DataFileSize = 0;
  double BlockCount = 0.0;
  std::int64_t FrameCount = 0;
  std::int64_t ChannelCapacity = 0;
  std::string DataFileName;
  std::string SerialText;
  DynArray<double> SpeedValues;
  DynArray<double> SpeedPositions;
  DynArray<double> SampleIndex;
  std::array<DynArray<std::uint32_t>, SlotCount> RawSamples;
  std::array<DynArray<double>, SlotCount> Acceleration;
  std::array<DynArray<double>, SlotCount> FilteredAcceleration;
  bool TenChannels = false;
  std::string OpenedFileName;
  std::uint32_t PlotCount = 0;
  // Entries written into each slot's present storage: by the load into RawSamples and
  // Acceleration, by the filter into FilteredAcceleration. Storage never written costs no
  // memory, so these tell what the arrays hold resident.
  std::array<std::uint32_t, SlotCount> SamplesWritten{};
  std::array<std::uint32_t, SlotCount> FilteredSamplesWritten{};

  int LayoutSlotCount() const { return TenChannels ? 10 : 6; }
};

#include "recording/recording_decoder.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>

#include "platform/parallel_passes.h"
#include "platform/parallel_stretches.h"
#include "platform/work_progress.h"
#include "recording/recording_error.h"
#include "recording/recording_format.h"

namespace {

constexpr std::uint32_t UnitsPerHour = 2160000;
constexpr std::uint32_t UnitsPerMinute = 36000;
constexpr std::uint32_t UnitsPerSecond = 600;
constexpr double SpeedScale = 10.0;
// A block's counts, 4 bytes each, go to every slot's array.
constexpr PassUnit BlockUnit{FramesPerBlock, 4 * FramesPerBlock};

std::string TwoDigits(std::uint32_t value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}

// One pass over the blocks [first, end), in stretches spread over the cores: each block gives
// its speed point, and its counts go to their slots' arrays and into the slots' sums at once,
// so the counts are read from the file only here. A block (24 kB at most) stays in the
// first-level cache while its slots are taken out one after the other. Each stretch sums on
// its own and adds its totals to the slots' at its end: integer sums come out the same in any
// order and over any split into slices or stretches.
template <int Channels>
void BlockPass(const std::uint8_t* file, std::int64_t first, std::int64_t end,
               const std::array<std::uint32_t*, SlotCount>& rawSamples, double* speedValues,
               double* speedPositions, std::array<std::atomic<std::uint64_t>, SlotCount>& sums) {
  constexpr std::size_t BlockBytes = BlockSize(Channels == 10);
  constexpr std::size_t FrameBytes = 4 * Channels;
  ForEachStretch(1, first, end, BlockUnit, [&](int, std::int64_t from, std::int64_t to) {
    std::array<std::uint64_t, SlotCount> stretchSum{};
    for (std::int64_t block = from; block < to; ++block) {
      const std::uint8_t* header = file + block * BlockBytes;
      speedValues[block] = ReadU16LE(header + SpeedOffset) / SpeedScale;
      speedPositions[block] = static_cast<double>(FramesPerBlock * block);
      const std::uint8_t* frames = header + BlockHeaderSize;
      const std::size_t firstSample = static_cast<std::size_t>(block) * FramesPerBlock;
      for (int slot = 0; slot < Channels; ++slot) {
        const std::uint8_t* in = frames + 4 * slot;
        std::uint32_t* out = rawSamples[slot] + firstSample;
        std::uint64_t sum = 0;
        for (int f = 0; f < FramesPerBlock; ++f, in += FrameBytes) {
          const std::uint32_t count = ReadU32LE(in);
          out[f] = count;
          sum += count;
        }
        stretchSum[slot] += sum;
      }
    }
    for (int slot = 0; slot < Channels; ++slot) sums[slot] += stretchSum[slot];
  });
}

template <int Channels>
void BlockPassInSlices(const std::uint8_t* file, std::int64_t blocksUsed,
                       const std::array<std::uint32_t*, SlotCount>& rawSamples, double* speedValues,
                       double* speedPositions, std::array<std::uint64_t, SlotCount>& channelSum,
                       const WorkProgress& progress) {
  std::array<std::atomic<std::uint64_t>, SlotCount> sums{};
  RunInSlices(blocksUsed, PassSliceLengths(1, BlockUnit), progress,
              [&](std::uint64_t first, std::uint64_t end) {
                BlockPass<Channels>(file, static_cast<std::int64_t>(first),
                                    static_cast<std::int64_t>(end), rawSamples, speedValues,
                                    speedPositions, sums);
              });
  for (int slot = 0; slot < Channels; ++slot) channelSum[slot] += sums[slot];
}

void FillSampleIndex(double* sampleIndex, std::uint32_t sampleCount, const WorkProgress& progress) {
  RunInSlices(sampleCount, PassSliceLengths(1, SampleOfDoubles), progress,
              [&](std::uint64_t first, std::uint64_t end) {
                ForEachStretch(1, static_cast<std::int64_t>(first), static_cast<std::int64_t>(end),
                               SampleOfDoubles, [&](int, std::int64_t from, std::int64_t to) {
                                 for (std::int64_t n = from; n < to; ++n)
                                   sampleIndex[n] = static_cast<double>(n);
                               });
              });
}

}  // namespace

void ConvertChannels(const std::vector<CountConversion>& channels, std::size_t count,
                     const WorkProgress& progress) {
  const double limit = AccelerationLimit;
  const int lanes = static_cast<int>(channels.size());
  RunInSlices(count, PassSliceLengths(lanes, SampleOfDoubles), progress,
              [&](std::uint64_t first, std::uint64_t end) {
                ForEachStretch(
                    lanes, static_cast<std::int64_t>(first), static_cast<std::int64_t>(end),
                    SampleOfDoubles, [&](int lane, std::int64_t from, std::int64_t to) {
                      const CountConversion& c = channels[static_cast<std::size_t>(lane)];
                      const double offset = c.Offset;
                      const double divisor = c.Sensitivity;
                      const bool inverted = c.Inverted;
                      const std::uint32_t* raw = c.Raw;
                      double* acceleration = c.Acceleration;
                      for (std::int64_t n = from; n < to; ++n) {
                        const double value = (offset - static_cast<double>(raw[n])) / divisor;
                        const double signedValue = inverted ? -value : value;
                        acceleration[n] =
                            signedValue > limit || signedValue < -limit ? 0.0 : signedValue;
                      }
                    });
              });
}

void ConvertCounts(const std::uint32_t* raw, std::size_t count, double offset, float sensitivity,
                   bool inverted, double* acceleration, const WorkProgress& progress) {
  ConvertChannels({{raw, offset, sensitivity, inverted, acceleration}}, count, progress);
}

std::string StartTimeText(std::uint32_t timeOfDay) {
  const std::uint32_t hours = timeOfDay / UnitsPerHour;
  const std::uint32_t minutes = timeOfDay / UnitsPerMinute % 60;
  const std::uint32_t seconds = timeOfDay / UnitsPerSecond % 60;
  return " Sample start time " + TwoDigits(hours) + ":" + TwoDigits(minutes) + ":" +
         TwoDigits(seconds);
}

std::string StartTimeText(const FileBytes& bytes) {
  const bool hasHeader = bytes.Size() >= BlockHeaderSize;
  return StartTimeText(hasHeader ? ReadU32LE(bytes.data() + TimeOfDayOffset) : 0u);
}

void CheckRecordingSize(const FileBytes& bytes, const std::string& fileName) {
  if (bytes.Size() < MinimumRecordingSize) {
    throw RecordingError(fileName, "is " + std::to_string(bytes.Size()) +
                                       " bytes long; a recording needs at least " +
                                       std::to_string(MinimumRecordingSize) + " bytes");
  }
}

void CheckSensitivities(const std::array<float, SlotCount>& sensitivity, bool tenChannels,
                        const std::string& sensitivityPath) {
  for (int slot = 0; slot < ChannelCount(tenChannels); ++slot) {
    if (sensitivity[slot] == 0.0f) {
      throw RecordingError(sensitivityPath,
                           "gives channel \"" + std::string(SlotTitle(slot, tenChannels)) +
                               "\" a sensitivity of 0, so the recording was not opened");
    }
  }
}

RecordingGeometry ComputeGeometry(std::int64_t fileSize, bool tenChannels) {
  const double size = static_cast<double>(fileSize);
  const double channels = ChannelCount(tenChannels);
  RecordingGeometry geometry;
  geometry.BlockCount = size / static_cast<double>(BlockSize(tenChannels));
  const double countBytes = size - static_cast<double>(BlockHeaderSize) * geometry.BlockCount;
  geometry.FrameCount = static_cast<std::int64_t>(std::trunc(countBytes / (4.0 * channels)));
  geometry.ChannelCapacity = static_cast<std::int64_t>(std::trunc(countBytes / channels));
  // The blocks k >= 0 with k < BlockCount - 1.
  const double lastUsed = std::ceil(geometry.BlockCount - 1.0);
  geometry.BlocksUsed = lastUsed > 0.0 ? static_cast<std::int64_t>(lastUsed) : 0;
  return geometry;
}

RecordingArrays AllocateRecordingArrays(const RecordingGeometry& geometry, bool tenChannels,
                                        const std::string& fileName) {
  if (geometry.BlocksUsed < 0 || geometry.FrameCount < 0 || geometry.ChannelCapacity < 0 ||
      !(geometry.BlockCount >= 0.0)) {
    throw std::invalid_argument("negative recording geometry");
  }
  constexpr std::int64_t MaximumSamples = std::numeric_limits<std::uint32_t>::max();
  if (geometry.BlocksUsed > MaximumSamples / FramesPerBlock) {
    throw RecordingError(fileName, "is too long to load: it holds more than " +
                                       std::to_string(MaximumSamples) + " samples per channel");
  }
  const auto speedPoints = static_cast<std::size_t>(std::trunc(geometry.BlockCount + 2.0));
  const auto slotEntries = static_cast<std::size_t>(geometry.ChannelCapacity) + 4;
  try {
    RecordingArrays arrays;
    arrays.SpeedValues = DynArray<double>::Allocate(speedPoints);
    arrays.SpeedPositions = DynArray<double>::Allocate(speedPoints);
    arrays.SampleIndex =
        DynArray<double>::Allocate(static_cast<std::size_t>(geometry.FrameCount) + 8);
    for (int slot = 0; slot < ChannelCount(tenChannels); ++slot) {
      arrays.RawSamples[slot] = DynArray<std::uint32_t>::Allocate(slotEntries);
      arrays.Acceleration[slot] = DynArray<double>::Allocate(slotEntries);
      arrays.FilteredAcceleration[slot] = DynArray<double>::Allocate(slotEntries);
    }
    return arrays;
  } catch (const std::bad_alloc&) {
    throw RecordingError(fileName, "cannot be loaded: there is not enough memory for its " +
                                       std::to_string(geometry.FrameCount) +
                                       " samples per channel");
  }
}

void DecodeRecording(RecordingState& state, const FileBytes& bytes,
                     const RecordingGeometry& geometry, RecordingArrays&& arrays,
                     const WorkProgress& progress) {
  const bool tenChannels = state.TenChannels;
  const int channels = ChannelCount(tenChannels);
  const std::size_t blockSize = BlockSize(tenChannels);
  const std::int64_t blocksUsed = geometry.BlocksUsed;
  // Every block used lies wholly inside the bytes; the sizes above guarantee it for a
  // geometry computed from these bytes, and nothing else may pass.
  if (blocksUsed < 0 || blocksUsed > std::numeric_limits<std::uint32_t>::max() / FramesPerBlock ||
      static_cast<std::uint64_t>(blocksUsed) * blockSize > bytes.Size()) {
    throw std::invalid_argument("recording geometry does not fit the file's bytes");
  }
  const auto sampleCount = static_cast<std::uint32_t>(FramesPerBlock * blocksUsed);
  arrays.SpeedValues.CheckRange(0, blocksUsed);
  arrays.SpeedPositions.CheckRange(0, blocksUsed);
  // The passes below write these ranges whole, so they may fault in huge pages.
  arrays.SampleIndex.AdviseHugePagesFor(0, sampleCount);
  for (int slot = 0; slot < channels; ++slot) {
    arrays.RawSamples[slot].AdviseHugePagesFor(0, sampleCount);
    arrays.Acceleration[slot].AdviseHugePagesFor(0, sampleCount);
  }

  state.BlockCount = geometry.BlockCount;
  state.FrameCount = geometry.FrameCount;
  state.ChannelCapacity = geometry.ChannelCapacity;
  state.SpeedValues = std::move(arrays.SpeedValues);
  state.SpeedPositions = std::move(arrays.SpeedPositions);
  state.SampleIndex = std::move(arrays.SampleIndex);
  for (int slot = 0; slot < channels; ++slot) {
    state.RawSamples[slot] = std::move(arrays.RawSamples[slot]);
    state.Acceleration[slot] = std::move(arrays.Acceleration[slot]);
    state.FilteredAcceleration[slot] = std::move(arrays.FilteredAcceleration[slot]);
  }

  std::array<std::uint32_t*, SlotCount> rawSamples{};
  for (int slot = 0; slot < channels; ++slot) rawSamples[slot] = state.RawSamples[slot].data();
  double* speedValues = state.SpeedValues.data();
  double* speedPositions = state.SpeedPositions.data();
  state.ChannelSum.fill(0);
  state.SampleCount = 0;
  // The block pass reads the file and writes a third of what the conversion writes; the
  // sample index is one array more.
  constexpr double BlockPassEnd = 0.45;
  constexpr double ConversionEnd = 0.92;
  const WorkProgress blockProgress = ProgressPart(progress, 0.0, BlockPassEnd);
  if (tenChannels) {
    BlockPassInSlices<10>(bytes.data(), blocksUsed, rawSamples, speedValues, speedPositions,
                          state.ChannelSum, blockProgress);
  } else {
    BlockPassInSlices<6>(bytes.data(), blocksUsed, rawSamples, speedValues, speedPositions,
                         state.ChannelSum, blockProgress);
  }
  state.SampleCount = sampleCount;

  state.ChannelOffset.fill(0.0);
  for (int slot = 0; slot < channels && sampleCount > 0; ++slot) {
    state.ChannelOffset[slot] = static_cast<double>(state.ChannelSum[slot] / sampleCount);
  }
  std::vector<CountConversion> conversions;
  for (int slot = 0; slot < channels; ++slot) {
    conversions.push_back({rawSamples[slot], state.ChannelOffset[slot], state.Sensitivity[slot],
                           false, state.Acceleration[slot].data()});
  }
  ConvertChannels(conversions, sampleCount, ProgressPart(progress, BlockPassEnd, ConversionEnd));

  FillSampleIndex(state.SampleIndex.data(), sampleCount,
                  ProgressPart(progress, ConversionEnd, 1.0));
}

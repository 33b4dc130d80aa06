#include "recording/recording_memory.h"

#include "recording/recording_format.h"

std::uint64_t ResidentBytesOfLoad(std::uint64_t fileSize, std::int64_t blocksUsed,
                                  bool tenChannels) {
  const auto blocks = static_cast<std::uint64_t>(blocksUsed > 0 ? blocksUsed : 0);
  const std::uint64_t samples = FramesPerBlock * blocks;
  const auto channels = static_cast<std::uint64_t>(ChannelCount(tenChannels));
  return fileSize + RawAndAccelerationBytesPerSample * samples * channels +
         SampleIndexBytesPerSample * samples + BytesPerSpeedPoint * blocks;
}

std::uint64_t ResidentBytesReplacedByLoad(const RecordingState& state, bool nextTenChannels) {
  std::uint64_t bytes = SampleIndexBytesPerSample * state.SampleCount +
                        BytesPerSpeedPoint * (state.SampleCount / FramesPerBlock);
  for (int slot = 0; slot < ChannelCount(nextTenChannels); ++slot) {
    bytes += RawAndAccelerationBytesPerSample * state.SamplesWritten[slot] +
             FilteredBytesPerSample * state.FilteredSamplesWritten[slot];
  }
  return bytes;
}

#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// A recording is a bare sequence of one-second blocks: a 16-byte header (longitude, latitude,
// speed, route word, time of day) and 600 frames of one uint32 count per channel. Nothing in
// the file names its layout; one probe byte tells ten channels from six.

constexpr int FramesPerBlock = 600;
constexpr std::size_t TenChannelBlockSize = 24016;
constexpr std::size_t SixChannelBlockSize = 14416;
constexpr std::size_t BlockHeaderSize = 16;
// In a ten-channel file this is the top byte of block 1's longitude; in a six-channel file
// the top byte of a Hull Z count of block 1.
constexpr std::size_t LayoutProbeOffset = 24019;
constexpr std::size_t MinimumRecordingSize = LayoutProbeOffset + 1;

constexpr std::size_t LongitudeOffset = 0;
constexpr std::size_t LatitudeOffset = 4;
constexpr std::size_t SpeedOffset = 8;
constexpr std::size_t RouteWordOffset = 10;
constexpr std::size_t TimeOfDayOffset = 12;

constexpr float AccelerationLimit = 250.0f;

// Little-endian field access whatever the host's byte order.
inline std::uint16_t ReadU16LE(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

inline std::uint32_t ReadU32LE(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

inline float ReadF32LE(const std::uint8_t* bytes) {
  const std::uint32_t bits = ReadU32LE(bytes);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline void WriteU16LE(std::uint8_t* bytes, std::uint16_t value) {
  bytes[0] = static_cast<std::uint8_t>(value);
  bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteU32LE(std::uint8_t* bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void WriteF32LE(std::uint8_t* bytes, float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  WriteU32LE(bytes, bits);
}

// True for the ten-channel layout: the probe byte is non-zero. A file too short to hold the
// probe byte reads as six channels (the load rejects such files before it asks).
bool ProbeTenChannels(const std::uint8_t* bytes, std::size_t size);

constexpr std::size_t BlockSize(bool tenChannels) {
  return tenChannels ? TenChannelBlockSize : SixChannelBlockSize;
}

constexpr int ChannelCount(bool tenChannels) {
  return tenChannels ? 10 : 6;
}

// The channel's name in the layout: it titles the slot's series and captions its box. The
// six-channel layout has no slots 6 to 9; they keep their ten-channel names there.
const char* SlotTitle(int slot, bool tenChannels);

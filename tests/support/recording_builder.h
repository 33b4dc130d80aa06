#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "recording/file_bytes.h"

// Builds synthetic ".DAT" recordings in memory: either layout, any number of whole blocks, an
// optional partial last block, chosen header fields per block and chosen raw counts per slot.
// Unset fields take plausible values: the speed 0, the time of day counting up one second per
// block from 0, a position of 24.5 / 60.25 degrees (so a ten-channel file probes as ten
// channels) and counts of 0x800000 (below 2^24, so a six-channel file probes as six).
class RecordingBuilder {
 public:
  using CountFunction = std::function<std::uint32_t(std::int64_t sample)>;

  static constexpr std::uint32_t DefaultCount = 0x800000;

  explicit RecordingBuilder(bool tenChannels);

  RecordingBuilder& Blocks(int wholeBlocks);
  // Bytes of one more block after the whole ones (0 .. block size - 1): its header and
  // frames are generated like every other block's and cut off after that many bytes.
  RecordingBuilder& PartialBlockBytes(std::size_t bytes);

  RecordingBuilder& Speed(std::uint16_t tenthsOfKnot);  // every block
  RecordingBuilder& Speed(int block, std::uint16_t tenthsOfKnot);
  RecordingBuilder& TimeOfDay(std::uint32_t startUnits);  // block k gets start + 600 k
  RecordingBuilder& TimeOfDay(int block, std::uint32_t units);
  RecordingBuilder& Position(float longitude, float latitude);  // every block
  RecordingBuilder& Position(int block, float longitude, float latitude);
  RecordingBuilder& RouteWord(std::uint16_t word);  // every block
  RecordingBuilder& RouteWord(int block, std::uint16_t word);

  RecordingBuilder& Counts(int slot, std::uint32_t count);
  // The count of `slot` at every sample number (block × 600 + frame).
  RecordingBuilder& Counts(int slot, CountFunction countOfSample);
  // The count that converts to `acceleration` m/s² at `sample` for the given sensitivity and
  // zero level: zero level - acceleration × sensitivity, rounded to the nearest count. It
  // overrides the slot's counts at that sample only (and so moves the slot's mean a little).
  RecordingBuilder& Pulse(int slot, std::int64_t sample, double acceleration, float sensitivity,
                          double zeroLevel);

  // Overwrites the layout probe byte after everything else is laid out (when the file is long
  // enough to hold it).
  RecordingBuilder& ProbeByte(std::uint8_t value);

  bool TenChannels() const { return tenChannels_; }
  std::size_t BlockSize() const;
  std::size_t Size() const;
  std::vector<std::uint8_t> Build() const;
  void WriteTo(const std::string& path) const;

 private:
  struct Header {
    std::optional<std::uint16_t> Speed;
    std::optional<std::uint32_t> TimeOfDay;
    std::optional<float> Longitude;
    std::optional<float> Latitude;
    std::optional<std::uint16_t> RouteWord;
  };
  struct PulseCount {
    int Slot;
    std::int64_t Sample;
    std::uint32_t Count;
  };

  Header& HeaderOf(int block);
  void WriteBlock(int block, std::uint8_t* out) const;

  bool tenChannels_;
  int wholeBlocks_ = 0;
  std::size_t partialBytes_ = 0;
  Header all_;
  std::uint32_t startTime_ = 0;
  std::vector<Header> perBlock_;
  std::vector<CountFunction> counts_;
  std::vector<PulseCount> pulses_;
  std::optional<std::uint8_t> probe_;
};

// The bytes as the decoder gets them from a file.
FileBytes ToFileBytes(const std::vector<std::uint8_t>& bytes);

// Writes `bytes` to `path`, replacing the file; throws std::runtime_error on failure.
void WriteBytesToFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteTextToFile(const std::string& path, const std::string& text);

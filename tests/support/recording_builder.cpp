#include "support/recording_builder.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace {

// The builder lays out its bytes by hand, apart from the code under test, so that a fault in
// the decoder's readers cannot hide behind the same fault here.
constexpr std::size_t TenChannelBlockBytes = 24016;
constexpr std::size_t SixChannelBlockBytes = 14416;
constexpr std::size_t HeaderBytes = 16;
constexpr std::size_t ProbeOffset = 24019;
constexpr int Frames = 600;

void PutU16(std::uint8_t* out, std::uint16_t value) {
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::uint8_t* out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutF32(std::uint8_t* out, float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PutU32(out, bits);
}

template <typename T>
T Either(const std::optional<T>& own, const std::optional<T>& shared, T fallback) {
  return own ? *own : shared ? *shared : fallback;
}

}  // namespace

RecordingBuilder::RecordingBuilder(bool tenChannels)
    : tenChannels_(tenChannels), counts_(tenChannels ? 10 : 6) {}

RecordingBuilder& RecordingBuilder::Blocks(int wholeBlocks) {
  wholeBlocks_ = wholeBlocks;
  return *this;
}

RecordingBuilder& RecordingBuilder::PartialBlockBytes(std::size_t bytes) {
  if (bytes >= BlockSize()) throw std::invalid_argument("a partial block is shorter than a block");
  partialBytes_ = bytes;
  return *this;
}

RecordingBuilder::Header& RecordingBuilder::HeaderOf(int block) {
  if (block < 0) throw std::invalid_argument("negative block number");
  if (perBlock_.size() <= static_cast<std::size_t>(block)) perBlock_.resize(block + 1);
  return perBlock_[block];
}

RecordingBuilder& RecordingBuilder::Speed(std::uint16_t tenthsOfKnot) {
  all_.Speed = tenthsOfKnot;
  return *this;
}

RecordingBuilder& RecordingBuilder::Speed(int block, std::uint16_t tenthsOfKnot) {
  HeaderOf(block).Speed = tenthsOfKnot;
  return *this;
}

RecordingBuilder& RecordingBuilder::TimeOfDay(std::uint32_t startUnits) {
  startTime_ = startUnits;
  return *this;
}

RecordingBuilder& RecordingBuilder::TimeOfDay(int block, std::uint32_t units) {
  HeaderOf(block).TimeOfDay = units;
  return *this;
}

RecordingBuilder& RecordingBuilder::Position(float longitude, float latitude) {
  all_.Longitude = longitude;
  all_.Latitude = latitude;
  return *this;
}

RecordingBuilder& RecordingBuilder::Position(int block, float longitude, float latitude) {
  Header& header = HeaderOf(block);
  header.Longitude = longitude;
  header.Latitude = latitude;
  return *this;
}

RecordingBuilder& RecordingBuilder::RouteWord(std::uint16_t word) {
  all_.RouteWord = word;
  return *this;
}

RecordingBuilder& RecordingBuilder::RouteWord(int block, std::uint16_t word) {
  HeaderOf(block).RouteWord = word;
  return *this;
}

RecordingBuilder& RecordingBuilder::Counts(int slot, std::uint32_t count) {
  return Counts(slot, [count](std::int64_t) { return count; });
}

RecordingBuilder& RecordingBuilder::Counts(int slot, CountFunction countOfSample) {
  counts_.at(slot) = std::move(countOfSample);
  return *this;
}

RecordingBuilder& RecordingBuilder::Pulse(int slot, std::int64_t sample, double acceleration,
                                          float sensitivity, double zeroLevel) {
  const double count = std::nearbyint(zeroLevel - acceleration * static_cast<double>(sensitivity));
  if (count < 0.0 || count > 4294967295.0) throw std::invalid_argument("pulse outside 32 bits");
  if (slot < 0 || slot >= static_cast<int>(counts_.size())) throw std::out_of_range("slot");
  if (sample < 0) throw std::out_of_range("negative sample number");
  pulses_.push_back({slot, sample, static_cast<std::uint32_t>(count)});
  return *this;
}

RecordingBuilder& RecordingBuilder::ProbeByte(std::uint8_t value) {
  probe_ = value;
  return *this;
}

std::size_t RecordingBuilder::BlockSize() const {
  return tenChannels_ ? TenChannelBlockBytes : SixChannelBlockBytes;
}

std::size_t RecordingBuilder::Size() const {
  return wholeBlocks_ * BlockSize() + partialBytes_;
}

void RecordingBuilder::WriteBlock(int block, std::uint8_t* out) const {
  const Header none;
  const Header& own = static_cast<std::size_t>(block) < perBlock_.size() ? perBlock_[block] : none;
  PutF32(out + 0, Either(own.Longitude, all_.Longitude, 24.5f));
  PutF32(out + 4, Either(own.Latitude, all_.Latitude, 60.25f));
  PutU16(out + 8, Either(own.Speed, all_.Speed, std::uint16_t{0}));
  PutU16(out + 10, Either(own.RouteWord, all_.RouteWord, std::uint16_t{0}));
  PutU32(out + 12, Either(own.TimeOfDay, std::optional<std::uint32_t>{},
                          static_cast<std::uint32_t>(startTime_ + 600u * block)));
  const int channels = static_cast<int>(counts_.size());
  std::uint8_t* frame = out + HeaderBytes;
  for (int f = 0; f < Frames; ++f) {
    const std::int64_t sample = static_cast<std::int64_t>(block) * Frames + f;
    for (int slot = 0; slot < channels; ++slot, frame += 4) {
      PutU32(frame, counts_[slot] ? counts_[slot](sample) : DefaultCount);
    }
  }
}

std::vector<std::uint8_t> RecordingBuilder::Build() const {
  const std::size_t blockSize = BlockSize();
  std::vector<std::uint8_t> bytes(Size());
  for (int block = 0; block < wholeBlocks_; ++block) WriteBlock(block, &bytes[block * blockSize]);
  if (partialBytes_ > 0) {
    std::vector<std::uint8_t> last(blockSize);
    WriteBlock(wholeBlocks_, last.data());
    std::memcpy(&bytes[wholeBlocks_ * blockSize], last.data(), partialBytes_);
  }
  const std::size_t frameSize = 4 * counts_.size();
  for (const auto& pulse : pulses_) {
    const std::size_t offset = (pulse.Sample / Frames) * blockSize + HeaderBytes +
                               (pulse.Sample % Frames) * frameSize + 4 * pulse.Slot;
    if (offset + 4 <= bytes.size()) PutU32(&bytes[offset], pulse.Count);
  }
  if (probe_ && bytes.size() > ProbeOffset) bytes[ProbeOffset] = *probe_;
  return bytes;
}

void RecordingBuilder::WriteTo(const std::string& path) const {
  WriteBytesToFile(path, Build());
}

FileBytes ToFileBytes(const std::vector<std::uint8_t>& bytes) {
  FileBytes file(bytes.size());
  if (!bytes.empty()) std::memcpy(file.data(), bytes.data(), bytes.size());
  return file;
}

void WriteBytesToFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

void WriteTextToFile(const std::string& path, const std::string& text) {
  WriteBytesToFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// Feeds arbitrary bytes to the recording decoder, to the "S2.txt" reading and parsing, and to
// the two writers of derived files. Every input must end in a result or a RecordingError: no
// crash, no read outside the bytes, no broken invariant of the decoded state or of a copy.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "recording/file_bytes.h"
#include "recording/position_text.h"
#include "recording/recording_decoder.h"
#include "recording/recording_error.h"
#include "recording/recording_format.h"
#include "recording/route_free_copy.h"
#include "recording/sensitivity_file.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

RecordingState ParseAsSensitivityText(const std::uint8_t* data, std::size_t size,
                                      bool tenChannels) {
  RecordingState state;
  state.TenChannels = tenChannels;
  std::string text = DefaultSensitivityText(tenChannels);
  std::size_t position = 0;
  // The file arrives in chunks of a size the input chooses, as reads may split it.
  const std::size_t chunk = size > 0 ? data[0] % 7 + 1 : 1;
  for (std::size_t at = 0; at < size; at += chunk) {
    const std::size_t length = std::min(chunk, size - at);
    if (!CopyTextModeCharacters(data + at, length, text, position)) break;
  }
  Require(text.size() == SensitivityTextLength(tenChannels) && position <= text.size());
  ParseSensitivityText(text, tenChannels, state.SensitivityCode, state.SerialText);
  ParseSensitivityText(std::string(reinterpret_cast<const char*>(data), size), tenChannels,
                       state.SensitivityCode, state.SerialText);
  Require(state.SerialText.size() <= 12);
  for (int slot = 0; slot < state.LayoutSlotCount(); ++slot) {
    state.Sensitivity[slot] = SensitivityFromCode(state.SensitivityCode[slot]);
  }
  return state;
}

void Decode(const FileBytes& bytes, RecordingState state) {
  try {
    CheckRecordingSize(bytes, "fuzz.DAT");
    Require(!StartTimeText(bytes).empty());
    state.TenChannels = ProbeTenChannels(bytes.data(), bytes.Size());
    CheckSensitivities(state.Sensitivity, state.TenChannels, "S2.txt");
    const RecordingGeometry geometry =
        ComputeGeometry(static_cast<std::int64_t>(bytes.Size()), state.TenChannels);
    DecodeRecording(state, bytes, geometry,
                    AllocateRecordingArrays(geometry, state.TenChannels, "fuzz.DAT"));
    Require(state.SampleCount == FramesPerBlock * geometry.BlocksUsed);
    Require(state.SampleCount <= state.FrameCount);
    Require(static_cast<std::size_t>(state.FrameCount) < state.SampleIndex.Length());
    for (int slot = 0; slot < state.LayoutSlotCount(); ++slot) {
      Require(state.ChannelOffset[slot] == std::floor(state.ChannelOffset[slot]));
      Require(static_cast<std::size_t>(state.FrameCount) < state.Acceleration[slot].Length());
      const double* acceleration = state.Acceleration[slot].data();
      for (std::uint32_t n = 0; n < state.SampleCount; ++n) {
        Require(acceleration[n] >= -250.0 && acceleration[n] <= 250.0);
      }
    }
  } catch (const RecordingError&) {
  }
}

FileBytes CopyOf(const FileBytes& bytes) {
  FileBytes copy(bytes.Size());
  if (bytes.Size() > 0) std::memcpy(copy.data(), bytes.data(), bytes.Size());
  return copy;
}

// The copy without route data keeps the size and is its own copy; the position text has one
// line per block that holds the two positions.
void WriteDerivedFiles(const FileBytes& bytes) {
  if (bytes.Size() < MinimumRecordingSize) return;
  const FileBytes copy = RouteFreeCopy(CopyOf(bytes));
  Require(copy.Size() == bytes.Size());
  Require(ProbeTenChannels(copy.data(), copy.Size()) ==
          ProbeTenChannels(bytes.data(), bytes.Size()));
  const FileBytes copyOfCopy = RouteFreeCopy(CopyOf(copy));
  Require(std::memcmp(copy.data(), copyOfCopy.data(), copy.Size()) == 0);
  const std::string text = PositionText(bytes);
  const std::size_t blockSize = BlockSize(ProbeTenChannels(bytes.data(), bytes.Size()));
  const std::size_t lines = bytes.Size() / blockSize + (bytes.Size() % blockSize >= 8 ? 1 : 0);
  std::size_t lineEnds = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos;
       at = text.find("\r\n", at + 2)) {
    ++lineEnds;
  }
  Require(lineEnds == lines);
}

// A small input is also tiled into a recording of one to four blocks, so that the fuzzer
// reaches the decoding passes without having to grow 24 kB inputs.
FileBytes Tiled(const std::uint8_t* data, std::size_t size) {
  const std::size_t extra = size >= 2 ? (data[0] | data[1] << 8) * 3u % (3 * 24016) : 0;
  FileBytes bytes(MinimumRecordingSize + extra);
  for (std::size_t at = 0; at < bytes.Size(); at += size) {
    std::memcpy(bytes.data() + at, data, std::min(size, bytes.Size() - at));
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t LargestRecording = 1 << 20;
  ParseAsSensitivityText(data, size, false);
  const RecordingState tenChannels = ParseAsSensitivityText(data, size, true);
  if (size > LargestRecording) return 0;
  FileBytes exact(size);
  if (size > 0) std::memcpy(exact.data(), data, size);
  Decode(exact, tenChannels);
  WriteDerivedFiles(exact);
  if (size > 0) {
    const FileBytes tiled = Tiled(data, size);
    Decode(tiled, tenChannels);
    WriteDerivedFiles(tiled);
  }
  return 0;
}

#include "recording/position_text.h"

#include <charconv>

#include "recording/recording_format.h"

namespace {

constexpr std::size_t PositionBytes = LatitudeOffset + 4;
// The widest float32 in fixed notation: a sign, 39 integer digits, the point, six decimals.
constexpr std::size_t WidestFixed = 47;
constexpr std::size_t WidestLine = 2 * WidestFixed + 3;

// A float32 widened exactly to double, as "%f" prints it: fixed, six decimals. to_chars
// ignores the locale, so a German desktop still gets a decimal point.
char* AppendFixed(char* out, char* end, float value) {
  return std::to_chars(out, end, static_cast<double>(value), std::chars_format::fixed, 6).ptr;
}

}  // namespace

std::string PositionText(const FileBytes& recording) {
  const std::size_t size = recording.Size();
  const bool tenChannels = ProbeTenChannels(recording.data(), size);
  const std::size_t blockSize = BlockSize(tenChannels);
  const std::uint8_t* bytes = recording.data();
  std::string text;
  // Growing by doubling would hold up to twice the text at once; what is reserved and never
  // written costs no memory.
  text.reserve(static_cast<std::size_t>(PositionTextBound(size, tenChannels)));
  char line[WidestLine];
  char* const lineEnd = line + sizeof line;
  for (std::size_t start = 0; start + PositionBytes <= size; start += blockSize) {
    char* out = AppendFixed(line, lineEnd, ReadF32LE(bytes + start + LatitudeOffset));
    *out++ = ',';
    out = AppendFixed(out, lineEnd, ReadF32LE(bytes + start + LongitudeOffset));
    *out++ = '\r';
    *out++ = '\n';
    text.append(line, out);
  }
  return text;
}

std::uint64_t PositionTextBound(std::uint64_t recordingSize, bool tenChannels) {
  if (recordingSize < PositionBytes) return 0;
  return ((recordingSize - PositionBytes) / BlockSize(tenChannels) + 1) * WidestLine;
}

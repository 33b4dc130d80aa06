#include "recording/position_text.h"

#include <charconv>

#include "recording/recording_format.h"

namespace {

constexpr std::size_t PositionBytes = LatitudeOffset + 4;

// A float32 widened exactly to double, as "%f" prints it: fixed, six decimals. to_chars
// ignores the locale, so a German desktop still gets a decimal point.
char* AppendFixed(char* out, char* end, float value) {
  return std::to_chars(out, end, static_cast<double>(value), std::chars_format::fixed, 6).ptr;
}

}  // namespace

std::string PositionText(const FileBytes& recording) {
  const std::size_t size = recording.Size();
  const std::size_t blockSize = BlockSize(ProbeTenChannels(recording.data(), size));
  const std::uint8_t* bytes = recording.data();
  std::string text;
  // The widest float32 in fixed notation: a sign, 39 integer digits, the point, six decimals.
  char line[2 * 47 + 3];
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

#include "recording/route_free_copy.h"

#include "recording/recording_format.h"

namespace {

constexpr float RouteFreeLongitude = 180.0f;
constexpr float RouteFreeLatitude = 90.0f;

}  // namespace

FileBytes RouteFreeCopy(FileBytes recording) {
  const std::size_t size = recording.Size();
  const std::size_t blockSize = BlockSize(ProbeTenChannels(recording.data(), size));
  std::uint8_t* bytes = recording.data();
  for (std::size_t start = 0; start + BlockHeaderSize <= size; start += blockSize) {
    std::uint8_t* header = bytes + start;
    WriteF32LE(header + LongitudeOffset, RouteFreeLongitude);
    WriteF32LE(header + LatitudeOffset, RouteFreeLatitude);
    WriteU16LE(header + RouteWordOffset, 0);
  }
  return recording;
}

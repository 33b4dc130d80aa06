#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes `size` bytes as the file `path` so that a failure can never cost the file that was
// there: the bytes go to a new file in the same folder, are flushed to the disk, and only
// then does that file take the target's name. A replaced file's permissions carry over; a new
// file gets the usual ones (0666 less the umask). A target that is a link is written through
// the link, which stays. Writing over a file the bytes were read from works: it is replaced
// as a whole.
//
// On failure the new file is removed, the target is as it was, and a RecordingError names
// the target and the reason.
void WriteFileSafely(const std::string& path, const std::uint8_t* bytes, std::size_t size);
void WriteFileSafely(const std::string& path, const std::string& text);

#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include <sys/types.h>

#include "platform/work_progress.h"

// Writes `size` bytes as the file `path` so that a failure can never cost the file that was
// there: the bytes go to a new file in the same folder, are flushed to the disk, and only
// then does that file take the target's name. Where the file system allows, the new file has
// no name until it is complete, so a write cut short by a kill or a power cut leaves nothing
// behind. A replaced file's permissions carry over; a new
// file gets the usual ones (0666 less the umask). A target that is a link is written through
// the link, which stays. Writing over a file the bytes were read from works: it is replaced
// as a whole.
//
// On failure the new file is removed, the target is as it was, and a RecordingError names
// the target and the reason.
// The bytes go out in pieces whose progress reaches `progress` every few milliseconds, on the
// calling thread, while another thread writes and waits on the disk.
void WriteFileSafely(const std::string& path, const std::uint8_t* bytes, std::size_t size,
                     const WorkProgress& progress = {});
void WriteFileSafely(const std::string& path, const std::string& text,
                     const WorkProgress& progress = {});

// Replaces the opening of the new file without a name (open with O_TMPFILE on `folder`; -1 with
// errno set when refused), so that tests can stand in for a file system that refuses it; an
// empty function restores the system's.
void SetUnnamedFileOpener(std::function<int(const std::string& folder, mode_t mode)> opener);

// Replaces the folder whose entries name this process's open files (/proc/self/fd), so that
// tests can stand in for a system without /proc; an empty name restores the system's.
void SetDescriptorLinkFolder(const std::string& folder);

// Calls `hook` on the writing thread right before each wait on the disk (a piece's, the final
// flush), so that tests can hold the write there; an empty function calls nothing.
void SetDiskWaitHook(std::function<void()> hook);

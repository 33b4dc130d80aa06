#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "platform/slice_lengths.h"

// How far a piece of long work is, as the fraction of it done (0 to 1). A pass that works in
// slices tells it between two slices, on the thread that runs the pass and while no other
// thread of the pass works, so whatever it calls sees every array at a slice boundary and
// never one being written. An empty function takes no report.
using WorkProgress = std::function<void(double fractionDone)>;

// The stretch from `from` to `to` of `whole`: a report of f to it reaches `whole` as
// from + f (to - from). Empty when `whole` is.
WorkProgress ProgressPart(const WorkProgress& whole, double from, double to);

// Runs `step`, work that may block for long and cannot be cut (writes and flushes to a disk
// that may be slow, the release of a replaced file's blocks), on a thread of its own, while the
// calling thread tells `progress` every few milliseconds the fraction that the step last gave to
// the report it is handed, so the window answers. `progress` is called on the calling thread
// only; the step may call its report from its own thread at any time. The step must touch
// nothing the window reads; what it throws is thrown here once it has ended. Without progress it
// runs on the calling thread and its report is empty.
void RunOnWorkerThread(const std::function<void(const WorkProgress& report)>& step,
                       const WorkProgress& progress);

// Runs slice(begin, end) over [0, total) in consecutive slices as long as `lengths` gives
// them, timing each for the next, and tells `progress` between them. The last slice ends the
// pass and is not reported: the action goes on, and what comes next reports for itself.
template <typename Slice>
void RunInSlices(std::uint64_t total, SliceLengths lengths, const WorkProgress& progress,
                 Slice&& slice) {
  for (std::uint64_t begin = 0; begin < total;) {
    const std::uint64_t length = lengths.Next();
    const std::uint64_t end = total - begin > length ? begin + length : total;
    const auto start = std::chrono::steady_clock::now();
    slice(begin, end);
    lengths.Took(end - begin,
                 std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    begin = end;
    if (begin < total && progress)
      progress(static_cast<double>(begin) / static_cast<double>(total));
  }
}

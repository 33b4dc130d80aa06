#include "platform/slice_lengths.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

namespace {

void RefuseZero(std::uint64_t length) {
  if (length == 0) throw std::invalid_argument("a pass cannot advance in slices of length 0");
}

}  // namespace

SliceLengths::SliceLengths(std::uint64_t first) : next_(first) {
  RefuseZero(first);
  shortest_ = std::max<std::uint64_t>(first / ShortestInFirsts, 1);
  // No slice is longer than this: a slice that the kernel stalls, as it does when memory runs
  // short, takes many times its aim, and this keeps it within what the window can wait.
  longest_ = first > std::numeric_limits<std::uint64_t>::max() / LongestInFirsts
                 ? first
                 : first * LongestInFirsts;
}

SliceLengths::SliceLengths(std::vector<std::uint64_t> cycle) : cycle_(std::move(cycle)) {
  if (cycle_.empty()) throw std::invalid_argument("a pass needs at least one slice length");
  for (const std::uint64_t length : cycle_) RefuseZero(length);
  next_ = cycle_.front();
}

std::uint64_t SliceLengths::Next() const {
  return next_;
}

void SliceLengths::Took(std::uint64_t units, double seconds) {
  if (!cycle_.empty()) {
    turn_ = (turn_ + 1) % cycle_.size();
    next_ = cycle_[turn_];
    return;
  }
  unitsSoFar_ += static_cast<double>(units);
  secondsSoFar_ += seconds;
  const std::uint64_t grown =
      units > std::numeric_limits<std::uint64_t>::max() / Growth ? units : units * Growth;
  // The slower of the last slice's rate and the pass's so far: a pass whose slices stall now
  // and then goes on in slices that a stall does not stretch far. A pass too short for the
  // clock to see grows by the whole factor.
  double rate = secondsSoFar_ > 0.0 ? unitsSoFar_ / secondsSoFar_ : 0.0;
  if (seconds > 0.0) rate = std::min(rate, static_cast<double>(units) / seconds);
  const double fitting = rate > 0.0 ? rate * SliceSeconds : static_cast<double>(grown);
  const double bounded =
      std::min({fitting, static_cast<double>(grown), static_cast<double>(longest_)});
  next_ = std::max(shortest_, static_cast<std::uint64_t>(bounded));
}

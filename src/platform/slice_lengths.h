#pragma once

#include <cstdint>
#include <vector>

// The lengths of the consecutive slices of a pass, in the pass's units (samples, blocks).
//
// A slice should take a few tens of milliseconds: long enough that waking the threads for it
// and reporting after it cost nothing beside its work, short enough that the window answers
// between two. How fast a unit goes depends on the pass and on how busy the machine is, so
// after a first short slice each one is sized from the rate of the slice before it or of the
// pass so far, whichever is slower, growing
// by a bounded factor at a time, never shorter than a part of the first and never longer than
// a bounded number of firsts. When the kernel stalls the pass's page faults, as it does when
// memory runs short, a slice takes many times its aim: the aim is short and the slices shrink
// below the first, so that the window still answers.
class SliceLengths {
 public:
  // Slices sized by time, the first `first` units long; refuses a length of 0, which would
  // never end a pass.
  explicit SliceLengths(std::uint64_t first);
  // Slices of the given lengths in turn, over and over, however long they take (tests cut
  // passes at chosen places with them); refuses an empty list or a length of 0.
  explicit SliceLengths(std::vector<std::uint64_t> cycle);

  std::uint64_t Next() const;
  // The slice just run was `units` long and took `seconds`.
  void Took(std::uint64_t units, double seconds);

  // What a slice sized by time aims to take, in seconds.
  static constexpr double SliceSeconds = 0.015;
  // How much shorter than the first a slice may become.
  static constexpr std::uint64_t ShortestInFirsts = 8;
  // How much longer a slice may be than the one before it.
  static constexpr std::uint64_t Growth = 4;
  // How much longer a slice may be than the first.
  static constexpr std::uint64_t LongestInFirsts = 4;

 private:
  std::vector<std::uint64_t> cycle_;
  std::size_t turn_ = 0;
  std::uint64_t shortest_ = 0;
  std::uint64_t next_ = 0;
  std::uint64_t longest_ = 0;
  double unitsSoFar_ = 0.0;
  double secondsSoFar_ = 0.0;
};

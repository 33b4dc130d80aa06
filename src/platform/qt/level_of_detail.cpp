#include "platform/qt/level_of_detail.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/parallel_passes.h"

namespace {

constexpr ValueRange kEmpty{std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()};

// The comparisons are false for NaN, so a NaN never replaces an extreme.
inline void Take(ValueRange& range, double value) {
  range.Min = value < range.Min ? value : range.Min;
  range.Max = value > range.Max ? value : range.Max;
}

inline void Merge(ValueRange& range, const ValueRange& other) {
  range.Min = other.Min < range.Min ? other.Min : range.Min;
  range.Max = other.Max > range.Max ? other.Max : range.Max;
}

}  // namespace

void LevelOfDetail::Build(const double* values, std::size_t count) {
  values_ = values;
  count_ = count;
  levels_.clear();

  // The first level comes from the values in one pass; each further one from the level below.
  // The pass is split over the cores: a load or a filter run hands the view ten long traces
  // at once, and a bucket's extremes do not depend on who takes them. The threads take
  // shrinking runs of buckets as they come free, so that one the machine's other work holds
  // up does not hold up the rest.
  const std::size_t buckets = count / Fanout;
  if (buckets == 0) return;
  Level first{Fanout, std::vector<ValueRange>(buckets)};
  const auto bucketCount = static_cast<std::int64_t>(buckets);
#pragma omp parallel for schedule(guided) if (count >= ParallelPassSamples)
  for (std::int64_t b = 0; b < bucketCount; ++b) {
    const double* run = values + b * Fanout;
    double lo = kEmpty.Min;
    double hi = kEmpty.Max;
    for (std::size_t i = 0; i < Fanout; ++i) {
      lo = run[i] < lo ? run[i] : lo;
      hi = run[i] > hi ? run[i] : hi;
    }
    first.Buckets[b] = ValueRange{lo, hi};
  }
  levels_.push_back(std::move(first));

  while (levels_.back().Buckets.size() >= Fanout) {
    const Level& below = levels_.back();
    Level next{below.BucketSize * Fanout, std::vector<ValueRange>(below.Buckets.size() / Fanout)};
    for (std::size_t b = 0; b < next.Buckets.size(); ++b) {
      ValueRange range = kEmpty;
      for (std::size_t i = 0; i < Fanout; ++i) Merge(range, below.Buckets[b * Fanout + i]);
      next.Buckets[b] = range;
    }
    levels_.push_back(std::move(next));
  }
}

ValueRange LevelOfDetail::Range(std::size_t first, std::size_t last) const {
  ValueRange range = kEmpty;
  if (last > count_) last = count_;
  if (first >= last) return range;

  // Take single values up to the first bucket boundary and back from the last one, then do
  // the same one level up with the buckets in between, until nothing is left.
  std::size_t begin = first;
  std::size_t end = last;
  while (begin < end && begin % Fanout != 0) Take(range, values_[begin++]);
  while (end > begin && end % Fanout != 0) Take(range, values_[--end]);
  begin /= Fanout;
  end /= Fanout;
  for (std::size_t level = 0; level < levels_.size() && begin < end; ++level) {
    const std::vector<ValueRange>& buckets = levels_[level].Buckets;
    const bool top = level + 1 == levels_.size();
    while (begin < end && (top || begin % Fanout != 0)) Merge(range, buckets[begin++]);
    while (end > begin && end % Fanout != 0) Merge(range, buckets[--end]);
    begin /= Fanout;
    end /= Fanout;
  }
  return range;
}

std::size_t LevelOfDetail::EmptyRunAt(std::size_t start, std::size_t limit) const {
  std::size_t run = 0;
  for (const Level& level : levels_) {
    const std::size_t size = level.BucketSize;
    if (start % size != 0 || start + size > limit) break;
    if (!level.Buckets[start / size].Empty()) break;
    run = size;
  }
  return run;
}

std::size_t LevelOfDetail::EmptyRunEndingAt(std::size_t end, std::size_t floor) const {
  std::size_t run = 0;
  for (const Level& level : levels_) {
    const std::size_t size = level.BucketSize;
    if (end % size != 0 || end < floor + size) break;
    if (!level.Buckets[end / size - 1].Empty()) break;
    run = size;
  }
  return run;
}

std::size_t LevelOfDetail::FirstNumber(std::size_t first, std::size_t last) const {
  if (last > count_) last = count_;
  std::size_t i = first;
  while (i < last) {
    const std::size_t skip = EmptyRunAt(i, last);
    if (skip != 0) {
      i += skip;
    } else if (std::isnan(values_[i])) {
      ++i;
    } else {
      return i;
    }
  }
  return last;
}

std::size_t LevelOfDetail::LastNumber(std::size_t first, std::size_t last) const {
  const std::size_t none = last;
  if (last > count_) last = count_;
  std::size_t end = last;
  while (end > first) {
    const std::size_t skip = EmptyRunEndingAt(end, first);
    if (skip != 0) {
      end -= skip;
    } else if (std::isnan(values_[end - 1])) {
      --end;
    } else {
      return end - 1;
    }
  }
  return none;
}

std::size_t LevelOfDetail::MemoryBytes() const {
  std::size_t bytes = sizeof(*this);
  for (const Level& level : levels_) bytes += level.Buckets.capacity() * sizeof(ValueRange);
  return bytes;
}

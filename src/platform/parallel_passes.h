#pragma once

#include <cstdint>

// The passes over a whole recording (decode, filter runs, impact counts) run on every core
// through OpenMP. A pass over fewer samples per channel than this runs on the calling thread
// alone: waking the other cores would cost more than they could save.
inline constexpr std::int64_t ParallelPassSamples = std::int64_t{1} << 16;

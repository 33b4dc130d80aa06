#include "platform/available_memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace {

TEST(AvailableMemory, ReadsMemAvailableOrTellsNothing) {
  const struct {
    const char* Text;
    std::optional<std::uint64_t> Bytes;
  } cases[] = {
      {"MemTotal:       24554328 kB\nMemFree:          512000 kB\nMemAvailable:   "
       "20000000 kB\nBuffers:           1000 kB\n",
       std::uint64_t{20000000} * 1024},
      {"MemAvailable: 0 kB", std::uint64_t{0}},
      // A kernel before 3.14 has no such line; only MemFree would mislead, ignoring the cache.
      {"MemTotal: 24554328 kB\nMemFree: 512000 kB\n", std::nullopt},
      {"MemAvailable: lots kB\n", std::nullopt},
      {"MemAvailable: 1000 MB\n", std::nullopt},
      {"MemAvailable: 99999999999999999999 kB\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseMemAvailable(c.Text), c.Bytes) << c.Text;
}

TEST(AvailableMemory, TheSystemTellsAFigureOnLinux) {
  const std::optional<std::uint64_t> available = AvailableMemory();
  ASSERT_TRUE(available.has_value());
  EXPECT_GT(*available, 0u);
}

TEST(AvailableMemory, ComparesWhatIsNeededWithWhatIsAvailablePlusWhatIsReleased) {
  struct Case {
    std::optional<std::uint64_t> System;
    std::uint64_t Needed;
    std::uint64_t Released;
    const char* Shortage;  // empty: it fits
  };
  const Case cases[] = {
      {std::uint64_t{100}, 100, 0, ""},
      {std::uint64_t{100}, 150, 50, ""},
      {std::uint64_t{100}, 151, 50, "needs 1 MB of memory, and 0 MB are available"},
      {std::uint64_t{0}, 50, 50, ""},
      {std::nullopt, UINT64_MAX, 0, ""},
      {UINT64_MAX, UINT64_MAX, UINT64_MAX, ""},
      // Needed rounds up and available rounds down, so the two never read alike.
      {std::uint64_t{120'900'000}, 363'000'001, 0,
       "needs 364 MB of memory, and 120 MB are available"},
      {std::uint64_t{999'999'999}, 17'010'000'000, 0,
       "needs 17.1 GB of memory, and 999 MB are available"},
      {std::uint64_t{4'299'000'000}, 4'300'000'000, 0,
       "needs 4.3 GB of memory, and 4.2 GB are available"},
  };
  for (const Case& c : cases) {
    SetAvailableMemorySource([&c] { return c.System; });
    const MemoryCheck check = CheckMemory(c.Needed, c.Released);
    EXPECT_EQ(check.Fits, std::string(c.Shortage).empty()) << c.Needed;
    EXPECT_EQ(check.Shortage, c.Shortage);
  }
  SetAvailableMemorySource({});
}

}  // namespace

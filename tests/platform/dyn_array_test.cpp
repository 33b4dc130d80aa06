#include "platform/dyn_array.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

TEST(DynArray, CopiesShareStorageAndNewStorageLeavesOtherHolders) {
  DynArray<double> member = DynArray<double>::Allocate(4);
  DynArray<double> series = member;
  member[2] = 7.5;
  EXPECT_EQ(series[2], 7.5);
  EXPECT_EQ(member.UseCount(), 2);

  member = DynArray<double>::Allocate(3);
  EXPECT_EQ(series.Length(), 4u);
  EXPECT_EQ(series[2], 7.5);
  EXPECT_FALSE(series.SharesStorageWith(member));
  EXPECT_EQ(series.UseCount(), 1);
}

TEST(DynArray, NewStorageIsZeroed) {
  DynArray<std::uint32_t> array = DynArray<std::uint32_t>::Allocate(1000);
  for (std::size_t i = 0; i < array.Length(); ++i) ASSERT_EQ(array[i], 0u);
}

TEST(DynArray, IndexOutsideRaisesWithIndexAndLength) {
  struct Case {
    std::size_t length;
    std::int64_t index;
  };
  for (const Case& c : {Case{0, 0}, Case{3, 3}, Case{3, -1}, Case{5, 100}}) {
    DynArray<double> array = DynArray<double>::Allocate(c.length);
    try {
      array[static_cast<std::size_t>(c.index)];
      ADD_FAILURE() << "no exception for index " << c.index;
    } catch (const DynArrayOutOfRange& error) {
      EXPECT_EQ(error.Index, c.index);
      EXPECT_EQ(error.Length, static_cast<std::int64_t>(c.length));
    }
  }
}

TEST(DynArray, CheckRangeCoversTheWholeRange) {
  DynArray<double> array = DynArray<double>::Allocate(10);
  EXPECT_NO_THROW(array.CheckRange(0, 10));
  EXPECT_NO_THROW(array.CheckRange(10, 0));
  EXPECT_NO_THROW(DynArray<double>().CheckRange(0, 0));
  EXPECT_THROW(array.CheckRange(5, 6), DynArrayOutOfRange);
  EXPECT_THROW(array.CheckRange(10, 1), DynArrayOutOfRange);
  EXPECT_THROW(DynArray<double>().CheckRange(0, 1), DynArrayOutOfRange);
}

TEST(DynArray, ReleaseEmptiesOnlyThisHolder) {
  DynArray<double> member = DynArray<double>::Allocate(2);
  DynArray<double> series = member;
  member.Release();
  EXPECT_TRUE(member.Empty());
  EXPECT_EQ(series.Length(), 2u);
  EXPECT_THROW(member[0], DynArrayOutOfRange);
}

// Large storage starts on a huge-page boundary and stays free until written: after a write
// of three huge pages and a little more, advised for huge pages first, exactly the 4 KiB
// pages that the write reached are resident, so the partial huge page at its end costs no
// more than was written. (A system that gives every mapping huge pages, advised or not,
// makes that partial page whole.)
TEST(DynArray, LargeStorageCostsOnlyWhatIsWritten) {
  std::string hugePageMode;
  std::getline(std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled"), hugePageMode);
  if (hugePageMode.find("[always]") != std::string::npos) GTEST_SKIP() << hugePageMode;
  constexpr std::size_t PageSize = 4096;
  constexpr std::size_t Entries = 16 * HugePageSize / sizeof(double);
  constexpr std::size_t Written = 3 * HugePageSize / sizeof(double) + 100;
  DynArray<double> array = DynArray<double>::Allocate(Entries);
  ASSERT_EQ(reinterpret_cast<std::uintptr_t>(array.data()) % HugePageSize, 0u);
  EXPECT_THROW(array.AdviseHugePagesFor(Entries - 1, 2), DynArrayOutOfRange);

  array.AdviseHugePagesFor(0, Written);
  for (std::size_t i = 0; i < Written; ++i) array.data()[i] = 1.0;

  std::vector<unsigned char> resident(Entries * sizeof(double) / PageSize);
  ASSERT_EQ(::mincore(array.data(), Entries * sizeof(double), resident.data()), 0);
  const auto residentPages = std::count_if(resident.begin(), resident.end(),
                                           [](unsigned char page) { return (page & 1) != 0; });
  EXPECT_EQ(static_cast<std::size_t>(residentPages),
            (Written * sizeof(double) + PageSize - 1) / PageSize);
  EXPECT_EQ(array[Written], 0.0);
  EXPECT_EQ(array[Entries - 1], 0.0);
}

// Populating pages ahead of a write makes them resident and leaves what they hold: the
// written values stay, the fresh entries read 0.
TEST(DynArray, PopulatingPagesKeepsWhatTheyHold) {
  constexpr std::size_t PageSize = 4096;
  constexpr std::size_t Entries = 2 * HugePageSize / sizeof(double);
  DynArray<double> array = DynArray<double>::Allocate(Entries);
  for (std::size_t i = 0; i < 1000; ++i) array.data()[i] = 1.5 + static_cast<double>(i);

  PopulateForWriting(array.data() + 700, (Entries - 700) * sizeof(double));

  std::vector<unsigned char> resident(Entries * sizeof(double) / PageSize);
  ASSERT_EQ(::mincore(array.data(), Entries * sizeof(double), resident.data()), 0);
  EXPECT_TRUE(std::all_of(resident.begin(), resident.end(),
                          [](unsigned char page) { return (page & 1) != 0; }));
  for (std::size_t i = 0; i < 1000; ++i) ASSERT_EQ(array[i], 1.5 + static_cast<double>(i)) << i;
  EXPECT_EQ(array[1000], 0.0);
  EXPECT_EQ(array[Entries - 1], 0.0);
}

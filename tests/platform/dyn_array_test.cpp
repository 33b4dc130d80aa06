#include "platform/dyn_array.h"

#include <gtest/gtest.h>

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

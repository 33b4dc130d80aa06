#include <gtest/gtest.h>

#include <string>

#include "support/window_fixture.h"

namespace {

constexpr std::int64_t Frames = 1000;
constexpr std::uint32_t Samples = 600;
constexpr std::size_t TriggerAt = 100;
constexpr double Earlier = 5.0;  // what every row holds before a count

// Slot s holds one impact in band s of its raw trace and in band 10 + s of its filtered
// trace, so a count that reads the wrong trace or writes the wrong row shows.
int RawBand(int slot) {
  return slot;
}
int FilteredBand(int slot) {
  return 10 + slot;
}

DynArray<double> TraceWithPeakInBand(int band, std::size_t length = Frames + 1) {
  DynArray<double> trace = DynArray<double>::Allocate(length);
  trace[TriggerAt] = 25.0 + 10.0 * band;
  return trace;
}

class ImpactCounting : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    FillTracesAndTables();
  }

  void FillTracesAndTables() {
    TForm1& w = Window();
    w.FrameCount = Frames;
    for (int slot = 0; slot < SlotCount; ++slot) {
      w.Acceleration[slot] = TraceWithPeakInBand(RawBand(slot));
      w.FilteredAcceleration[slot] = TraceWithPeakInBand(FilteredBand(slot));
    }
    for (ImpactTable* table : {&w.ImpactCounts, &w.FilteredImpactCounts}) {
      for (ImpactRow& row : *table) row.fill(Earlier);
    }
  }

  // Every row of `table` still holds what it held, but row `countedRow`, whose `band` holds
  // `timesCounted` impacts more.
  static void ExpectTable(const ImpactTable& table, int countedRow, int band, int timesCounted) {
    for (int row = 0; row <= SlotCount; ++row) {
      for (int b = 0; b < ImpactBandCount; ++b) {
        const double added = row == countedRow && b == band ? timesCounted : 0;
        EXPECT_EQ(table[row][b], Earlier + added) << "row " << row << " band " << b;
      }
    }
  }
};

TEST_F(ImpactCounting, EachSlotAddsItsTraceToItsRowOfItsTable) {
  struct Case {
    const char* Routine;
    void (TForm1::*Count)(int, std::uint32_t);
    ImpactTable TForm1::*Counted;
    ImpactTable TForm1::*Untouched;
    int (*Band)(int);
  };
  for (const Case& c : {Case{"CountImpacts", &TForm1::CountImpacts, &TForm1::ImpactCounts,
                             &TForm1::FilteredImpactCounts, RawBand},
                        Case{"CountFilteredImpacts", &TForm1::CountFilteredImpacts,
                             &TForm1::FilteredImpactCounts, &TForm1::ImpactCounts, FilteredBand}}) {
    for (int slot = 0; slot < SlotCount; ++slot) {
      SCOPED_TRACE(std::string(c.Routine) + " slot " + std::to_string(slot));
      FillTracesAndTables();
      TForm1& w = Window();
      for (int times = 1; times <= 2; ++times) {
        (w.*c.Count)(slot, Samples);
        ExpectTable(w.*c.Counted, slot + 1, c.Band(slot), times);
        ExpectTable(w.*c.Untouched, -1, 0, 0);
      }
    }
  }
}

TEST_F(ImpactCounting, NothingIsCountedWhenNIsZero) {
  TForm1& w = Window();
  w.CountImpacts(3, 0);
  w.CountFilteredImpacts(3, 0);
  ExpectTable(w.ImpactCounts, -1, 0, 0);
  ExpectTable(w.FilteredImpactCounts, -1, 0, 0);
}

// A trace shorter than the counter may read is refused before anything is counted.
TEST_F(ImpactCounting, ATraceTooShortIsRefusedAndCountsNothing) {
  TForm1& w = Window();
  w.Acceleration[2] = TraceWithPeakInBand(RawBand(2), Samples);
  w.FilteredAcceleration[2] = TraceWithPeakInBand(FilteredBand(2), Samples);
  EXPECT_THROW(w.CountImpacts(2, Samples), DynArrayOutOfRange);
  EXPECT_THROW(w.CountFilteredImpacts(2, Samples), DynArrayOutOfRange);
  ExpectTable(w.ImpactCounts, -1, 0, 0);
  ExpectTable(w.FilteredImpactCounts, -1, 0, 0);
}

}  // namespace

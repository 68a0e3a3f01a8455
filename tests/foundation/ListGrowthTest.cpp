#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ArrayAllocationProbe.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "ListTestHelpers.h"
#include "TestSupport.h"
#include "Tvk_List.h"

using listtest::Contents;
using listtest::Fill;
using listtest::Item;

namespace {

using Slots = std::vector<std::size_t>;

TEST(Tvk_ListGrowth, AppendingGrowsByAQuarterPlus32) {
  ArrayAllocationProbe probe;
  Tvk_List list;
  for (int i = 0; i < 32; ++i) list.AddItem(Item(i % 64));
  EXPECT_EQ(probe.SlotCounts(), Slots{32});
  list.AddItem(Item(32));
  EXPECT_EQ(probe.SlotCounts(), (Slots{32, 72}));
  for (int i = 33; i < 1060; ++i) list.AddItem(Item(i % 64));
  EXPECT_EQ(probe.SlotCounts(), (Slots{32, 72, 122, 184, 262, 359, 480, 632, 822, 1059, 1355}));
  for (int i = 0; i < 1060; ++i) ASSERT_EQ(list.GetItem(i), Item(i % 64)) << i;
}

TEST(Tvk_ListGrowth, AddItemOrNullGrowsOnlyWithoutAHole) {
  ArrayAllocationProbe probe;
  Tvk_List list;
  Fill(list, 32);
  list.SetItem(nullptr, 3);
  list.AddItemOrNULL(Item(40));
  EXPECT_EQ(probe.SlotCounts(), Slots{32});
  list.AddItemOrNULL(Item(41));
  EXPECT_EQ(probe.SlotCounts(), (Slots{32, 72}));
}

TEST(Tvk_ListGrowth, InsertingKeepsASpareSlotAndGrowsFromCountPlusOne) {
  ArrayAllocationProbe probe;
  Tvk_List list;
  for (int i = 0; i < 40; ++i) list.InsertItem(Item(i), 0);
  // 33 from a base of 1; then at 32 entries 33 >= 33 grows from 33 to 73.
  EXPECT_EQ(probe.SlotCounts(), (Slots{33, 73}));
  EXPECT_EQ(list.GetItem(0), Item(39));
  EXPECT_EQ(list.GetItem(39), Item(0));
}

TEST(Tvk_ListGrowth, AllocateAndSetItemGrowFromTheRequestedCount) {
  ArrayAllocationProbe probe;
  Tvk_List list;
  list.Allocate(100);  // 157 slots
  list.Allocate(155);  // below length - 1: no growth
  EXPECT_EQ(probe.SlotCounts(), Slots{157});
  list.Allocate(156);
  EXPECT_EQ(probe.SlotCounts(), (Slots{157, 227}));

  Tvk_List other;
  other.SetItem(Item(1), 7);  // Allocate(8)
  EXPECT_EQ(probe.SlotCounts(), (Slots{157, 227, 42}));
}

TEST(Tvk_ListGrowth, ClearKeepsTheArrayAndReleaseDropsIt) {
  ArrayAllocationProbe probe;
  Tvk_List list;
  Fill(list, 30);
  list.ClearItems();
  Fill(list, 32);
  EXPECT_EQ(probe.SlotCounts(), Slots{32});
  list.ReleaseItems();
  list.AddItem(Item(0));
  EXPECT_EQ(probe.SlotCounts(), (Slots{32, 32}));
}

TEST(Tvk_ListGrowth, RefusedGrowthKeepsEverythingWithoutAnEngine) {
  ASSERT_EQ(globalEngine, nullptr);
  testsupport::RecordingMessageBoxes boxes;
  ArrayAllocationProbe probe;
  Tvk_List list;
  Fill(list, 32);
  probe.Refuse(true);

  EXPECT_EQ(list.AddItem(Item(40)), -1);
  EXPECT_FALSE(list.InsertItem(Item(41), 0));
  EXPECT_FALSE(list.Allocate(40));
  list.SetItem(Item(42), 50);

  std::vector<int> first32;
  for (int i = 0; i < 32; ++i) first32.push_back(i);
  EXPECT_EQ(Contents(list), first32);
  EXPECT_TRUE(boxes.Boxes().empty());

  probe.Refuse(false);  // the old array is still whole and still grows
  EXPECT_EQ(list.AddItem(Item(40)), 32);
}

// List messages travel through the engine's message-box emitter, which needs
// globalEngine set and a sink installed.
class Tvk_ListMessages : public ::testing::Test {
 protected:
  Tvk_ListMessages() : previousEngine_(globalEngine) {
    globalEngine = engine_.Get();
    engine_.sink.Clear();
  }
  ~Tvk_ListMessages() override { globalEngine = previousEngine_; }

  std::vector<std::string> BoxMessages() const { return engine_.sink.TextsOfType(kMessageBox); }

  testsupport::StartedEngine engine_;

 private:
  EngineInterface* previousEngine_;
};

TEST_F(Tvk_ListMessages, RefusedGrowthNamesTheLengthItTriedToReach) {
  ArrayAllocationProbe probe;
  Tvk_List list;
  Fill(list, 32);
  probe.Refuse(true);

  EXPECT_EQ(list.AddItem(Item(40)), -1);
  EXPECT_EQ(BoxMessages(), std::vector<std::string>{"Error couldn't extend list 72"});
  EXPECT_EQ(list.GetItemCount(), 32);
}

TEST_F(Tvk_ListMessages, RefusedInsertionReportsTheSmallArrayToo) {
  ArrayAllocationProbe probe;
  Tvk_List list;
  Fill(list, 32);
  probe.Refuse(true);

  EXPECT_FALSE(list.InsertItem(Item(40), 0));
  EXPECT_EQ(BoxMessages(), (std::vector<std::string>{"Error couldn't extend list 73",
                                                     "Tvk_List::InsertItem Error reallist is to small!!!"}));
  EXPECT_EQ(list.GetItem(0), Item(0));
}

TEST_F(Tvk_ListMessages, LengthsBeyondTheIndexRangeFailWithoutAllocating) {
  ArrayAllocationProbe probe;
  Tvk_List list;
  Fill(list, 3);

  EXPECT_FALSE(list.Allocate(INT_MAX));
  EXPECT_FALSE(list.Allocate(2000000000));
  list.SetItem(Item(9), INT_MAX);

  EXPECT_EQ(BoxMessages(), (std::vector<std::string>{"Error couldn't extend list 2684354590",
                                                     "Error couldn't extend list 2500000032",
                                                     "Error couldn't extend list 2684354592"}));
  EXPECT_EQ(probe.SlotCounts(), Slots{32});
  EXPECT_EQ(Contents(list), (std::vector<int>{0, 1, 2}));
}

}  // namespace

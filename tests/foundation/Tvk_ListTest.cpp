#include "Tvk_List.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ListTestHelpers.h"

using listtest::Contents;
using listtest::Fill;
using listtest::Item;

namespace {

constexpr int N = -1;  // a null slot in expected contents

struct EdgeCase {
  const char* name;
  int initialCount;
  std::function<bool(Tvk_List&)> operation;
  bool result;
  std::vector<int> contents;
};

bool Done(Tvk_List&) { return true; }

const EdgeCase kEdgeCases[] = {
    {"insert past the end appends", 3, [](Tvk_List& l) { return l.InsertItem(Item(9), 10); }, true, {0, 1, 2, 9}},
    {"insert at the count appends", 3, [](Tvk_List& l) { return l.InsertItem(Item(9), 3); }, true, {0, 1, 2, 9}},
    {"insert at the front moves all up", 3, [](Tvk_List& l) { return l.InsertItem(Item(9), 0); }, true, {9, 0, 1, 2}},
    {"insert in the middle", 3, [](Tvk_List& l) { return l.InsertItem(Item(9), 1); }, true, {0, 9, 1, 2}},
    {"insert at a negative index", 3, [](Tvk_List& l) { return l.InsertItem(Item(9), -1); }, false, {0, 1, 2}},
    {"insert into an empty list", 0, [](Tvk_List& l) { return l.InsertItem(Item(9), 5); }, true, {9}},
    {"set past the end fills with holes", 0, [](Tvk_List& l) { l.SetItem(Item(9), 7); return Done(l); }, true,
     {N, N, N, N, N, N, N, 9}},
    {"set just past the end", 2, [](Tvk_List& l) { l.SetItem(Item(9), 2); return Done(l); }, true, {0, 1, 9}},
    {"set overwrites", 3, [](Tvk_List& l) { l.SetItem(Item(9), 1); return Done(l); }, true, {0, 9, 2}},
    {"set at a negative index", 2, [](Tvk_List& l) { l.SetItem(Item(9), -1); return Done(l); }, true, {0, 1}},
    {"set null keeps the slot", 3, [](Tvk_List& l) { l.SetItem(nullptr, 1); return Done(l); }, true, {0, N, 2}},
    {"allocate below the count shortens", 5, [](Tvk_List& l) { return l.Allocate(2); }, true, {0, 1}},
    {"allocate above the count adds holes", 2, [](Tvk_List& l) { return l.Allocate(4); }, true, {0, 1, N, N}},
    {"allocate zero empties", 3, [](Tvk_List& l) { return l.Allocate(0); }, true, {}},
    {"allocate a negative count is refused", 2, [](Tvk_List& l) { return l.Allocate(-1); }, false, {0, 1}},
    {"remove at the count", 5, [](Tvk_List& l) { l.RemoveItem(5); return Done(l); }, true, {0, 1, 2, 3, 4}},
    {"remove at a negative index", 3, [](Tvk_List& l) { l.RemoveItem(-1); return Done(l); }, true, {0, 1, 2}},
    {"remove moves later slots down", 5, [](Tvk_List& l) { l.RemoveItem(1); return Done(l); }, true, {0, 2, 3, 4}},
    {"remove the last", 3, [](Tvk_List& l) { l.RemoveItem(2); return Done(l); }, true, {0, 1}},
};

TEST(Tvk_List, EdgeCasesOfInsertSetAllocateRemove) {
  for (const EdgeCase& c : kEdgeCases) {
    SCOPED_TRACE(c.name);
    Tvk_List list;
    Fill(list, c.initialCount);
    EXPECT_EQ(c.operation(list), c.result);
    EXPECT_EQ(Contents(list), c.contents);
  }
}

TEST(Tvk_List, AddItemOrNullFillsTheLowestHoleFirst) {
  Tvk_List list;
  Fill(list, 7);
  list.SetItem(nullptr, 5);
  list.SetItem(nullptr, 2);

  EXPECT_EQ(list.AddItemOrNULL(Item(20)), 2);
  EXPECT_EQ(list.GetItemCount(), 7);
  EXPECT_EQ(list.AddItemOrNULL(Item(21)), 5);
  EXPECT_EQ(list.AddItemOrNULL(Item(22)), 7);
  EXPECT_EQ(Contents(list), (std::vector<int>{0, 1, 20, 3, 4, 21, 6, 22}));
}

TEST(Tvk_List, AddItemAnswersTheIndexOfTheNewSlot) {
  Tvk_List list;
  list.AddItem(nullptr);  // a null entry still takes an index
  EXPECT_EQ(list.AddItem(Item(1)), 1);
  EXPECT_EQ(list.AddItem(Item(2)), 2);
  EXPECT_EQ(list.GetItemCount(), 3);
}

TEST(Tvk_List, OutOfRangeReadsAnswerNull) {
  Tvk_List list;
  EXPECT_EQ(list.GetItem(0), nullptr);
  Fill(list, 3);
  EXPECT_EQ(list.GetItem(-1), nullptr);
  EXPECT_EQ(list.GetItem(3), nullptr);
  EXPECT_EQ(list.GetItem(2), Item(2));
  // Slots beyond the count are not contents, even where the array has them.
  list.Allocate(1);
  EXPECT_EQ(list.GetItem(1), nullptr);
}

TEST(Tvk_List, ClearAndReleaseEmptyTheList) {
  Tvk_List list;
  Fill(list, 4);
  list.ClearItems();
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.AddItem(Item(5)), 0);
  list.ReleaseItems();
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.GetItem(0), nullptr);
  EXPECT_EQ(list.AddItem(Item(6)), 0);
  EXPECT_EQ(Contents(list), std::vector<int>{6});
}

TEST(Tvk_List, ManyOperationsKeepEveryIndexStable) {
  // Holes keep the other entries where they are across growth.
  Tvk_List list;
  for (int i = 0; i < 40; ++i) list.SetItem(Item(i % 64), i * 25);
  EXPECT_EQ(list.GetItemCount(), 39 * 25 + 1);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(list.GetItem(i * 25), Item(i % 64)) << i;
  EXPECT_EQ(list.GetItem(1), nullptr);
}

}  // namespace

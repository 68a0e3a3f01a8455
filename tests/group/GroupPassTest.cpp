#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "EngineInterfaceExt.h"
#include "GroupFixture.h"

namespace grouptest {
namespace {

class GroupPassTest : public GroupTest {
 protected:
  // The group's own part of the count its channels compare.
  int GroupTreeCount() { return group->GetTreeCalculateCount() - engine->GetTreeCalculateCount(); }
};

TEST_F(GroupPassTest, TreeCountRunsFromMinusOneTo30000AndWraps) {
  EXPECT_EQ(GroupTreeCount(), -1);
  for (int i = 0; i < 30001; ++i) group->IncreaseTreeCount();
  EXPECT_EQ(GroupTreeCount(), 30000);
  group->IncreaseTreeCount();
  EXPECT_EQ(GroupTreeCount(), 0);
}

TEST_F(GroupPassTest, TreeCalculateCountAddsTheEnginesCount) {
  engine->SetTreeCalculateCount(500);
  group->IncreaseTreeCount();
  group->IncreaseTreeCount();
  EXPECT_EQ(group->GetTreeCalculateCount(), 501);
}

// Each call starts a new pass, whether or not the start slot holds a channel.
TEST_F(GroupPassTest, CallStartChannelCallsTheStartChannelAndAdvancesTheCount) {
  struct Case {
    int start;
    std::vector<std::string> called;
  };
  const Case cases[] = {
      {-1, {"First"}}, {0, {"First"}}, {2, {"Third"}}, {1, {}}, {7, {}}, {-2, {}},
  };
  Add("First");
  Add("Hole");
  Add("Third");
  group->RemoveChannel(1);

  int expectedCount = -1;
  for (const Case& c : cases) {
    log.called.clear();
    group->SetStartChannel(c.start);
    group->CallStartChannel();
    ++expectedCount;
    EXPECT_EQ(log.called, c.called) << "start " << c.start;
    EXPECT_EQ(GroupTreeCount(), expectedCount) << "start " << c.start;
    EXPECT_EQ(group->GetStartChannel(), c.start);
  }
}

TEST_F(GroupPassTest, ParentWindowFallsBackToTheEnginesWindow) {
  auto hostWindow = reinterpret_cast<HWND>(std::uintptr_t{0x1000});
  auto ownWindow = reinterpret_cast<HWND>(std::uintptr_t{0x2000});
  engine->engineInterfaceExt->SetWindowHandle(hostWindow);
  EXPECT_EQ(group->GetParentWindow(), hostWindow);
  group->SetParentWindow(ownWindow);
  EXPECT_EQ(group->GetParentWindow(), ownWindow);
  group->SetParentWindow(nullptr);
  EXPECT_EQ(group->GetParentWindow(), hostWindow);
}

TEST_F(GroupPassTest, TypeChangeSaveIsRecordedAndAnnouncedEveryTime) {
  GUID none = kWildcardGuid;
  EXPECT_EQ(group->GetChannelTypeChangeSave(&none), -1);
  EXPECT_EQ(none, kZeroGuid);

  const GUID first{0x12345678, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};
  const GUID second{0x9ABCDEF0, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 11}};
  engine.sink.Clear();
  group->SetChannelTypeChangeSave(3, first);
  group->SetChannelTypeChangeSave(12, second);

  GUID type = kZeroGuid;
  EXPECT_EQ(group->GetChannelTypeChangeSave(&type), 12);
  EXPECT_EQ(type, second);
  EXPECT_EQ(group->GetChannelTypeChangeSave(nullptr), 12);
  EXPECT_EQ(engine.sink.TextsOfType(kMessageBox),
            (std::vector<std::string>{"SetChannelTypeChangeSave 3", "SetChannelTypeChangeSave 12"}));
}

TEST_F(GroupPassTest, NewGroupsAreUnregisteredWithTheirOwnGuid) {
  Tvk_ChannelGroup second(engine.Get());
  globalEngine = engine.Get();
  Tvk_ChannelGroup fromGlobal;
  EXPECT_NE(group->GetUniqueGroupGuid(), second.GetUniqueGroupGuid());
  EXPECT_FALSE(IsZeroGuid(group->GetUniqueGroupGuid()));
  EXPECT_EQ(fromGlobal.GetEngineInterface(), engine.Get());
  EXPECT_EQ(second.GetGroupIndex(), -1);
  EXPECT_EQ(second.GetPoolNr(), -1);
  EXPECT_EQ(second.GetPoolName(), nullptr);
}

}  // namespace
}  // namespace grouptest

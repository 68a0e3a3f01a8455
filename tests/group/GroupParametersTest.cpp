#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "GroupFixture.h"

namespace grouptest {
namespace {

const GUID kSpeedType{0x0A0B0C0D, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};

ParameterInterfaceInfo Parameter(const char* name, GUID type = kSpeedType) {
  ParameterInterfaceInfo info{};
  CopyText(info.name, name, sizeof(info.name) - 1);
  info.typeGuid = type;
  return info;
}

std::string NameAt(Tvk_ChannelGroup& group, int index) { return group.GetParameterInfo(index).name; }

TEST_F(GroupTest, ParameterSlotsShrinkAtTheEndAndLeaveHolesInTheMiddle) {
  EXPECT_EQ(group->AddParameterInfo(Parameter("a")), 0);
  EXPECT_EQ(group->AddParameterInfo(Parameter("b")), 1);
  EXPECT_EQ(group->AddParameterInfo(Parameter("c")), 2);

  group->RemoveParameterInfo(2);
  EXPECT_EQ(group->GetParameterCount(), 2);

  group->RemoveParameterInfo(0);
  EXPECT_EQ(group->GetParameterCount(), 2);
  ParameterInterfaceInfo hole = group->GetParameterInfo(0);
  EXPECT_STREQ(hole.name, "");
  EXPECT_EQ(hole.typeGuid, kZeroGuid);

  EXPECT_EQ(group->AddParameterInfo(Parameter("d")), 0);
  EXPECT_EQ(NameAt(*group, 0), "d");
  EXPECT_EQ(group->GetParameterInfo(0).typeGuid, kSpeedType);
  EXPECT_EQ(NameAt(*group, 1), "b");
  EXPECT_EQ(group->AddParameterInfo(Parameter("e")), 2);
}

TEST_F(GroupTest, ParameterIndicesOutsideTheListAreEmptyOrIgnored) {
  group->AddParameterInfo(Parameter("a"));
  for (int index : {-1, 1, 100}) {
    ParameterInterfaceInfo info = group->GetParameterInfo(index);
    EXPECT_STREQ(info.name, "") << index;
    EXPECT_EQ(info.typeGuid, kZeroGuid) << index;
  }
  group->RemoveParameterInfo(-1);
  group->RemoveParameterInfo(1);
  group->SetParameterInfo(Parameter("x"), -1);
  EXPECT_EQ(group->GetParameterCount(), 1);
  EXPECT_EQ(NameAt(*group, 0), "a");
}

TEST_F(GroupTest, SetParameterInfoGrowsTheListWithHolesAndOverwrites) {
  group->SetParameterInfo(Parameter("far"), 3);
  EXPECT_EQ(group->GetParameterCount(), 4);
  EXPECT_EQ(NameAt(*group, 2), "");
  EXPECT_EQ(NameAt(*group, 3), "far");
  group->SetParameterInfo(Parameter("again", kWildcardGuid), 3);
  EXPECT_EQ(NameAt(*group, 3), "again");
  EXPECT_EQ(group->GetParameterInfo(3).typeGuid, kWildcardGuid);
  EXPECT_EQ(group->AddParameterInfo(Parameter("first")), 0);
}

// Names are cut to 38 characters on the way in, also when the caller's
// 40-byte field carries no terminator.
TEST_F(GroupTest, ParameterNamesAreCutTo38Characters) {
  const std::string name45(45, 'n');
  ParameterInterfaceInfo unterminated{};
  std::memset(unterminated.name, 'u', sizeof(unterminated.name));
  struct Case {
    ParameterInterfaceInfo info;
    std::string stored;
  };
  const Case cases[] = {
      {Parameter(name45.c_str()), std::string(38, 'n')},
      {Parameter(std::string(38, 'x').c_str()), std::string(38, 'x')},
      {unterminated, std::string(38, 'u')},
  };
  for (const Case& c : cases) {
    int index = group->AddParameterInfo(c.info);
    EXPECT_EQ(NameAt(*group, index), c.stored) << index;
  }
}

// A plain channel stands in for the caller's public call: its run holds the
// arguments in parameter order.
class ParameterChannelTest : public GroupTest {
 protected:
  ParameterChannelTest() {
    called = engine->CreateNewGroup("Called", false, 0);
    caller = engine->CreateNewGroup("Caller", false, 0);
    callerChannel = Add("Call", caller);
    first = Add("First", caller);
    second = Add("Second", caller);
    callerChannel->Link(first);
    callerChannel->Link(second);
  }

  Tvk_ChannelGroup* called = nullptr;
  Tvk_ChannelGroup* caller = nullptr;
  LinkingChannel* callerChannel = nullptr;
  LinkingChannel* first = nullptr;
  LinkingChannel* second = nullptr;
};

TEST_F(ParameterChannelTest, ParametersAreTheChildrenOfTheParameterChannel) {
  ASSERT_NE(called, nullptr);
  ASSERT_NE(caller, nullptr);
  EXPECT_EQ(called->GetParameterChannel(0), nullptr);

  called->SetParameterChannel(callerChannel);
  EXPECT_EQ(called->GetParameterChannel(0), first);
  EXPECT_EQ(called->GetParameterChannel(1), second);
  EXPECT_EQ(called->GetParameterChannel(-1), nullptr);

  called->SetParameterChannel(nullptr);
  EXPECT_EQ(called->GetParameterChannel(0), nullptr);
}

TEST_F(ParameterChannelTest, AParameterChannelDeletedByItsGroupIsNoLongerAnswered) {
  ASSERT_NE(called, nullptr);
  called->SetParameterChannel(callerChannel);
  caller->RemoveChannel(callerChannel);
  EXPECT_EQ(called->GetParameterChannel(0), nullptr);
}

// Inside the called group a TVO_PARAMETER channel answers its parent with the
// caller's argument for its parameter number.
TEST_F(ParameterChannelTest, AParameterChannelsParentReachesTheCallersArgument) {
  ASSERT_NE(called, nullptr);
  called->AddParameterInfo(Parameter("first"));
  called->AddParameterInfo(Parameter("second"));
  LinkingChannel* inside = Add("Inside", called);
  LinkingChannel* parameter = Add("Parameter", called);
  parameter->SetChannelInterfaceType(TVO_PARAMETER);
  channelInternal.SetParameterInfo(parameter, 1);
  inside->Link(parameter);

  called->SetParameterChannel(callerChannel);
  EXPECT_EQ(inside->GetChild(0), second);
}

}  // namespace
}  // namespace grouptest

// Interface type changes, the public-call record, and unique public names.

#include <cstring>
#include <functional>

#include "ChannelTestSupport.h"
#include "PublicCallInfo.h"

namespace channeltest {
namespace {

class InterfaceTypeTest : public ChannelTest {};

TEST_F(InterfaceTypeTest, SomeTypesAreFinal) {
  struct Case {
    int from;
    int to;
    int result;
    const char* message;  // error message, or null
  };
  const Case cases[] = {
      {TVO_PUBLICCALL, TVO_PRIVATE, TVO_PUBLICCALL,
       "Tvk_Channel::SetChannelInterfaceType interface can't be changed TVO_PUBLICCALL"},
      {TVO_PARAMETER, TVO_PUBLIC, TVO_PARAMETER,
       "Tvk_Channel::SetChannelInterfaceType interface can't be changed TVO_PARAMETER"},
      {TVO_CUSTOMCHANNELGET, TVO_PUBLIC, TVO_CUSTOMCHANNELGET,
       "Tvk_Channel::SetChannelInterfaceType interface can't be changed TVO_CUSTOMCHANNELGET"},
      {TVO_CUSTOMCHANNELGET, TVO_PUBLICCUSTOMCHANNELGET, TVO_PUBLICCUSTOMCHANNELGET, nullptr},
      {TVO_PUBLICCUSTOMCHANNELGET, TVO_PRIVATE, TVO_PRIVATE, nullptr},
      {TVO_PUBLIC, TVO_PARAMETER, TVO_PARAMETER, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
    TestChannel* channel = Make<TestChannel>("c");
    channel->SetChannelInterfaceType(c.from);
    Sink().Clear();
    channel->SetChannelInterfaceType(c.to);
    EXPECT_EQ(channel->GetChannelInterfaceType(), c.result);
    if (c.message) {
      EXPECT_EQ(Sink().TextsOfType(kMessageError), std::vector<std::string>{c.message});
    } else {
      EXPECT_TRUE(Sink().Messages().empty());
    }
  }
}

// Public calls and parameter channels start without links or positions, with
// their own record.
TEST_F(InterfaceTypeTest, PublicCallsAndParametersDropTheirLinks) {
  for (int type : {TVO_PUBLICCALL, TVO_PARAMETER}) {
    SCOPED_TRACE(type);
    TestChannel* channel = Make<TestChannel>("c");
    channel->SetChildCreateType(ChildCreation(), 0);
    channel->SetChild(Make<TestChannel>("a"), -1, 0);
    channel->SetChannelInterfaceType(type);
    EXPECT_EQ(channel->GetChildCount(), 0);
    EXPECT_EQ(channelInternal.GetChildCreationCount(channel), 0);
    EXPECT_EQ(channelInternal.GetParameterInfo(channel) != nullptr, type == TVO_PARAMETER);
    EXPECT_EQ(channelInternal.GetAutoLoadGroup(channel), type == TVO_PUBLICCALL);
  }
}

TEST_F(InterfaceTypeTest, PublicCallRecordAndItsAccessors) {
  TestChannel* call = Make<TestChannel>("call");
  call->SetChannelInterfaceType(TVO_PUBLICCALL);

  PublicCallInfo info = channelInternal.GetPublicCallInfo(call);
  EXPECT_STREQ(info.channelName, "No Name");
  EXPECT_STREQ(info.poolName, "No Pool");
  EXPECT_STREQ(info.fileName, "No File");
  EXPECT_EQ(info.requestedPublicChannelNr, 0);
  EXPECT_EQ(info.autoLoadGroup, 1);
  EXPECT_EQ(info.dynamicAutoLoadGroup, 0);

  channelInternal.SetDynamicAutoLoadGroup(call, true);
  EXPECT_TRUE(channelInternal.GetDynamicAutoLoadGroup(call));
  EXPECT_FALSE(channelInternal.GetAutoLoadGroup(call));
  channelInternal.SetAutoLoadGroup(call, true);
  EXPECT_TRUE(channelInternal.GetAutoLoadGroup(call));
  EXPECT_FALSE(channelInternal.GetDynamicAutoLoadGroup(call));
  channelInternal.SetAutoLoadGroup(call, false);
  EXPECT_FALSE(channelInternal.GetAutoLoadGroup(call));

  channelInternal.SetRequestedPublicChannelNr(call, 2);
  EXPECT_EQ(channelInternal.GetPublicCallInfo(call).requestedPublicChannelNr, 2);
  TestChannel* plain = Make<TestChannel>("plain");
  channelInternal.SetRequestedPublicChannelNr(plain, 2);
  channelInternal.SetAutoLoadGroup(plain, true);
  EXPECT_FALSE(channelInternal.GetAutoLoadGroup(plain));

  // A record whose texts fill their fields without a terminator.
  PublicCallInfo given;
  std::memset(given.channelName, 'c', sizeof(given.channelName));
  std::memset(given.poolName, 'p', sizeof(given.poolName));
  std::memset(given.fileName, 'f', sizeof(given.fileName));
  given.requestedPublicChannelNr = 3;
  given.childCreation.userValue = 9;
  EXPECT_TRUE(channelInternal.SetPublicCallInfo(call, given));
  info = channelInternal.GetPublicCallInfo(call);
  EXPECT_EQ(std::string(info.channelName), std::string(78, 'c'));
  EXPECT_EQ(std::string(info.poolName), std::string(78, 'p'));
  EXPECT_EQ(std::string(info.fileName), std::string(259, 'f'));
  EXPECT_EQ(info.requestedPublicChannelNr, 3);
  EXPECT_EQ(info.childCreation.userValue, 1) << "the embedded position is always the default one";
  EXPECT_EQ(channelInternal.TranslateGroupInterfaceNr(call, 5), 5) << "no translation built yet";
}

TEST_F(InterfaceTypeTest, PublicNamesGetACounterInTheirGroup) {
  struct Case {
    std::vector<std::pair<std::string, int>> existing;  // name, interface type
    std::string name;
    std::string expected;
  };
  const std::string longName(500, 'q');
  const std::vector<Case> cases = {
      {{}, "Speed", "Speed"},
      {{{"Speed", TVO_PUBLIC}}, "Speed", "Speed(02)"},
      {{{"Speed", TVO_PUBLIC}, {"Speed(02)", TVO_PUBLIC}}, "Speed", "Speed(03)"},
      {{{"Speed(09)", TVO_PUBLIC}}, "Speed(09)", "Speed(10)"},
      {{{"Speed(50)", TVO_PUBLIC}}, "Speed(50)", "Speed(50)(02)"},
      {{{"Speed(7)", TVO_PUBLIC}}, "Speed(7)", "Speed(7)(02)"},
      {{{"X(-5)", TVO_PUBLIC}}, "X(-5)", "X(-5)(02)"},
      {{{"ab)", TVO_PUBLIC}}, "ab)", "ab)(02)"},
      {{{"a(bc", TVO_PUBLIC}}, "a(bc", "a(bc(02)"},
      {{{"speed", TVO_PUBLICCUSTOMCHANNELGET}}, "SPEED", "SPEED(02)"},
      {{{"Speed", TVO_PRIVATE}}, "Speed", "Speed"},
      {{{longName, TVO_PUBLIC}}, longName, longName + "(02)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tvk_ChannelGroup group(engine.Get());
    for (const auto& [name, type] : c.existing) {
      auto* other = new TestChannel(name.c_str());
      group.AddChannel(other);
      other->SetChannelInterfaceType(type);
    }
    auto* channel = new TestChannel(c.name.c_str());
    group.AddChannel(channel);
    channel->SetChannelInterfaceType(TVO_PUBLIC);
    EXPECT_EQ(channel->Name(), c.expected);
  }
}

}  // namespace
}  // namespace channeltest

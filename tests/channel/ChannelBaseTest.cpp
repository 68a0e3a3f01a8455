// The channel object itself: a new channel, names, change stamps, the type
// record, and ChannelInternal's answers for no channel at all.

#include <cstdint>
#include <functional>

#include "ChannelDependency.h"
#include "ChannelPools.h"
#include "ChannelTestSupport.h"
#include "Platform.h"
#include "PublicCallInfo.h"

namespace channeltest {
namespace {

class ChannelBaseTest : public ChannelTest {};

TEST_F(ChannelBaseTest, NewChannelStartsPrivateNamelessAndOutsideAnyGroup) {
  Tvk_Channel* channel = Make<Tvk_Channel>();
  EXPECT_EQ(channel->GetChannelInterfaceType(), TVO_PRIVATE);
  EXPECT_EQ(channel->GetChannelName(), nullptr);
  EXPECT_EQ(channel->GetChannelGroup(), nullptr);
  EXPECT_EQ(channel->GetEngineInterface(), engine.Get());
  EXPECT_EQ(channelInternal.GetTreeCountMode(channel), 1);
  EXPECT_EQ(channelInternal.GetTreeRecalculateCount(channel), 0);
  EXPECT_FALSE(channelInternal.GetIgnoreTreeCount(channel));
  EXPECT_EQ(channelInternal.GetParameterInfo(channel), nullptr);
  EXPECT_FALSE(channelInternal.GetAutoLoadGroup(channel));
  EXPECT_EQ(channelInternal.GetChannelPoolInfo(channel), nullptr);
  EXPECT_FALSE(channel->GetIfUsePoolChannel());
  EXPECT_EQ(channel->GetChildCount(), 0);
  EXPECT_EQ(channelInternal.GetChildCreationCount(channel), 0);
}

TEST_F(ChannelBaseTest, NamesAreCopiesCutTo500Characters) {
  Tvk_Channel* channel = Make<Tvk_Channel>();
  const std::string longName(600, 'q');
  channel->SetChannelName(longName.c_str());
  EXPECT_EQ(std::string(channel->GetChannelName()), std::string(500, 'q'));

  std::string shortName = "Speed";
  channel->SetChannelName(shortName.c_str());
  shortName[0] = 'X';
  EXPECT_STREQ(channel->GetChannelName(), "Speed");

  channel->SetChannelName(nullptr);
  EXPECT_STREQ(channel->GetChannelName(), "Speed") << "a null name keeps the old one";
  channel->SetChannelName("");
  EXPECT_STREQ(channel->GetChannelName(), "");
}

// The stamp grows by the tick count plus one, in 32-bit arithmetic.
TEST_F(ChannelBaseTest, SetTimeStampAddsTheTickCountPlusOne) {
  Tvk_Channel* channel = Make<Tvk_Channel>();
  for (int i = 0; i < 3; ++i) {
    const std::uint32_t before = channel->GetTimeStamp();
    const std::uint32_t tickBefore = platform::GetTickCount();
    channel->SetTimeStamp();
    const std::uint32_t tickAfter = platform::GetTickCount();
    const std::uint32_t added = channel->GetTimeStamp() - before - 1u;
    EXPECT_NE(channel->GetTimeStamp(), before);
    EXPECT_GE(added - tickBefore, 0u);
    EXPECT_LE(added - tickBefore, tickAfter - tickBefore);
  }
}

// Test channels are built outside any plug-in library: no GetType to ask.
TEST_F(ChannelBaseTest, ChannelWithoutTypeExportReportsTheDefaultRecord) {
  Tvk_Channel* channel = Make<Tvk_Channel>();
  const ChannelType type = channel->GetChannelType();
  EXPECT_EQ(type.guid, kZeroGuid);
  EXPECT_EQ(type.baseGuid, kZeroGuid);
  EXPECT_EQ(type.versionInfo[1], 54);
  EXPECT_TRUE(Sink().Messages().empty());
}

TEST_F(ChannelBaseTest, BaseChannelStandsForNothingWithoutPools) {
  Tvk_Channel* channel = Make<Tvk_Channel>();
  TestChannel* caller = Make<TestChannel>("caller");
  ChildInfo node;
  EXPECT_EQ(channel->GetChannelFromChannel(caller, &node), nullptr);
  EXPECT_EQ(channel->GetChannelFromChannel(nullptr, nullptr), nullptr);
  EXPECT_EQ(channel->GetPoolChannelCount(), 0);
  EXPECT_EQ(channel->GetPoolChannel(0), nullptr);
}

TEST_F(ChannelBaseTest, OwnPoolRecordsIgnoreLetterCase) {
  Tvk_Channel* channel = Make<Tvk_Channel>();
  char outer[] = "Cars@Red";
  char shouted[] = "CARS@RED";
  char other[] = "Bikes";
  channelInternal.AddPoolToChannel(channel, outer);
  channelInternal.AddPoolToChannel(channel, shouted);
  channelInternal.AddPoolToChannel(channel, other);
  ChannelPoolInfo* info = channelInternal.GetChannelPoolInfo(channel);
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->poolNames.GetItemCount(), 2);
  EXPECT_EQ(info->timeStamp, 0u);
  channelInternal.RemovePoolFromChannel(channel, shouted);
  ASSERT_EQ(info->poolNames.GetItemCount(), 1);
  EXPECT_STREQ(static_cast<Tvk_String*>(info->poolNames.GetItem(0))->GetString(), "Bikes");
  // Memberships are freed with the channel (the leak checker watches).
  channelInternal.AddChannelToPool(channel, outer);
  channelInternal.AddChannelToPool(channel, shouted);
  channelInternal.RemoveChannelFromPool(channel, other);
}

// Pool users take the members whose base type, or own type, is their base.
TEST_F(ChannelBaseTest, PoolMembersMustShareTheUsersInterface) {
  TestChannel* user = Make<TestChannel>("user", MakeType(kTypeB, kBaseOfA));
  char path[] = "pool";
  channelInternal.AddPoolToChannel(user, path);
  TestChannel* sameBase = Make<TestChannel>("a");                               // base kBaseOfA
  TestChannel* isTheBase = Make<TestChannel>("b", MakeType(kBaseOfA, kTypeB));  // guid kBaseOfA
  TestChannel* unrelated = Make<TestChannel>("c", MakeType(kTypeB, kTypeB));
  PoolItem inner{};
  inner.index = 4;
  inner.channels.AddItem(unrelated);
  inner.channels.AddItem(sameBase);
  PoolItem pool{};
  pool.index = 2;
  pool.channels.AddItem(isTheBase);
  pool.channels.AddItem(unrelated);
  pool.subPoolItems.AddItem(&inner);
  channelInternal.AddChannelsFromPoolToPoolInfo(user, &pool);
  const Tvk_List& items = channelInternal.GetChannelPoolInfo(user)->items;
  ASSERT_EQ(items.GetItemCount(), 2);
  const auto* first = static_cast<ChannelPoolItemInfo*>(items.GetItem(0));
  const auto* second = static_cast<ChannelPoolItemInfo*>(items.GetItem(1));
  EXPECT_EQ(first->poolItemIndex, 2);
  EXPECT_EQ(first->channelIndex, 0);
  EXPECT_EQ(second->poolItemIndex, 4);
  EXPECT_EQ(second->channelIndex, 1);
  channelInternal.RecalculateChannelPoolInfo(user);
  EXPECT_EQ(items.GetItemCount(), 0) << "no registry: no pool to find again";
}

// Every operation that takes a channel first is safe with none.
TEST_F(ChannelBaseTest, ChannelInternalAnswersNothingForNoChannel) {
  ChannelInternal& ci = channelInternal;
  TestChannel* other = Make<TestChannel>("o");
  char path[] = "pool";
  Tvk_List dependencies;
  struct Case {
    const char* what;
    std::function<long long()> call;
    long long expected;
  };
  const std::vector<Case> cases = {
      {"SetChildByType parent", [&] { return ci.SetChildByType(nullptr, other, -1); }, -1},
      {"SetChildByType child", [&] { return ci.SetChildByType(other, nullptr, -1); }, -1},
      {"RemoveChildPosition", [&] { return ci.RemoveChildPosition(nullptr, 0), 0LL; }, 0},
      {"RemoveChild", [&] { return ci.RemoveChild(nullptr, other), 0LL; }, 0},
      {"RecalculateNodeOffsets", [&] { return ci.RecalculateNodeOffsets(nullptr), 0LL; }, 0},
      {"SortChilderen", [&] { return ci.SortChilderen(nullptr), 0LL; }, 0},
      {"GetChildCreationCount", [&] { return ci.GetChildCreationCount(nullptr); }, 0},
      {"GetChildLinkPosition", [&] { return ci.GetChildLinkPosition(nullptr, 0); }, -1},
      {"CheckChannelRequest", [&] { return ci.CheckChannelRequest(nullptr, 0, 0, other, 0); }, 0},
      {"CheckChannelRequest without requests", [&] { return ci.CheckChannelRequest(other, 0, 0, other, 0); }, 0},
      {"SetChannelIDIndexNr", [&] { return ci.SetChannelIDIndexNr(nullptr, 3), 0LL; }, 0},
      {"SetChannelGroup", [&] { return ci.SetChannelGroup(nullptr, nullptr), 0LL; }, 0},
      {"GetIfExternalChild", [&] { return ci.GetIfExternalChild(nullptr, 0); }, 0},
      {"SetPublicCallInfo", [&] { return ci.SetPublicCallInfo(nullptr, PublicCallInfo()); }, 0},
      {"SetPublicCallInfo of a private channel", [&] { return ci.SetPublicCallInfo(other, PublicCallInfo()); }, 0},
      {"GetPublicCallInfo", [&] { return ci.GetPublicCallInfo(nullptr).autoLoadGroup; }, 1},
      {"SetAutoLoadGroup", [&] { return ci.SetAutoLoadGroup(nullptr, true), 0LL; }, 0},
      {"SetDynamicAutoLoadGroup", [&] { return ci.SetDynamicAutoLoadGroup(nullptr, true), 0LL; }, 0},
      {"GetAutoLoadGroup", [&] { return ci.GetAutoLoadGroup(nullptr); }, 0},
      {"GetDynamicAutoLoadGroup", [&] { return ci.GetDynamicAutoLoadGroup(nullptr); }, 0},
      {"CheckPublicChannelInstanceRemoval", [&] { return ci.CheckPublicChannelInstanceRemoval(nullptr, other, 0), 0LL; },
       0},
      {"CheckPublicChannelRequest", [&] { return ci.CheckPublicChannelRequest(nullptr, other, 0, "p"); }, 0},
      {"SetRequestedPublicChannelNr", [&] { return ci.SetRequestedPublicChannelNr(nullptr, 2), 0LL; }, 0},
      {"DoPublicChannelNameCheck", [&] { return ci.DoPublicChannelNameCheck(nullptr), 0LL; }, 0},
      {"GetParameterInfo", [&] { return ci.GetParameterInfo(nullptr) != nullptr; }, 0},
      {"SetParameterInfo number", [&] { return ci.SetParameterInfo(nullptr, 2), 0LL; }, 0},
      {"SetParameterInfo record", [&] { return ci.SetParameterInfo(nullptr, ParameterInfo{}), 0LL; }, 0},
      {"GetChannelGetChildTime", [&] { return ci.GetChannelGetChildTime(nullptr); }, 0},
      {"UpdateCallingTime", [&] { return ci.UpdateCallingTime(nullptr), 0LL; }, 0},
      {"GetIgnoreTreeCount", [&] { return ci.GetIgnoreTreeCount(nullptr); }, 0},
      {"SetIgnoreTreeCount", [&] { return ci.SetIgnoreTreeCount(nullptr, true), 0LL; }, 0},
      {"GetChannelDepenency", [&] { return ci.GetChannelDepenency(nullptr, &dependencies), 0LL; }, 0},
      {"ReleaseChilderen", [&] { return ci.ReleaseChilderen(nullptr), 0LL; }, 0},
      {"GetChildInfo", [&] { return ci.GetChildInfo(nullptr, 0) != nullptr; }, 0},
      {"GetInternalChild", [&] { return ci.GetInternalChild(nullptr, 0) != nullptr; }, 0},
      {"GetChildCreateType", [&] { return ci.GetChildCreateType(nullptr, 0) != nullptr; }, 0},
      {"GetPublicChannelForPublicCall", [&] { return ci.GetPublicChannelForPublicCall(nullptr, true) != nullptr; }, 0},
      {"ReCreateChildInterface", [&] { return ci.ReCreateChildInterface(nullptr), 0LL; }, 0},
      {"CreatePublicInterface", [&] { return ci.CreatePublicInterface(nullptr), 0LL; }, 0},
      {"AddInterfaceItem", [&] { return ci.AddInterfaceItem(nullptr, 1), 0LL; }, 0},
      {"RemoveInterfaceItem", [&] { return ci.RemoveInterfaceItem(nullptr, 0), 0LL; }, 0},
      {"SwapInterfaceItems", [&] { return ci.SwapInterfaceItems(nullptr, 0, 1), 0LL; }, 0},
      {"GetIfUsePublicInterface", [&] { return ci.GetIfUsePublicInterface(nullptr); }, 0},
      {"GetPublicInterfaceCount", [&] { return ci.GetPublicInterfaceCount(nullptr); }, 0},
      {"GetPublicInterfaceItemNr", [&] { return ci.GetPublicInterfaceItemNr(nullptr, 0); }, -1},
      {"TranslateGroupInterfaceNr", [&] { return ci.TranslateGroupInterfaceNr(nullptr, 4); }, 4},
      {"SetTreeCountMode", [&] { return ci.SetTreeCountMode(nullptr, 2), 0LL; }, 0},
      {"GetTreeCountMode", [&] { return ci.GetTreeCountMode(nullptr); }, 0},
      {"GetTreeRecalculateCount", [&] { return ci.GetTreeRecalculateCount(nullptr); }, 0},
      {"AddChannelToPool", [&] { return ci.AddChannelToPool(nullptr, path), 0LL; }, 0},
      {"RemoveChannelFromPool", [&] { return ci.RemoveChannelFromPool(nullptr, path), 0LL; }, 0},
      {"AddPoolToChannel", [&] { return ci.AddPoolToChannel(nullptr, path), 0LL; }, 0},
      {"AddPoolToChannel without path", [&] { return ci.AddPoolToChannel(other, nullptr), 0LL; }, 0},
      {"RemovePoolFromChannel", [&] { return ci.RemovePoolFromChannel(nullptr, path), 0LL; }, 0},
      {"GetChannelPoolInfo", [&] { return ci.GetChannelPoolInfo(nullptr) != nullptr; }, 0},
      {"AddChannelsFromPoolToPoolInfo", [&] { return ci.AddChannelsFromPoolToPoolInfo(nullptr, nullptr), 0LL; }, 0},
      {"RecalculateChannelPoolInfo", [&] { return ci.RecalculateChannelPoolInfo(nullptr), 0LL; }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.call(), c.expected);
  }
  EXPECT_EQ(dependencies.GetItemCount(), 0);
  EXPECT_EQ(channelInternal.GetChannelPoolInfo(other), nullptr);
  EXPECT_TRUE(Sink().Messages().empty());
}

}  // namespace
}  // namespace channeltest

// Calculation passes: a channel reached several times in one pass calculates
// once; the pass is the engine's count, or its group's. And calling times,
// which channels of registered groups record only while tracking is on.

#include "ChannelTestSupport.h"
#include "Platform.h"

namespace channeltest {
namespace {

// Calculates once per pass and then calls its children through GetChild.
class WalkingChannel : public TestChannel {
 public:
  explicit WalkingChannel(const char* name) : TestChannel(name) { SetChildCreateType(ChildCreation(), 0); }
  void CallChannel() override {
    ++calls;
    if (!Pass()) return;
    ++calculations;
    for (int i = 0; i < GetChildCount(); ++i)
      if (Tvk_Channel* child = GetChild(i)) child->CallChannel();
  }
  int calculations = 0;
};

class CalculationPassTest : public ChannelTest {};

TEST_F(CalculationPassTest, SecondVisitInAPassIsRefusedAndCounted) {
  TestChannel* channel = Make<TestChannel>("c");
  EXPECT_TRUE(channel->Pass());
  EXPECT_FALSE(channel->Pass());
  EXPECT_EQ(channelInternal.GetTreeRecalculateCount(channel), 1);
  Ext()->IncreaseTreeCount();
  EXPECT_TRUE(channel->Pass());
  EXPECT_EQ(channelInternal.GetTreeRecalculateCount(channel), 0);
}

TEST_F(CalculationPassTest, RefusalCountWrapsAt256) {
  TestChannel* channel = Make<TestChannel>("c");
  ASSERT_TRUE(channel->Pass());
  for (int i = 0; i < 255; ++i) ASSERT_FALSE(channel->Pass());
  EXPECT_EQ(channelInternal.GetTreeRecalculateCount(channel), 255);
  EXPECT_FALSE(channel->Pass());
  EXPECT_EQ(channelInternal.GetTreeRecalculateCount(channel), 0);
}

TEST_F(CalculationPassTest, IgnoringTheTreeCountAlwaysCalculates) {
  TestChannel* channel = Make<TestChannel>("c");
  ASSERT_TRUE(channel->Pass());
  ASSERT_FALSE(channel->Pass());
  channelInternal.SetIgnoreTreeCount(channel, true);
  EXPECT_TRUE(channelInternal.GetIgnoreTreeCount(channel));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(channel->Pass());
  EXPECT_EQ(channelInternal.GetTreeRecalculateCount(channel), 0);
  channelInternal.SetIgnoreTreeCount(channel, false);
  EXPECT_FALSE(channel->Pass()) << "the last pass seen is still the current one";
}

// A group's pass is the engine's count plus its own, so joining a group, a
// group's own advance and the engine's frame each start a new pass.
TEST_F(CalculationPassTest, GroupsHaveTheirOwnPasses) {
  Tvk_ChannelGroup* first = RegisteredGroup("first");
  Tvk_ChannelGroup* second = RegisteredGroup("second");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  auto* a = new TestChannel("a");
  auto* b = new TestChannel("b");
  EXPECT_TRUE(a->Pass());
  EXPECT_TRUE(b->Pass());
  first->AddChannel(a);
  second->AddChannel(b);
  EXPECT_TRUE(a->Pass()) << "joining a group with a count of its own";
  EXPECT_TRUE(b->Pass());
  EXPECT_FALSE(a->Pass());

  first->IncreaseTreeCount();
  EXPECT_TRUE(a->Pass());
  EXPECT_FALSE(b->Pass()) << "another group's advance is not this group's pass";

  Ext()->IncreaseTreeCount();
  EXPECT_TRUE(a->Pass());
  EXPECT_TRUE(b->Pass());
}

// root -> (left, right) -> shared: the shared channel is reached twice per
// frame and calculates once.
TEST_F(CalculationPassTest, SharedChildCalculatesOncePerFrame) {
  Tvk_ChannelGroup* group = RegisteredGroup("walk");
  ASSERT_NE(group, nullptr);
  auto* root = new WalkingChannel("root");
  auto* left = new WalkingChannel("left");
  auto* right = new WalkingChannel("right");
  auto* shared = new WalkingChannel("shared");
  for (Tvk_Channel* c : {static_cast<Tvk_Channel*>(root), static_cast<Tvk_Channel*>(left),
                         static_cast<Tvk_Channel*>(right), static_cast<Tvk_Channel*>(shared)})
    group->AddChannel(c);
  root->SetChild(left, -1, 0);
  root->SetChild(right, -1, 0);
  left->SetChild(shared, -1, 0);
  right->SetChild(shared, -1, 0);
  group->SetStartChannel(root->GetChannelIDIndexNr());

  for (int frame = 0; frame < 3; ++frame) {
    Ext()->IncreaseTreeCount();
    group->CallStartChannel();
  }
  EXPECT_EQ(root->calculations, 3);
  EXPECT_EQ(shared->calls, 6);
  EXPECT_EQ(shared->calculations, 3);
  EXPECT_EQ(channelInternal.GetTreeRecalculateCount(shared), 1);
}

// Waits until the millisecond counter moves on, so an update is visible.
std::uint32_t NextTick(std::uint32_t after) {
  std::uint32_t now = platform::GetTickCount();
  while (now == after) {
    platform::SleepMilliseconds(1);
    now = platform::GetTickCount();
  }
  return now;
}

TEST_F(CalculationPassTest, CallingTimesOnlyWhileTrackingAndOnlyInRegisteredGroups) {
  Tvk_ChannelGroup* registered = RegisteredGroup("tracked");
  ASSERT_NE(registered, nullptr);
  ASSERT_NE(registered->GetGroupIndex(), -1);
  Tvk_ChannelGroup unregistered(engine.Get());

  auto* parent = new WalkingChannel("parent");
  auto* child = new TestChannel("child");
  auto* target = new TestChannel("target");
  auto* forward = new ForwardingChannel("forward", target);
  for (Tvk_Channel* c : {static_cast<Tvk_Channel*>(parent), static_cast<Tvk_Channel*>(child),
                         static_cast<Tvk_Channel*>(target), static_cast<Tvk_Channel*>(forward)})
    registered->AddChannel(c);
  parent->SetChild(child, -1, 0);
  parent->SetChild(forward, -1, 0);

  auto* looseParent = new WalkingChannel("loose");
  auto* looseChild = new TestChannel("looseChild");
  unregistered.AddChannel(looseParent);
  unregistered.AddChannel(looseChild);
  looseParent->SetChild(looseChild, -1, 0);
  WalkingChannel* groupless = Make<WalkingChannel>("groupless");
  groupless->SetChild(Make<TestChannel>("gc"), -1, 0);

  const std::vector<Tvk_Channel*> tracked = {parent, child, forward, target};
  const std::vector<Tvk_Channel*> untracked = {looseParent, looseChild, groupless};
  std::vector<int> initial;
  for (Tvk_Channel* c : tracked) initial.push_back(channelInternal.GetChannelGetChildTime(c));
  for (Tvk_Channel* c : untracked) initial.push_back(channelInternal.GetChannelGetChildTime(c));
  std::uint32_t latest = 0;
  for (int t : initial) latest = std::max(latest, static_cast<std::uint32_t>(t));
  NextTick(latest);

  auto readAll = [&] {
    for (WalkingChannel* p : {parent, looseParent, groupless})
      for (int i = 0; i < p->GetChildCount(); ++i) p->GetChild(i);
  };
  readAll();
  for (std::size_t i = 0; i < tracked.size(); ++i)
    EXPECT_EQ(channelInternal.GetChannelGetChildTime(tracked[i]), initial[i]) << "tracking is off";

  Ext()->SetIfTrackChannelCalling(true);
  const std::uint32_t before = platform::GetTickCount();
  readAll();
  const std::uint32_t after = platform::GetTickCount();
  Ext()->SetIfTrackChannelCalling(false);

  for (Tvk_Channel* c : tracked) {
    SCOPED_TRACE(c->GetChannelName());
    const auto time = static_cast<std::uint32_t>(channelInternal.GetChannelGetChildTime(c));
    EXPECT_LE(time - before, after - before);
  }
  for (std::size_t i = 0; i < untracked.size(); ++i) {
    SCOPED_TRACE(untracked[i]->GetChannelName());
    EXPECT_EQ(channelInternal.GetChannelGetChildTime(untracked[i]), initial[tracked.size() + i]);
  }
}

}  // namespace
}  // namespace channeltest

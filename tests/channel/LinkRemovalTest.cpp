// Links that go away: when the group removes a channel, when a parent drops a
// child it holds directly or through a custom-get channel, and pending links.

#include "ChannelTestSupport.h"

namespace channeltest {
namespace {

class LinkRemovalTest : public ChannelTest {};

// The emptied node stays, so the other run members keep their target channels;
// links are judged as linked, not by what they stand for.
TEST_F(LinkRemovalTest, GroupRemovalEmptiesLinksByIndexNumber) {
  Tvk_ChannelGroup* group = RegisteredGroup("removal");
  std::vector<TestChannel*> channels;
  for (const char* name : {"parent", "c1", "c2", "c3", "c4", "c5"}) {
    auto* channel = new TestChannel(name);
    channel->SetChildCreateType(ChildCreation(), 0);
    ASSERT_EQ(group->AddChannel(channel), static_cast<int>(channels.size()));
    channels.push_back(channel);
  }
  TestChannel* parent = channels[0];
  auto* forward = new ForwardingChannel("forward", channels[5]);
  group->AddChannel(forward);
  parent->SetChild(channels[3], -1, 0);
  parent->SetChild(channels[5], -1, 0);
  parent->SetChild(forward, -1, 0);
  parent->SetChild(channels[4], -1, 0);
  channels[1]->SetChild(channels[5], -1, 0);

  ASSERT_TRUE(group->RemoveChannel(5));
  EXPECT_EQ(LayoutOf(*parent), "c3 _ forward c4 M0");
  EXPECT_EQ(parent->GetChildFromLinkPosition(0, 3), channels[4]);
  EXPECT_EQ(LayoutOf(*channels[1]), "_ M0");
  EXPECT_TRUE(HasValidNodeLayout(*parent));
}

TEST_F(LinkRemovalTest, RemoveChildDropsDirectAndForwardingLinks) {
  TestChannel* parent = Make<TestChannel>("p");
  parent->SetChildCreateType(ChildCreation(), 0);
  TestChannel* gone = Make<TestChannel>("gone");
  TestChannel* stays = Make<TestChannel>("stays");
  ForwardingChannel* naming = Make<ForwardingChannel>("naming", gone);
  ForwardingChannel* namingOther = Make<ForwardingChannel>("other", stays);
  TestChannel* parameter = Make<TestChannel>("parameter");
  parameter->SetChannelInterfaceType(TVO_PARAMETER);
  for (Tvk_Channel* c : std::vector<Tvk_Channel*>{gone, stays, naming, namingOther, parameter, gone})
    parent->SetChild(c, -1, 0);

  channelInternal.RemoveChild(parent, nullptr);
  EXPECT_EQ(LayoutOf(*parent), "gone stays naming other parameter gone M0")
      << "removing no channel keeps links that resolve to nothing";

  channelInternal.RemoveChild(parent, gone);
  EXPECT_EQ(LayoutOf(*parent), "_ stays _ other parameter _ M0");
  channelInternal.SortChilderen(parent);
  EXPECT_EQ(LayoutOf(*parent), "stays other parameter M0");
  EXPECT_EQ(parent->GetChildFromLinkPosition(0, 1), stays) << "later run members moved down";
  EXPECT_TRUE(HasValidNodeLayout(*parent));
}

TEST_F(LinkRemovalTest, PendingLinkForAnUnknownPairLinksNothing) {
  TestChannel* parent = Make<TestChannel>("p");
  parent->SetChildCreateType(ChildCreation(), 0);
  TestChannel* child = Make<TestChannel>("c");
  EXPECT_FALSE(channelInternal.CheckChannelRequest(parent, 3, 0, child, 0));
  EXPECT_FALSE(channelInternal.CheckChannelRequest(parent, 3, 0, child, -1));
  EXPECT_EQ(LayoutOf(*parent), "M0");
}

}  // namespace
}  // namespace channeltest

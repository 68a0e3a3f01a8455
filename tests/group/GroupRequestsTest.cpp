#include <gtest/gtest.h>

#include <vector>

#include "GroupFixture.h"

namespace grouptest {
namespace {

ChannelRequestInfo Request(int childIndexNr, int targetChannel, Tvk_Channel* channel, int linkPosition) {
  ChannelRequestInfo info{};
  info.childIndexNr = childIndexNr;
  info.targetChannel = targetChannel;
  info.channel = channel;
  info.linkPosition = linkPosition;
  return info;
}

// The group links only what the requesting channel itself still expects; a
// request alone links nothing.
TEST_F(GroupTest, ARequestTheChannelDoesNotHoldLinksNothing) {
  LinkingChannel* parent = Add("Parent");
  Add("Child");
  engine.sink.Clear();
  group->AddChannelRequest(Request(1, 0, parent, 0));
  group->AddChannelRequest(Request(1, -1, parent, -1));
  group->CheckRequestListForIndex(1);
  group->CheckRequestListForIndex(1);
  EXPECT_TRUE(parent->Links().empty());
  EXPECT_TRUE(engine.sink.TextsOfType(kMessageError).empty());
}

// A request whose requesting channel was deleted must not be followed into
// freed memory when its child index is checked later.
TEST_F(GroupTest, RequestsOfARemovedChannelAreForgotten) {
  LinkingChannel* parent = Add("Parent");
  LinkingChannel* other = Add("Other");
  Add("Child");
  group->AddChannelRequest(Request(2, 0, parent, 0));
  group->AddChannelRequest(Request(2, 0, other, 0));
  group->RemoveChannel(parent);
  group->CheckRequestListForIndex(2);
  group->RemoveChannel(other);
  group->Release();
  group->CheckRequestListForIndex(2);
  EXPECT_EQ(log.deleted.size(), 3u);
}

}  // namespace
}  // namespace grouptest

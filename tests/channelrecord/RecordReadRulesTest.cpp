// What the reader makes of records other writers produce: missing optional
// tags, link nodes stored without their target, interfaces from other groups
// and pool entries without text.

#include <string>
#include <vector>

#include "ChannelInternal.h"
#include "ChannelPools.h"
#include "Diagnostics.h"
#include "RecordTestSupport.h"
#include "Tvk_String.h"

namespace recordtest {
namespace {

using RecordReadRulesTest = RecordTest;

std::string WithLinks(const std::vector<std::string>& nodes) {
  std::string record = Head("Parent", TVO_PRIVATE) + Int("CHLC", static_cast<std::int32_t>(nodes.size()));
  for (const std::string& node : nodes) record += node;
  return record + Byte("CHUP", 0);
}

// The channel holds the pending link (child index, target) exactly once.
bool HoldsRequest(Tvk_Channel* parent, Tvk_Channel* child, int childIndexNr, int target) {
  return channelInternal.CheckChannelRequest(parent, childIndexNr, target, child, -1);
}

struct TargetCase {
  const char* what;
  std::vector<std::string> nodes;
  int target;  // of the request for child index 7
  std::vector<int> notTargets;
};

const TargetCase kTargetCases[] = {
    {"stored target", {Int("CHLI", 7) + Int("CHUL", 1) + Int("CHRP", 2)}, 2, {-1, 0, 1}},
    {"no target: counted back from the node index",
     {Int("CHLI", -1), Int("CHLI", -1), Int("CHLI", -1), Int("CHLI", 7) + Int("CHUL", 1)}, 2, {0, 3, -1}},
    {"no target at the first node", {Int("CHLI", 7) + Int("CHUL", 1)}, -1, {0, 1}},
    {"neither link position nor target: one past the node index",
     {Int("CHLI", -1) + Int("CHUL", 0), Int("CHLI", 7)}, 2, {0, 1, -1}},
};

TEST_F(RecordReadRulesTest, TargetOfALinkComesFromItsRecordOrFromTheNodeIndex) {
  for (const TargetCase& each : kTargetCases) {
    SCOPED_TRACE(each.what);
    RecordChannel* parent = Add("before");
    RecordChannel* child = Add("child");
    ASSERT_TRUE(Load(*parent, WithLinks(each.nodes)));
    for (int wrong : each.notTargets) EXPECT_FALSE(HoldsRequest(parent, child, 7, wrong)) << wrong;
    EXPECT_TRUE(HoldsRequest(parent, child, 7, each.target));
    EXPECT_FALSE(HoldsRequest(parent, child, 7, each.target));  // used up: there was one
  }
}

// Nodes without a child (an empty node, a missing node) ask for nothing; the
// one real link is the channel's only request.
TEST_F(RecordReadRulesTest, NodesWithoutChildCreateNoRequest) {
  RecordChannel* parent = Add("before");
  RecordChannel* child = Add("child");
  ASSERT_TRUE(Load(*parent, WithLinks({Int("CHLI", -1) + Int("CHUL", 0), Int("CHLI", -1),
                                       Int("CHLI", 3) + Int("CHUL", 0) + Int("CHRP", 0)})));
  EXPECT_FALSE(HoldsRequest(parent, child, -1, 0));  // node 0 would have asked for target 0
  EXPECT_FALSE(HoldsRequest(parent, child, -1, 2));  // node 1 for target 2
  EXPECT_TRUE(HoldsRequest(parent, child, 3, 0));
  EXPECT_FALSE(HoldsRequest(parent, child, 3, 0));
}

TEST_F(RecordReadRulesTest, PublicCallWithoutModeLoadsWithModeOne) {
  RecordChannel* call = Add("before");
  channelInternal.SetTreeCountMode(call, 0);
  ASSERT_TRUE(Load(*call, Head("Call", TVO_PUBLICCALL) + NoLinks()));
  EXPECT_EQ(channelInternal.GetTreeCountMode(call), 1);
  // Without "CHES" the call has the default record.
  const PublicCallInfo info = channelInternal.GetPublicCallInfo(call);
  EXPECT_STREQ(info.channelName, "No Name");
  EXPECT_STREQ(info.fileName, "No File");
  EXPECT_EQ(info.autoLoadGroup, 1);
}

struct TypeCase {
  const char* what;
  int pluginType;
  std::string typeBlock;  // empty: no "CHIT"
  int expected;
};

const TypeCase kTypeCases[] = {
    {"missing keeps a public type", TVO_PUBLIC, "", TVO_PUBLIC},
    {"missing keeps a parameter type", TVO_PARAMETER, "", TVO_PARAMETER},
    {"stored type replaces it directly", TVO_PUBLIC, Int("CHIT", TVO_PRIVATE), TVO_PRIVATE},
    {"stored type even out of a final type", TVO_PARAMETER, Int("CHIT", TVO_CUSTOMCHANNELGET), TVO_CUSTOMCHANNELGET},
    {"unknown type is ignored", TVO_PUBLIC, Int("CHIT", 6), TVO_PUBLIC},
    {"negative type is ignored", TVO_PRIVATE, Int("CHIT", -1), TVO_PRIVATE},
};

TEST_F(RecordReadRulesTest, InterfaceTypeComesFromTheRecordOrStaysAsThePlugInSetIt) {
  for (const TypeCase& each : kTypeCases) {
    SCOPED_TRACE(each.what);
    RecordChannel* channel = Add("before", each.pluginType);
    ASSERT_TRUE(Load(*channel, Byte("CHIC", 0) + Text("CHNA", "x") + each.typeBlock + NoLinks()));
    EXPECT_EQ(channel->GetChannelInterfaceType(), each.expected);
  }
}

TEST_F(RecordReadRulesTest, PublicInterfaceLoadedIntoAnotherGroupIsDiscardedWithAUserError) {
  const std::string withInterface = Head("Door", TVO_PUBLIC) + GuidBlock("CEPG", group->GetUniqueGroupGuid()) +
                                    Int("CHPC", 2) + Int("CHPT", 1) + Int("CHPT", 0) + NoLinks();
  RecordChannel* moved = Add("before", TVO_PRIVATE, false, otherGroup.get());
  ASSERT_TRUE(Load(*moved, withInterface, otherGroup.get()));

  EXPECT_EQ(Sink().TextsOfType(kMessageUserError),
            std::vector<std::string>{
                "Public channel with interface loaded in different group. Discarding interface information."});
  EXPECT_EQ(Hex(Save(*moved)), Hex(Head("Door", TVO_PUBLIC) + NoLinks()));
}

// Entries without text are read past; the count is only an upper bound.
TEST_F(RecordReadRulesTest, PoolEntriesWithoutTextAreNotRestored) {
  RecordChannel* channel = Add("before");
  ASSERT_TRUE(Load(*channel, Head("u", TVO_PRIVATE) + Int("CHLC", 0) + Byte("CHUP", 1) + Int("CHNC", 4) +
                                 Text("CHPN", "a") + Lone("CHEN") + Block("CHPN", "") + Text("CHPN", "b")));
  ChannelPoolInfo* pools = channelInternal.GetChannelPoolInfo(channel);
  ASSERT_NE(pools, nullptr);
  ASSERT_EQ(pools->poolNames.GetItemCount(), 2);
  EXPECT_STREQ(static_cast<Tvk_String*>(pools->poolNames.GetItem(0))->GetString(), "a");
  EXPECT_STREQ(static_cast<Tvk_String*>(pools->poolNames.GetItem(1))->GetString(), "b");
}

TEST_F(RecordReadRulesTest, MembershipNamesAreKeptWithoutJoiningAPool) {
  RecordChannel* channel = Add("before");
  ASSERT_TRUE(Load(*channel, Head("m", TVO_PRIVATE) + NoLinks() + Int("CPNC", 3) + Lone("CPEN") +
                                 Text("CPNP", "Cars") + Text("CPNP", "World@Fast")));
  EXPECT_EQ(Hex(Save(*channel)),
            Hex(Head("m", TVO_PRIVATE) + NoLinks() + Int("CPNC", 2) + Text("CPNP", "Cars") +
                Text("CPNP", "World@Fast")));
}

}  // namespace
}  // namespace recordtest

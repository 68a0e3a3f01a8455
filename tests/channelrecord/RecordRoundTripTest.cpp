// A record written to memory and read back into another channel restores
// every field: records that load and save back to the same bytes, and the
// fields as the channel's operations show them.

#include <string>
#include <vector>

#include "ChannelInternal.h"
#include "ChannelPools.h"
#include "PublicCallInfo.h"
#include "RecordTestSupport.h"
#include "Tvk_String.h"
#include "TvkFile.h"

namespace recordtest {
namespace {

constexpr GUID kAcceptedType{0x44332211, 0x6655, 0x8877, {9, 10, 11, 12, 13, 14, 15, 16}};

// A public call block with something other than the default in every field.
std::string FullPublicCallBlock() {
  std::string data(696, '\0');
  data.replace(0, 6, "Target");
  data.replace(80, 4, "Pool");
  data.replace(160, 10, "..\\x\\f.cgr");
  data.replace(420, 4, Le32(3));
  data.replace(428, 4, Le32(1));
  data.replace(432, 8, "Vehicles");
  data.replace(512, 16, GuidBytes(kAcceptedType));
  data.replace(528, 16, GuidBytes(kWildcardGuid));
  data.replace(544, 12, Le32(1) + Le32(54) + Le32(2));
  data.replace(556, 8, Le32(5) + Le32(6));
  data.replace(564, 4, Le32(4));
  data[569] = 1;
  data.replace(570, 5, "wheel");
  data.replace(672, 16, GuidBytes(kAcceptedType));
  data.replace(692, 4, Le32(77));
  return Block("CHES", data);
}

struct RecordCase {
  const char* what;
  std::string (*bytes)(const GUID& groupGuid);
};

const RecordCase kRecordsThatComeBackUnchanged[] = {
    {"private, ignoring the tree count, forwarding to pools",
     [](const GUID&) {
       return Byte("CHIC", 1) + Text("CHNA", "Lamp") + Int("CHIT", TVO_PRIVATE) + Int("CHLC", 0) + Byte("CHUP", 1) +
              Int("CHNC", 2) + Text("CHPN", "World@Cars") + Text("CHPN", "Trucks");
     }},
    {"private, member of two pools",
     [](const GUID&) { return Head("Car", TVO_PRIVATE) + NoLinks() + Int("CPNC", 2) + Text("CPNP", "Cars") +
                              Text("CPNP", "World@Fast"); }},
    {"public with an interface of this group",
     [](const GUID& own) {
       return Head("Door", TVO_PUBLIC) + GuidBlock("CEPG", own) + Int("CHPC", 3) + Int("CHPT", 4) + Int("CHPT", 0) +
              Int("CHPT", 2) + NoLinks();
     }},
    {"public custom-get with an empty interface",
     [](const GUID& own) { return Head("Switch", TVO_PUBLICCUSTOMCHANNELGET) + GuidBlock("CEPG", own) +
                                  Int("CHPC", 0) + NoLinks(); }},
    {"public without interface", [](const GUID&) { return Head("Plain", TVO_PUBLIC) + NoLinks(); }},
    {"custom-get", [](const GUID&) { return Head("Get", TVO_CUSTOMCHANNELGET) + NoLinks(); }},
    {"public call", [](const GUID&) { return Head("Call", TVO_PUBLICCALL) + FullPublicCallBlock() +
                                              Byte("CHTM", 0) + NoLinks(); }},
    {"parameter", [](const GUID&) { return Head("Arg", TVO_PARAMETER) + Int("CEXI", 9) + NoLinks(); }},
};

using RecordRoundTripTest = RecordTest;

TEST_F(RecordRoundTripTest, RecordsLoadAndSaveBackToTheSameBytes) {
  for (const RecordCase& each : kRecordsThatComeBackUnchanged) {
    SCOPED_TRACE(each.what);
    Sink().Clear();
    const std::string bytes = each.bytes(group->GetUniqueGroupGuid());
    RecordChannel* channel = Add("before");
    ASSERT_TRUE(Load(*channel, bytes));
    EXPECT_EQ(Hex(Save(*channel)), Hex(bytes));
    EXPECT_TRUE(Sink().Messages().empty()) << Sink().Texts().front();
  }
}

TEST_F(RecordRoundTripTest, PublicCallFieldsAreRestored) {
  RecordChannel* call = Add("before");
  channelInternal.SetIgnoreTreeCount(call, true);
  ASSERT_TRUE(Load(*call, Head("Call", TVO_PUBLICCALL) + FullPublicCallBlock() + Byte("CHTM", 0) + NoLinks()));

  EXPECT_EQ(call->Name(), "Call");
  EXPECT_FALSE(channelInternal.GetIgnoreTreeCount(call));
  EXPECT_EQ(call->GetChannelInterfaceType(), TVO_PUBLICCALL);
  EXPECT_EQ(channelInternal.GetTreeCountMode(call), 0);
  const PublicCallInfo info = channelInternal.GetPublicCallInfo(call);
  EXPECT_STREQ(info.channelName, "Target");
  EXPECT_STREQ(info.poolName, "Pool");
  EXPECT_STREQ(info.fileName, "..\\x\\f.cgr");
  EXPECT_EQ(info.requestedPublicChannelNr, 3);
  EXPECT_EQ(info.autoLoadGroup, 0);
  EXPECT_EQ(info.dynamicAutoLoadGroup, 1);
}

// A channel made through the channel operations, copied the way channels are
// copied in memory: the pool paths come back without the entry that had no
// text.
TEST_F(RecordRoundTripTest, ChannelCopiedInMemoryKeepsItsStateAndDropsEmptyPoolEntries) {
  RecordChannel* original = Add("Original");
  original->SetIfUsePoolChannel(true);
  char cars[] = "World@Cars";
  char empty[] = "";
  char trucks[] = "Trucks";
  channelInternal.AddPoolToChannel(original, cars);
  channelInternal.AddPoolToChannel(original, empty);
  channelInternal.AddPoolToChannel(original, trucks);
  RecordChannel* parameter = Add("Parameter", TVO_PARAMETER);
  channelInternal.SetParameterInfo(parameter, 4);

  RecordChannel* copy = Add("copy");
  ASSERT_TRUE(Load(*copy, Save(*original)));
  EXPECT_EQ(copy->Name(), "Original");
  EXPECT_TRUE(copy->GetIfUsePoolChannel());
  ChannelPoolInfo* pools = channelInternal.GetChannelPoolInfo(copy);
  ASSERT_NE(pools, nullptr);
  ASSERT_EQ(pools->poolNames.GetItemCount(), 2);
  EXPECT_STREQ(static_cast<Tvk_String*>(pools->poolNames.GetItem(0))->GetString(), "World@Cars");
  EXPECT_STREQ(static_cast<Tvk_String*>(pools->poolNames.GetItem(1))->GetString(), "Trucks");

  RecordChannel* parameterCopy = Add("copy");
  ASSERT_TRUE(Load(*parameterCopy, Save(*parameter)));
  EXPECT_EQ(parameterCopy->GetChannelInterfaceType(), TVO_PARAMETER);
  ASSERT_NE(channelInternal.GetParameterInfo(parameterCopy), nullptr);
  EXPECT_EQ(channelInternal.GetParameterInfo(parameterCopy)->parameterNr, 4);
}

// Links come back once the group links its channels by index: the same
// children at the same link positions and places in their runs.
TEST_F(RecordRoundTripTest, LinksAreRestoredThroughTheGroupsRequests) {
  RecordChannel* parent = Add("Parent", TVO_PRIVATE, true);
  RecordChannel* a = Add("a");
  RecordChannel* b = Add("b");
  RecordChannel* c = Add("c");
  parent->SetChild(a, -1, 0);
  parent->SetChild(c, 3, 0);  // pads the run with empty nodes up to place 3
  parent->SetChild(b, 0, 1);
  const std::string bytes = Save(*parent);

  RecordChannel* parent2 = Add("before", TVO_PRIVATE, true, otherGroup.get());
  RecordChannel* a2 = Add("a2", TVO_PRIVATE, false, otherGroup.get());
  RecordChannel* b2 = Add("b2", TVO_PRIVATE, false, otherGroup.get());
  RecordChannel* c2 = Add("c2", TVO_PRIVATE, false, otherGroup.get());
  ASSERT_TRUE(Load(*parent2, bytes, otherGroup.get()));
  EXPECT_EQ(parent2->GetChildFromLinkPosition(0, 0), nullptr);  // nothing linked before the group links
  for (int i = 0; i < otherGroup->GetChannelCount(); ++i) otherGroup->CheckRequestListForIndex(i);

  EXPECT_EQ(parent2->GetChildFromLinkPosition(0, 0), a2);
  EXPECT_EQ(parent2->GetChildFromLinkPosition(0, 1), nullptr);
  EXPECT_EQ(parent2->GetChildFromLinkPosition(0, 3), c2);
  EXPECT_EQ(parent2->GetChildFromLinkPosition(1, 0), b2);
  EXPECT_EQ(Hex(Save(*parent2)), Hex(bytes));
  // Every request was used up by the linking.
  EXPECT_FALSE(channelInternal.CheckChannelRequest(parent2, a2->GetChannelIDIndexNr(), 0, a2, 0));
}

// Plug-ins append their own tags after the base record; the base record reads
// exactly its own.
TEST_F(RecordRoundTripTest, LoadingStopsWhereThePlugInsOwnTagsBegin) {
  RecordChannel* channel = Add("before");
  const std::string record = Head("Script", TVO_PRIVATE) + NoLinks() + Int("CPNC", 1) + Text("CPNP", "Scripts");
  ASSERT_TRUE(Load(*channel, record + Text("LUSL", "function GetValue() end") + Int("CHIX", 5)));
  EXPECT_TRUE(LastLoader().GetInfoIfTag("LUSL"));
}

}  // namespace
}  // namespace recordtest

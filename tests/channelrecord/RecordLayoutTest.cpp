// The record's bytes, written out tag by tag from the record's table.

#include <cstring>

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "ChannelPools.h"
#include "PublicCallInfo.h"
#include "RecordTestSupport.h"

namespace recordtest {
namespace {

constexpr GUID kLinkType{0x0A0B0C0D, 0x1122, 0x3344, {0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC}};
constexpr GUID kLinkBase{0xF1F2F3F4, 0xE1E2, 0xD1D2, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr GUID kChildType{0x12345678, 0x9ABC, 0xDEF0, {8, 7, 6, 5, 4, 3, 2, 1}};

// Writes the bytes of `value` into `record` at `offset`.
void PutAt(std::string& record, std::size_t offset, const std::string& value) {
  record.replace(offset, value.size(), value);
}

template <std::size_t N>
void SetText(char (&field)[N], const char* text) {
  CopyText(field, text, N - 1);
}

using RecordLayoutTest = RecordTest;

// A run of two links, the run's empty position node and an occupied
// single-link position, from a channel that ignores the tree count.
TEST_F(RecordLayoutTest, LinksAreStoredByChildIndexLinkPositionAndPlaceInTheRun) {
  RecordChannel* parent = Add("Cam", TVO_PRIVATE, true);
  RecordChannel* a = Add("a");
  RecordChannel* b = Add("b");
  RecordChannel* c = Add("c");
  channelInternal.SetIgnoreTreeCount(parent, true);
  ASSERT_EQ(parent->SetChild(a, -1, 0), 0);
  ASSERT_EQ(parent->SetChild(c, -1, 0), 1);
  ASSERT_EQ(parent->SetChild(b, 0, 1), 3);

  const std::string expected =
      Byte("CHIC", 1) + Text("CHNA", "Cam") + Int("CHIT", TVO_PRIVATE) + Int("CHLC", 4) +
      Int("CHLI", a->GetChannelIDIndexNr()) + Int("CHUL", 0) + Int("CHRP", 0) +
      Int("CHLI", c->GetChannelIDIndexNr()) + Int("CHUL", 0) + Int("CHRP", 1) +  //
      Int("CHLI", -1) + Int("CHUL", 0) +                                         // the run's position node
      Int("CHLI", b->GetChannelIDIndexNr()) + Int("CHUL", 1) + Int("CHRP", 0) + Byte("CHUP", 0);
  EXPECT_EQ(Hex(Save(*parent)), Hex(expected));
}

// Declaring only position 1 leaves index 0 without a node.
TEST_F(RecordLayoutTest, MissingNodeWritesTheLinkIndexAloneAndAnEmptyNodeAddsItsPosition) {
  RecordChannel* channel = Add("gap");
  ChildCreation single;
  single.channelType.guid = kWildcardGuid;
  single.requestLink = 1;
  channel->SetChildCreateType(single, 1);
  ASSERT_EQ(channel->GetChildCount(), 2);
  ASSERT_EQ(channel->GetChildInfo(0), nullptr);

  EXPECT_EQ(Hex(Save(*channel)), Hex(Head("gap", TVO_PRIVATE) + Int("CHLC", 2) + Int("CHLI", -1) + Int("CHLI", -1) +
                                     Int("CHUL", 1) + Byte("CHUP", 0)));
}

TEST_F(RecordLayoutTest, AChannelWithoutNameWritesASingleBlankAndReadsBackWithIt) {
  RecordChannel* unnamed = Add(nullptr);
  const std::string bytes = Save(*unnamed);
  EXPECT_EQ(Hex(bytes), Hex(Byte("CHIC", 0) + Lone("CHNA") + Le32(2) + std::string(" \0", 2) +
                            Int("CHIT", TVO_PRIVATE) + NoLinks()));

  RecordChannel* copy = Add(nullptr);
  ASSERT_TRUE(Load(*copy, bytes));
  EXPECT_EQ(copy->Name(), " ");
}

// Every field of the 696-byte block at its offset; the in-memory reference,
// the padding and the unused byte are zeros whatever memory holds.
TEST_F(RecordLayoutTest, PublicCallRecordIsEncodedFieldByFieldAtItsOffsets) {
  RecordChannel* call = Add("call", TVO_PUBLICCALL);
  ChildInfo notWritten;
  PublicCallInfo info;
  SetText(info.channelName, "Target");
  SetText(info.poolName, "Pool");
  SetText(info.fileName, "..\\x\\f.cgr");
  info.requestedPublicChannelNr = 7;
  info.autoLoadGroup = 0;
  info.padding[0] = 'p';
  info.dynamicAutoLoadGroup = 1;
  ChildCreation& creation = info.childCreation;
  SetText(creation.channelType.name, "Any");
  creation.channelType.guid = kLinkType;
  creation.channelType.baseGuid = kLinkBase;
  creation.channelType.versionInfo[0] = 3;
  creation.channelType.versionInfo[1] = 54;
  creation.channelType.versionInfo[2] = 9;
  creation.channelType.userValue1 = 11;
  creation.channelType.userValue2 = -12;
  creation.requestLink = -1;
  creation.reserved = 'r';
  creation.createChild = 1;
  SetText(creation.childName, "kid");
  creation.childTypeGuid = kChildType;
  creation.childInfo = &notWritten;
  creation.userValue = 0x01020304;
  ASSERT_TRUE(channelInternal.SetPublicCallInfo(call, info));
  channelInternal.SetTreeCountMode(call, 0);

  std::string expected(696, '\0');
  PutAt(expected, 0, "Target");
  PutAt(expected, 80, "Pool");
  PutAt(expected, 160, "..\\x\\f.cgr");
  PutAt(expected, 420, Le32(7));
  PutAt(expected, 424, std::string(1, '\0'));
  PutAt(expected, 428, Le32(1));
  PutAt(expected, 432, "Any");
  PutAt(expected, 512, GuidBytes(kLinkType));
  PutAt(expected, 528, GuidBytes(kLinkBase));
  PutAt(expected, 544, Le32(3) + Le32(54) + Le32(9));
  PutAt(expected, 556, Le32(11));
  PutAt(expected, 560, Le32(static_cast<std::uint32_t>(-12)));
  PutAt(expected, 564, Le32(0xFFFFFFFFu));
  PutAt(expected, 569, std::string(1, '\1'));
  PutAt(expected, 570, "kid");
  PutAt(expected, 672, GuidBytes(kChildType));
  PutAt(expected, 692, Le32(0x01020304));

  const std::string bytes = Save(*call);
  EXPECT_EQ(Hex(bytes), Hex(Head("call", TVO_PUBLICCALL) + Block("CHES", expected) + Byte("CHTM", 0) + NoLinks()));
}

TEST_F(RecordLayoutTest, ParameterChannelWritesItsParameterNumber) {
  RecordChannel* parameter = Add("p", TVO_PARAMETER);
  channelInternal.SetParameterInfo(parameter, 6);
  EXPECT_EQ(Hex(Save(*parameter)), Hex(Head("p", TVO_PARAMETER) + Int("CEXI", 6) + NoLinks()));
}

// The pool-user names win over memberships; an entry without text keeps its
// place as a lone tag.
TEST_F(RecordLayoutTest, PoolUserNamesAreWrittenInsteadOfMemberships) {
  RecordChannel* user = Add("u");
  user->SetIfUsePoolChannel(true);
  char cars[] = "World@Cars";
  char empty[] = "";
  char trucks[] = "Trucks";
  char member[] = "Members";
  channelInternal.AddPoolToChannel(user, cars);
  channelInternal.AddPoolToChannel(user, empty);
  channelInternal.AddPoolToChannel(user, trucks);
  channelInternal.AddChannelToPool(user, member);

  EXPECT_EQ(Hex(Save(*user)), Hex(Head("u", TVO_PRIVATE) + Int("CHLC", 0) + Byte("CHUP", 1) + Int("CHNC", 3) +
                                  Text("CHPN", "World@Cars") + Lone("CHEN") + Text("CHPN", "Trucks")));
}

TEST_F(RecordLayoutTest, MembershipsAreWrittenWhenTheChannelUsesNoPool) {
  RecordChannel* member = Add("m");
  char first[] = "Cars";
  char empty[] = "";
  channelInternal.AddChannelToPool(member, first);
  channelInternal.AddChannelToPool(member, empty);
  EXPECT_EQ(Hex(Save(*member)),
            Hex(Head("m", TVO_PRIVATE) + NoLinks() + Int("CPNC", 2) + Text("CPNP", "Cars") + Lone("CPEN")));
}

}  // namespace
}  // namespace recordtest

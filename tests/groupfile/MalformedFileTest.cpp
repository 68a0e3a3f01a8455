// Files that are not what they claim: each fails through the loader's failure
// path with its messages, or is cut safely and loads what it really holds.
// Nothing is read outside the data, whatever a block size or count says.

#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ChannelInternal.h"
#include "GroupFileSupport.h"

namespace groupfiletest {
namespace {

using Message = std::pair<int, std::string>;

const std::string kNotAGroup =
    "The selected file is not a channel group. Most channel group files have the \".cgr\" extension. It could also "
    "be that the file is corrupt.";
const std::string kNoIndexHeader = "Tvk_ChannelGroup::LoadChannelGroup: Couldn't find channel index header";
const std::string kNoItemCount = "Tvk_ChannelGroup::LoadChannelGroup: No itemcount";
const std::string kBackwardCompatible =
    "Varnel is backward compatible, this means that it can't load files that have been created with newer versions "
    "of Varnel.";
const std::string kNotInstalled =
    "A channel (component) is used in this channel group that is not installed in your version. It could be created "
    "in a newer version of Varnel or with a different set of components installed. Please contact the creator of "
    "the channel group and ask him about his Varnel version.";
const std::string kNoDll = "Tvk_ChannelGroup::LoadChannelGroup: Couldn't find channel DLL!";
const std::string kNoLoad = "Tvk_ChannelGroup::LoadChannelGroup: Couldn't load channel";
const std::string kLoaderFile = "Loader file :  memory.cgr";

std::vector<Message> NotAGroup(std::size_t size) {
  return {{kMessageUserError, kNotAGroup},
          {kMessageError, "Failed loading channel group, buffersize:  " + std::to_string(size)}};
}
std::vector<Message> NoIndexHeader(const GUID& lastType) {
  return {{kMessageUserError, kNotAGroup},
          {kMessageError, kNoIndexHeader},
          {kMessageError, GuidText(lastType)},
          {kMessageError, kLoaderFile}};
}
std::vector<Message> ChannelFailed(const std::string& text, const GUID& type) {
  return {{kMessageUserInfo, kBackwardCompatible},
          {kMessageUserError, kNotInstalled},
          {kMessageError, text},
          {kMessageError, GuidText(type)}};
}

Bytes Slot(std::int32_t index, const char* name, const GUID& type = kLinkerType) {
  Bytes slot;
  slot.Int("CHIX", index).Guid("CHID", type).Append(RecordStart(name, TVO_PRIVATE));
  UnlinkedNodes(slot).Byte("CHUP", 0);
  return slot;
}
Bytes Group(std::int32_t slots) { return Bytes().Tag("TVKG").Int("CHCO", slots); }
Bytes OneChannel() { return Group(1).Append(Slot(0, "Only")); }

struct Case {
  const char* name;
  Bytes file;
  bool loads;
  std::vector<Message> messages;  // in this order, among whatever else is reported
  std::function<void(Tvk_ChannelGroup&)> check;
};

std::vector<Case> Cases() {
  const Bytes pastTheEnd = Bytes().U32(1000).Raw("abc", 3);
  return {
      {"Empty", Bytes(), false, NotAGroup(0), nullptr},
      {"NoGroupTag", Bytes().Tag("TVKX").Int("CHCO", 0), false, NotAGroup(16), nullptr},
      {"UntranslatedHeader",
       Bytes().Guid("TRNF", kMissingType).Tag("ZZZZ"),
       false,
       {{kMessageUserError, kNotAGroup}},
       nullptr},
      {"NoItemCount", Bytes().Tag("TVKG").Tag("CHIX"), false, {{kMessageError, kNoItemCount}}, nullptr},
      {"ItemCountTooWide",
       Bytes().Tag("TVKG").Block("CHCO", Bytes().I32(1).I32(0)),
       false,
       {{kMessageError, kNoItemCount}},
       nullptr},
      {"ItemCountPastTheEnd",
       Bytes().Tag("TVKG").Tag("CHCO").Append(pastTheEnd),
       false,
       {{kMessageError, kNoItemCount}},
       nullptr},
      {"NegativeItemCount", Group(-3), false, {{kMessageError, kNoItemCount}}, nullptr},
      {"FewerSlotsThanCounted", Group(3).Append(Slot(0, "Only")), false, NoIndexHeader(kLinkerType),
       [](Tvk_ChannelGroup& g) { EXPECT_STREQ(g.GetChannel(0)->GetChannelName(), "Only"); }},
      {"HugeItemCount", Group(0x7FFFFFFF).Append(Slot(0, "Only")), false, NoIndexHeader(kLinkerType), nullptr},
      {"IndexTooWide", Group(1).Block("CHIX", Bytes().I32(0).I32(0)), false, NoIndexHeader(kZeroGuid), nullptr},
      {"IndexPastTheEnd", Group(1).Tag("CHIX").U32(4).U8(0), false, NoIndexHeader(kZeroGuid), nullptr},
      {"IndexBeyondTheFile", Group(1).Append(Slot(1000000, "Far")), false, NoIndexHeader(kZeroGuid),
       [](Tvk_ChannelGroup& g) { EXPECT_EQ(g.GetChannelCount(), 0); }},
      {"IndexBelowMinusOne", Group(1).Append(Slot(-2, "Negative")), false, NoIndexHeader(kZeroGuid), nullptr},
      {"IndexTwice", Group(2).Append(Slot(0, "A")).Append(Slot(0, "B")), false, NoIndexHeader(kLinkerType),
       [](Tvk_ChannelGroup& g) { EXPECT_STREQ(g.GetChannel(0)->GetChannelName(), "A"); }},
      {"TypeNotInstalled",
       Group(3).Append(Slot(0, "Before")).Append(Slot(1, "Missing", kMissingType)).Append(Slot(2, "After")), false,
       ChannelFailed(kNoDll, kMissingType),
       [](Tvk_ChannelGroup& g) {
         EXPECT_STREQ(g.GetChannel(0)->GetChannelName(), "Before");
         EXPECT_EQ(g.GetChannel(2), nullptr);
       }},
      {"NoTypeYet", Group(1).Int("CHIX", 0).Append(RecordStart("Untyped", TVO_PRIVATE)), false,
       ChannelFailed(kNoDll, kZeroGuid), nullptr},
      {"TypePastTheEnd", Group(1).Int("CHIX", 0).Tag("CHID").U32(16).Raw("abc", 3), false,
       ChannelFailed(kNoDll, kZeroGuid), nullptr},
      {"RecordWithoutName", Group(1).Int("CHIX", 0).Guid("CHID", kLinkerType).Byte("CHIC", 0), false,
       ChannelFailed(kNoLoad, kLinkerType), nullptr},
      {"LinkCountBeyondTheNodes",
       Group(1)
           .Int("CHIX", 0)
           .Guid("CHID", kLinkerType)
           .Append(RecordStart("Links", TVO_PRIVATE))
           .Int("CHLC", 0x7FFFFFFF)
           .Int("CHLI", -1),
       false, ChannelFailed(kNoLoad, kLinkerType), nullptr},
      {"ParameterCountBeyondTheEntries",
       OneChannel().Int("CGIC", 1000000).Block("CGII", Bytes().TextField("P", 40).GuidData(kLinkerType)),
       true,
       {},
       [](Tvk_ChannelGroup& g) {
         EXPECT_EQ(g.GetParameterCount(), 1);
         EXPECT_STREQ(g.GetParameterInfo(0).name, "P");
       }},
      {"NegativeParameterCount",
       OneChannel().Int("CGIC", -5).Block("CGII", Bytes().TextField("P", 40).Zeros(16)),
       true,
       {},
       [](Tvk_ChannelGroup& g) { EXPECT_EQ(g.GetParameterCount(), 0); }},
      {"ParametersPastTheEnd",
       OneChannel().Int("CGIC", 2).Tag("CGII").U32(112).TextField("P", 40).Zeros(16),
       true,
       {},
       [](Tvk_ChannelGroup& g) { EXPECT_EQ(g.GetParameterCount(), 0); }},
      {"PoolNameWithoutTerminator",
       OneChannel().Block("CINA", Bytes().Raw("Pool", 4)),
       true,
       {},
       [](Tvk_ChannelGroup& g) { EXPECT_STREQ(g.GetPoolName(), "Pool"); }},
      {"PoolNamePastTheEnd",
       OneChannel().Tag("CINA").Append(pastTheEnd),
       true,
       {},
       [](Tvk_ChannelGroup& g) { EXPECT_EQ(g.GetPoolName(), nullptr); }},
      {"HoleAfterAStoredIndex",
       Group(2).Append(Slot(1, "Moved")).Int("CHIX", -1),
       true,
       {},
       [](Tvk_ChannelGroup& g) { EXPECT_STREQ(g.GetChannel(1)->GetChannelName(), "Moved"); }},
      {"ForeignItemsAreReadPast",
       Bytes()
           .Tag("TVKG")
           .Block("ENVR", Bytes().Raw("CHCO", 4))
           .Int("CHCO", 1)
           .Int("CHIX", 0)
           .Guid("CHID", kLinkerType)
           .Text("CHNM", "n")
           .Text("CHVE", "v")
           .Text("CHBG", "b")
           .Append(RecordStart("Only", TVO_PRIVATE))
           .Int("CHLC", 0)
           .Tag("CBTD"),
       true,
       {},
       [](Tvk_ChannelGroup& g) { EXPECT_STREQ(g.GetChannel(0)->GetChannelName(), "Only"); }},
  };
}

bool InOrder(const std::vector<testsupport::RecordingSink::Message>& recorded, const std::vector<Message>& wanted) {
  std::size_t next = 0;
  for (const auto& m : recorded) {
    if (next < wanted.size() && m.type == wanted[next].first && m.text == wanted[next].second) ++next;
  }
  return next == wanted.size();
}

std::string Listed(const std::vector<testsupport::RecordingSink::Message>& recorded) {
  std::string out;
  for (const auto& m : recorded) out += "  [" + std::to_string(m.type) + "] " + m.text + "\n";
  return out;
}

// Whatever a load left behind is a consistent group.
void ExpectConsistent(Tvk_ChannelGroup& g) {
  for (int i = 0; i < g.GetChannelCount(); ++i) {
    Tvk_Channel* channel = g.GetChannel(i);
    if (channel == nullptr) continue;
    EXPECT_EQ(channel->GetChannelIDIndexNr(), i);
    EXPECT_EQ(channel->GetChannelGroup(), &g);
  }
}

TEST_F(GroupFileTest, MalformedFilesFailWithTheirMessagesOrAreCutSafely) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    engine.sink.Clear();
    auto loaded = NewGroup();
    EXPECT_EQ(Load(*loaded, c.file, true), c.loads);
    EXPECT_TRUE(InOrder(engine.sink.Messages(), c.messages)) << Listed(engine.sink.Messages());
    if (c.check) c.check(*loaded);
    ExpectConsistent(*loaded);
  }
}

// A group using every kind of record item, cut at every length and with every
// byte changed: each load ends, a failed one with a message, and leaves a
// consistent group.
class DamagedFileTest : public GroupFileTest {
 protected:
  std::vector<char> RichFile() {
    Tvk_Channel* root = Make(kLinkerType, "Root");
    Tvk_Channel* talker = Make(kChattyType, "Talker");
    Tvk_Channel* caller = Make(kLinkerType, "Caller");
    Tvk_Channel* parameter = Make(kLinkerType, "Param");
    caller->SetChannelInterfaceType(TVO_PUBLICCALL);
    parameter->SetChannelInterfaceType(TVO_PARAMETER);
    char pool[] = "Pool";
    channelInternal.AddPoolToChannel(talker, pool);
    channelInternal.AddChannelToPool(root, pool);
    for (Tvk_Channel* child : {talker, caller, parameter}) root->SetChild(child, -1, 0);
    talker->SetChild(root, 0, 1);
    ParameterInterfaceInfo info{};
    std::strcpy(info.name, "P");
    group->AddParameterInfo(info);
    group->SetPoolName("Rich");
    return SavedBytes(*group);
  }
};

TEST_F(DamagedFileTest, EveryTruncationFailsOrLoadsWhatItHolds) {
  const std::vector<char> file = RichFile();
  const std::size_t lastSlot = std::string(file.begin(), file.end()).rfind("CHIX");
  for (std::size_t size = 0; size < file.size(); ++size) {
    SCOPED_TRACE(size);
    engine.sink.Clear();
    auto loaded = NewGroup();
    const bool loadedOk = Load(*loaded, std::vector<char>(file.begin(), file.begin() + size), true);
    if (size <= lastSlot) {
      EXPECT_FALSE(loadedOk);
    }
    if (!loadedOk) {
      EXPECT_FALSE(engine.sink.Messages().empty());
    }
    ExpectConsistent(*loaded);
  }
}

TEST_F(DamagedFileTest, EveryChangedByteIsSurvived) {
  const std::vector<char> file = RichFile();
  for (std::size_t at = 0; at < file.size(); ++at) {
    SCOPED_TRACE(at);
    std::vector<char> damaged = file;
    damaged[at] = static_cast<char>(damaged[at] ^ 0xA5);
    auto loaded = NewGroup();
    Load(*loaded, damaged, true);
    ExpectConsistent(*loaded);
  }
}

}  // namespace
}  // namespace groupfiletest

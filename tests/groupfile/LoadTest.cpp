// Loading restores every channel at its stored index, holes included, links
// the channels after the last slot, and reads the group's own items.

#include <cstring>
#include <filesystem>

#include "GroupFileSupport.h"
#include "Platform.h"

namespace groupfiletest {
namespace {

std::vector<Tvk_Channel*> RunOf(Tvk_Channel* channel) {
  std::vector<Tvk_Channel*> run;
  for (int t = 0; t < channel->GetChildLinkPositionCount(0); ++t)
    run.push_back(channel->GetChildFromLinkPosition(0, t));
  return run;
}

// Two slots: "A" at 0, and "B" stored with index 5 as the second slot. B's run
// names A at target 0 and index 3, which holds no channel, at target 1.
Bytes StoredIndexFile() {
  Bytes file;
  file.Tag("TVKG").Int("CHCO", 2);
  file.Int("CHIX", 0).Guid("CHID", kLinkerType).Append(RecordStart("A", TVO_PRIVATE));
  UnlinkedNodes(file).Byte("CHUP", 0);
  file.Int("CHIX", 5).Guid("CHID", kLinkerType).Append(RecordStart("B", TVO_PRIVATE)).Int("CHLC", 2);
  LinkedNode(file, 0, 0, 0);
  LinkedNode(file, 3, 0, 1);
  file.Byte("CHUP", 0);
  return file;
}

TEST_F(GroupFileTest, TheStoredIndexDecidesWhereAChannelGoes) {
  ASSERT_TRUE(Load(*group, StoredIndexFile()));
  ASSERT_EQ(group->GetChannelCount(), 6);
  Tvk_Channel* a = group->GetChannel(0);
  Tvk_Channel* b = group->GetChannel(5);
  ASSERT_TRUE(a && b);
  EXPECT_STREQ(b->GetChannelName(), "B");
  EXPECT_EQ(b->GetChannelIDIndexNr(), 5);
  EXPECT_EQ(b->GetChannelGroup(), group.get());
  for (int i = 1; i < 5; ++i) EXPECT_EQ(group->GetChannel(i), nullptr) << i;
  // The link to the empty index is dropped with the pending requests.
  EXPECT_EQ(RunOf(b), std::vector<Tvk_Channel*>{a});
}

// Loading starts from the emptied group: its slots stay as holes where the
// file has fewer.
TEST_F(GroupFileTest, LoadingKeepsTheLargerSlotCountOfTheEmptiedGroup) {
  for (int i = 0; i < 8; ++i) Make(kLinkerType, "Old");
  ASSERT_TRUE(Load(*group, StoredIndexFile()));
  EXPECT_EQ(group->GetChannelCount(), 8);
  EXPECT_EQ(group->GetChannel(7), nullptr);
  EXPECT_STREQ(group->GetChannel(0)->GetChannelName(), "A");
}

TEST_F(GroupFileTest, HolesComeBackAsHoles) {
  Make(kLinkerType, "First");
  Tvk_Channel* middle = Make(kLinkerType, "Middle");
  Make(kLinkerType, "Last");
  Tvk_Channel* trailing = Make(kLinkerType, "Trailing");
  group->RemoveChannel(middle);
  group->RemoveChannel(trailing);

  auto loaded = NewGroup();
  ASSERT_TRUE(Load(*loaded, SavedBytes(*group)));
  ASSERT_EQ(loaded->GetChannelCount(), 4);
  EXPECT_STREQ(loaded->GetChannel(0)->GetChannelName(), "First");
  EXPECT_EQ(loaded->GetChannel(1), nullptr);
  EXPECT_STREQ(loaded->GetChannel(2)->GetChannelName(), "Last");
  EXPECT_EQ(loaded->GetChannel(3), nullptr);
}

// Links are made after the last slot, so a parent may name children stored
// after it, in any order and more than once.
TEST_F(GroupFileTest, LinksComeBackInTheirPlaces) {
  Tvk_Channel* parent = Make(kLinkerType, "Parent");
  Tvk_Channel* one = Make(kLinkerType, "One");
  Tvk_Channel* two = Make(kLinkerType, "Two");
  Tvk_Channel* three = Make(kLinkerType, "Three");
  for (Tvk_Channel* child : {three, one, two, one}) parent->SetChild(child, -1, 0);
  parent->SetChild(two, 0, 1);
  three->SetChild(parent, 0, 1);

  auto loaded = NewGroup();
  ASSERT_TRUE(Load(*loaded, SavedBytes(*group)));
  Tvk_Channel* p = loaded->GetChannel(0);
  EXPECT_EQ(RunOf(p), (std::vector<Tvk_Channel*>{loaded->GetChannel(3), loaded->GetChannel(1), loaded->GetChannel(2),
                                                 loaded->GetChannel(1)}));
  EXPECT_EQ(p->GetChildFromLinkPosition(1, 0), loaded->GetChannel(2));
  EXPECT_EQ(loaded->GetChannel(3)->GetChildFromLinkPosition(1, 0), p);
}

// The chatty plug-in leaves tags unread behind its record, one of them
// holding the bytes of an index tag; the next slot is still found.
TEST_F(GroupFileTest, DataAPluginLeavesUnreadDoesNotDisturbTheNextSlot) {
  Tvk_Channel* talker = Make(kChattyType, "Talker");
  Tvk_Channel* next = Make(kLinkerType, "Next");
  Make(kChattyType, "Third");
  next->SetChild(talker, 0, 1);

  auto loaded = NewGroup();
  ASSERT_TRUE(Load(*loaded, SavedBytes(*group)));
  ASSERT_EQ(loaded->GetChannelCount(), 3);
  EXPECT_STREQ(loaded->GetChannel(1)->GetChannelName(), "Next");
  EXPECT_STREQ(loaded->GetChannel(2)->GetChannelName(), "Third");
  EXPECT_EQ(loaded->GetChannel(1)->GetChildFromLinkPosition(1, 0), loaded->GetChannel(0));
}

TEST_F(GroupFileTest, TheGroupTakesTheGuidStartChannelAndParametersOfTheFile) {
  Make(kLinkerType, "Only");
  group->SetStartChannel(-1);
  ParameterInterfaceInfo info{};
  std::strcpy(info.name, "In");
  info.typeGuid = kChattyType;
  group->AddParameterInfo(info);
  group->AddParameterInfo(info);
  group->AddParameterInfo(info);
  group->RemoveParameterInfo(1);

  auto loaded = NewGroup();
  ASSERT_TRUE(Load(*loaded, SavedBytes(*group)));
  EXPECT_EQ(loaded->GetUniqueGroupGuid(), group->GetUniqueGroupGuid());
  EXPECT_EQ(loaded->GetStartChannel(), -1);
  ASSERT_EQ(loaded->GetParameterCount(), 3);
  EXPECT_STREQ(loaded->GetParameterInfo(0).name, "In");
  EXPECT_EQ(loaded->GetParameterInfo(0).typeGuid, kChattyType);
  // A hole is written as "NoInterface" and comes back as an entry of that name.
  EXPECT_STREQ(loaded->GetParameterInfo(1).name, "NoInterface");
  EXPECT_EQ(loaded->GetParameterInfo(1).typeGuid, kZeroGuid);
}

// "CINA" names the pool only for a pool instance, which then takes the next
// free instance number of that pool.
TEST_F(GroupFileTest, APoolInstanceTakesThePoolNameAndTheNextInstanceNumber) {
  Make(kLinkerType, "Only");
  const std::vector<char> bytes = SavedBytes(*group);

  auto plain = NewGroup();
  ASSERT_TRUE(Load(*plain, bytes, false));
  EXPECT_EQ(plain->GetPoolName(), nullptr);
  EXPECT_EQ(plain->GetPoolNr(), -1);

  auto first = NewGroup();
  ASSERT_TRUE(Load(*first, bytes, true));
  EXPECT_STREQ(first->GetPoolName(), "No Name Instance");
  EXPECT_EQ(first->GetPoolNr(), 0);

  // One instance of the pool registered with the engine: the next is 1.
  ASSERT_NE(engine->CreateNewGroup("No Name Instance", true, -1), nullptr);
  auto second = NewGroup();
  ASSERT_TRUE(Load(*second, bytes, true));
  EXPECT_EQ(second->GetPoolNr(), 1);
}

TEST_F(GroupFileTest, LoadingFromAFileRecordsItsName) {
  Make(kLinkerType, "Only");
  const std::string path = files.File("saved.cgr");
  WriteFileBytes(path, SavedBytes(*group));
  auto loaded = NewGroup();
  ASSERT_TRUE(loaded->LoadChannelGroupFromFile(path.c_str(), false));
  EXPECT_EQ(std::string(loaded->GetChannelGroupFileName()), path);
  EXPECT_FALSE(loaded->GetReadOnly());
  EXPECT_STREQ(loaded->GetChannel(0)->GetChannelName(), "Only");
}

TEST_F(GroupFileTest, AMissingFileIsReportedToTheUser) {
  const std::string path = files.File("absent.cgr");
  EXPECT_FALSE(group->LoadChannelGroupFromFile(path.c_str(), false));
  EXPECT_EQ(Messages(kMessageUserError),
            std::vector<std::string>{"The following channel group file could not be loaded:  " + path});
  engine.sink.Clear();
  EXPECT_FALSE(group->LoadChannelGroupFromFile(nullptr, false));
  EXPECT_FALSE(group->LoadChannelGroupFromBuffer(nullptr, 0, nullptr, false));
  EXPECT_TRUE(engine.sink.Messages().empty());
}

// A file the process may not write loads as read-only. Processes that may
// write every file (root) cannot see this.
TEST_F(GroupFileTest, AReadOnlyFileLoadsAsReadOnly) {
  Make(kLinkerType, "Only");
  const std::string path = files.File("locked.cgr");
  WriteFileBytes(path, SavedBytes(*group));
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  if ((platform::FileAttributes(path.c_str()) & platform::kFileAttributeReadOnly) == 0) {
    GTEST_SKIP() << "this process may write read-only files";
  }
  auto loaded = NewGroup();
  ASSERT_TRUE(loaded->LoadChannelGroupFromFile(path.c_str(), false));
  EXPECT_TRUE(loaded->GetReadOnly());
  ASSERT_TRUE(loaded->LoadChannelGroupFromBuffer("memory.cgr", 0, nullptr, false) == false);
  EXPECT_FALSE(loaded->GetReadOnly());  // the flag follows the last load
}

}  // namespace
}  // namespace groupfiletest

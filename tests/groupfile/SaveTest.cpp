// Saving to a file: the read-only warning, the failures that leave the
// previous file as it was, and a slot saved as a channel of another type.

#include "GroupFileSupport.h"

namespace groupfiletest {
namespace {

const std::string kCouldNotCreate = "Couldn't create channel group file:  ";

TEST_F(GroupFileTest, SavingAReadOnlyGroupWarnsAndStillWrites) {
  Make(kLinkerType, "Only");
  group->SetReadOnly(true);
  const std::string path = files.File("read-only.cgr");
  EXPECT_TRUE(group->SaveChannelGroup(path.c_str()));
  EXPECT_EQ(Messages(kMessageUserWarning),
            std::vector<std::string>{"This channel group was loaded as a read-only file. The program will try to save "
                                     "it, but this might fail:  " +
                                     path});
  EXPECT_TRUE(SameBytes(ReadFileBytes(path), SavedBytes(*group)));
}

// The saver replaces the file only with a complete stream; the group keeps
// the file name it had.
TEST_F(GroupFileTest, AFailedSaveKeepsThePreviousFileAndName) {
  Make(kLinkerType, "Only");
  const std::string previous = files.File("previous.cgr");
  const std::string path = files.File("group.cgr");
  ASSERT_TRUE(group->SaveChannelGroup(path.c_str()));
  const std::vector<char> before = ReadFileBytes(path);
  group->SetChannelGroupFileName(previous.c_str());

  Make(kChattyType, kSpoilName);  // its record spoils the stream
  engine.sink.Clear();
  EXPECT_FALSE(group->SaveChannelGroup(path.c_str()));
  EXPECT_EQ(Messages(kMessageError), std::vector<std::string>{kCouldNotCreate + path});
  EXPECT_TRUE(SameBytes(ReadFileBytes(path), before));
  EXPECT_EQ(std::string(group->GetChannelGroupFileName()), previous);

  const std::string nowhere = files.File("missing-folder/group.cgr");
  engine.sink.Clear();
  EXPECT_FALSE(group->SaveChannelGroup(nowhere.c_str()));
  EXPECT_EQ(Messages(kMessageError), std::vector<std::string>{kCouldNotCreate + nowhere});
  EXPECT_EQ(std::string(group->GetChannelGroupFileName()), previous);
}

// The file holds a default channel of the other type at that index; the
// group in memory keeps its own.
TEST_F(GroupFileTest, ATypeChangeSavesADefaultChannelOfTheOtherType) {
  Make(kLinkerType, "Zero");
  Tvk_Channel* changed = Make(kLinkerType, "One");
  Make(kLinkerType, "Two")->SetChild(changed, 0, 1);
  group->SetChannelTypeChangeSave(1, kAlternateType);
  EXPECT_EQ(Messages(kMessageBox), std::vector<std::string>{"SetChannelTypeChangeSave 1"});

  auto loaded = NewGroup();
  ASSERT_TRUE(Load(*loaded, SavedBytes(*group)));
  Tvk_Channel* written = loaded->GetChannel(1);
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(written->GetChannelType().guid, kAlternateType);
  EXPECT_STREQ(written->GetChannelName(), kAlternateName);
  EXPECT_EQ(loaded->GetChannel(2)->GetChildFromLinkPosition(1, 0), written);
  EXPECT_EQ(group->GetChannel(1), changed);
  EXPECT_STREQ(changed->GetChannelName(), "One");
}

TEST_F(GroupFileTest, ATypeChangeToAMissingTypeSavesTheGroupsOwnChannel) {
  Make(kLinkerType, "Zero");
  group->SetChannelTypeChangeSave(0, kMissingType);
  engine.sink.Clear();
  const std::vector<char> bytes = SavedBytes(*group);
  EXPECT_EQ(Messages(kMessageBox), std::vector<std::string>{"Error change channel can't be initialized"});
  auto loaded = NewGroup();
  ASSERT_TRUE(Load(*loaded, bytes));
  EXPECT_EQ(loaded->GetChannel(0)->GetChannelType().guid, kLinkerType);
  EXPECT_STREQ(loaded->GetChannel(0)->GetChannelName(), "Zero");
}

}  // namespace
}  // namespace groupfiletest

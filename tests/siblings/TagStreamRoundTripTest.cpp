// What a memory saver writes, the loader reads back the way the engine's
// readers do.

#include <cstring>
#include <string>

#include "SiblingPlugins.h"

namespace siblingtest {
namespace {

using TagStreamRoundTrip = SiblingTest;

const char kGuidBytes[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

TEST_F(TagStreamRoundTrip, LoneTagThenTagWithBlockReadBackWithoutFiller) {
  saver->OpenMemory();
  saver->SaveTag("TVKG");
  SaveBlock("CGGG", kGuidBytes, sizeof kGuidBytes);
  ASSERT_EQ(saver->GetBufferSize(), 4u + 4u + 4u + 16u);
  EXPECT_EQ(std::memcmp(saver->GetBuffer(), "TVKGCGGG\x10\0\0\0", 12), 0);

  LoadSaverBuffer();
  ASSERT_TRUE(loader->GetInfoIfTag("TVKG"));
  ASSERT_TRUE(loader->GetInfoIfTag("CGGG"));
  char guid[16] = {};
  loader->CopyTagDataToPointer(guid);
  EXPECT_EQ(std::memcmp(guid, kGuidBytes, 16), 0);
  EXPECT_TRUE(loader->GetIfEndOfFile());
}

TEST_F(TagStreamRoundTrip, OneTagFollowedByThreeBlocks) {
  const std::int32_t number = -7;
  const char text[] = "abc";
  const double value = 2.5;
  saver->OpenMemory();
  saver->SaveTag("CHPI");
  for (auto [data, size] : {std::pair<const void*, std::uint32_t>{&number, 4}, {text, 4}, {&value, 8}}) {
    saver->SaveBlockSize(size);
    saver->SaveDataToFile(data, size);
  }

  LoadSaverBuffer();
  ASSERT_TRUE(loader->GetInfoIfTag("CHPI"));
  std::int32_t readNumber = 0;
  char readText[4] = {};
  double readValue = 0;
  loader->CopyTagDataToPointer(&readNumber);
  loader->CopyTagDataToPointer(readText);
  loader->CopyTagDataToPointer(&readValue);
  EXPECT_EQ(readNumber, number);
  EXPECT_STREQ(readText, text);
  EXPECT_EQ(readValue, value);
  EXPECT_TRUE(loader->GetIfEndOfFile());
}

TEST_F(TagStreamRoundTrip, AnOtherTagLeavesThePositionForTheRightOne) {
  const std::int32_t index = 12;
  saver->OpenMemory();
  SaveBlock("CHIX", &index, 4);
  LoadSaverBuffer();
  const char* start = loader->GetBuffer();

  EXPECT_FALSE(loader->GetInfoIfTag("CHEX"));
  EXPECT_FALSE(loader->CheckHeader("CHI", true));  // a short text stands for "CHI\0"
  EXPECT_TRUE(loader->CheckHeader("CHIX", false));
  EXPECT_EQ(loader->GetBuffer(), start);
  ASSERT_TRUE(loader->GetInfoIfTag("CHIX"));
  std::int32_t read = 0;
  loader->CopyTagDataToPointer(&read);
  EXPECT_EQ(read, index);
}

TEST_F(TagStreamRoundTrip, BlockSizeStaysOrMovesOntoTheData) {
  const char record[12] = "eleven char";
  saver->OpenMemory();
  SaveBlock("CHPT", record, sizeof record);
  LoadSaverBuffer();
  ASSERT_TRUE(loader->GetInfoIfTag("CHPT"));

  EXPECT_EQ(loader->GetSizeDataBlock(false), 12u);
  EXPECT_EQ(loader->GetSizeDataBlock(false), 12u);
  EXPECT_EQ(loader->GetSizeDataBlock(true), 12u);
  ASSERT_NE(loader->GetBuffer(), nullptr);
  EXPECT_EQ(std::memcmp(loader->GetBuffer(), record, 12), 0);
  loader->AddBufferPos(12);
  EXPECT_TRUE(loader->GetIfEndOfFile());
}

// A channel record whose trailing blocks nobody read, one of which holds the
// bytes "CHIX" followed by no plausible size, then the next record.
TEST_F(TagStreamRoundTrip, GotoTagSkipsUnreadBlocksAndTagBytesInsideThem) {
  const std::int32_t first = 1;
  const std::int32_t second = 2;
  const char name[] = "channel";
  const char tagLike[8] = {'C', 'H', 'I', 'X', '\xff', '\xff', '\xff', '\x7f'};
  saver->OpenMemory();
  saver->SaveTag("CHES");
  SaveBlock("CHIX", &first, 4);
  SaveBlock("CHNM", name, sizeof name);
  SaveBlock("LUSC", tagLike, sizeof tagLike);
  saver->SaveTag("CHES");
  SaveBlock("CHIX", &second, 4);
  saver->SaveTag("CEND");
  LoadSaverBuffer();

  std::int32_t read = 0;
  ASSERT_TRUE(loader->GotoTag("CHIX", 0));
  loader->CopyTagDataToPointer(&read);
  EXPECT_EQ(read, first);
  ASSERT_TRUE(loader->GotoTag("CHIX", 0));
  loader->CopyTagDataToPointer(&read);
  EXPECT_EQ(read, second);

  const char* beforeMiss = loader->GetBuffer();
  EXPECT_FALSE(loader->GotoTag("CHIX", 0));
  EXPECT_EQ(loader->GetBuffer(), beforeMiss);
  // A lone tag has no block, so the first occurrence is taken.
  EXPECT_TRUE(loader->GotoTag("CEND", 0));
  EXPECT_TRUE(loader->GetIfEndOfFile());
}

TEST_F(TagStreamRoundTrip, CopiedSaverBufferOutlivesTheSaver) {
  const char text[] = "kept after the saver is gone";
  saver->OpenMemory();
  SaveBlock("TEXT", text, sizeof text);
  LoadSaverBuffer();
  saver.reset();

  ASSERT_TRUE(loader->GetInfoIfTag("TEXT"));
  ASSERT_EQ(loader->GetSizeDataBlock(false), sizeof text);
  std::string read(sizeof text, '\0');
  loader->CopyTagDataToPointer(read.data());
  EXPECT_STREQ(read.c_str(), text);
}

// A translation channel may hand the loader a part of its own bytes, for
// instance everything after a header it consumed.
TEST_F(TagStreamRoundTrip, SetBufferAcceptsTheLoadersOwnBytes) {
  for (bool copy : {false, true}) {
    SCOPED_TRACE(copy ? "copied" : "borrowed");
    char bytes[] = "HEADTVKG";
    loader->SetBuffer(bytes, 8, true);
    loader->AddBufferPos(4);
    loader->SetBuffer(const_cast<char*>(loader->GetBuffer()), 4, copy);
    EXPECT_EQ(loader->GetBufferSize(), 4);
    EXPECT_TRUE(loader->GetInfoIfTag("TVKG"));

    loader->SetBuffer(bytes, 8, true);
    loader->SetBuffer(const_cast<char*>(loader->GetBuffer()) + 4, 100, copy);
    EXPECT_EQ(loader->GetBufferSize(), 0) << "the loader's own bytes end where its buffer does";
  }
}

TEST_F(TagStreamRoundTrip, ResetPositionReadsFromTheStartAgain) {
  saver->OpenMemory();
  saver->SaveTag("TVKG");
  LoadSaverBuffer();
  ASSERT_TRUE(loader->GetInfoIfTag("TVKG"));
  loader->AddBufferPos(-4);  // never backwards
  EXPECT_TRUE(loader->GetIfEndOfFile());
  loader->ResetPosition();
  EXPECT_TRUE(loader->GetInfoIfTag("TVKG"));
}

// The operations nobody in the engine calls still do something plain.
TEST_F(TagStreamRoundTrip, RarelyUsedOperations) {
  char bytes[] = "123456789";
  loader->SetBuffer(bytes, 9, true);
  EXPECT_EQ(loader->GetCRC(), 0xCBF43926u);
  loader->SetBufferChar(0, 'X');
  EXPECT_EQ(loader->GetBuffer()[0], 'X');

  loader->SetBuffer(bytes, 9, false);
  loader->SetBufferChar(0, 'X');
  EXPECT_EQ(bytes[0], '1') << "borrowed memory stays the caller's";
  unsigned long progress = 0;
  EXPECT_FALSE(loader->RunThreaded(&progress));
  EXPECT_EQ(progress, 9u);
  EXPECT_FALSE(loader->CheckULRCache("http://example.invalid/a.cgr"));
  EXPECT_EQ(loader->GetChacheFileNameFromURL("http://example.invalid/a.cgr"), nullptr);
  EXPECT_EQ(loader->GetAttributes(), 0u);

  const std::int32_t value = 5;
  saver->OpenMemory();
  SaveBlock("SKIP", &value, 4);
  saver->SaveTag("NEXT");
  LoadSaverBuffer();
  ASSERT_TRUE(loader->GetInfoIfTag("SKIP"));
  ASSERT_NE(loader->GetTagData(), nullptr);
  EXPECT_EQ(std::memcmp(loader->GetTagData(), &value, 4), 0);
  loader->ResetPosition();
  EXPECT_TRUE(loader->SkipCurrentTag());
  EXPECT_TRUE(loader->CheckHeader("NEXT", false));
  EXPECT_EQ(loader->GetTagData(), nullptr) << "\"NEXT\" read as a size runs past the end";
  EXPECT_FALSE(loader->SkipCurrentTag()) << "a lone tag at the end has no block to skip";
}

}  // namespace
}  // namespace siblingtest

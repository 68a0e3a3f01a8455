// The loader's checks that every reader of untrusted data relies on: a block
// is used only when its size field and data lie inside the loaded bytes.

#include <cstring>

#include "GroupFileSupport.h"
#include "TvkFile.h"

namespace groupfiletest {
namespace {

TEST_F(GroupFileTest, ABlockRunningPastTheEndIsRefusedAndLeftWhereItIs) {
  // A block of 4 bytes that fits, then one claiming 100 bytes with only 3.
  std::vector<char> bytes = Bytes().Int("FITS", 7).Tag("LONG").U32(100).Raw("abc", 3).Vector();
  TvkFileLoader loader(engine.Get());
  loader.SetBuffer(bytes.data(), static_cast<int>(bytes.size()), false);

  ASSERT_TRUE(loader.GetInfoIfTag("FITS"));
  EXPECT_TRUE(loader.GetIfBlockInsideData());
  EXPECT_TRUE(loader.SkipDataBlock());
  ASSERT_TRUE(loader.GetInfoIfTag("LONG"));
  EXPECT_EQ(loader.GetRemainingSize(), 7);
  EXPECT_FALSE(loader.GetIfBlockInsideData());
  char field[200];
  std::memset(field, 'x', sizeof field);
  EXPECT_FALSE(loader.CopyTagDataToPointer(field, sizeof field));
  EXPECT_EQ(field[0], 'x');
  EXPECT_FALSE(loader.SkipDataBlock());
  EXPECT_EQ(loader.GetRemainingSize(), 7);  // nothing moved
  EXPECT_EQ(loader.GetSizeDataBlock(false), 100u);
}

TEST_F(GroupFileTest, ABlockLargerThanItsFieldIsRefused) {
  std::vector<char> bytes = Bytes().Block("WIDE", Bytes().I32(1).I32(2)).Vector();
  TvkFileLoader loader(engine.Get());
  loader.SetBuffer(bytes.data(), static_cast<int>(bytes.size()), false);
  ASSERT_TRUE(loader.GetInfoIfTag("WIDE"));
  std::int32_t field = 0;
  EXPECT_FALSE(loader.CopyTagDataToPointer(&field, sizeof field));
  std::int32_t both[2] = {0, 0};
  EXPECT_TRUE(loader.CopyTagDataToPointer(both, sizeof both));
  EXPECT_EQ(both[1], 2);
  EXPECT_EQ(loader.GetRemainingSize(), 0);
}

}  // namespace
}  // namespace groupfiletest

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "ChannelType.h"
#include "Guid.h"

namespace {

TEST(GuidText, UpperCaseWithEveryLeadingZero) {
  struct Case {
    GUID guid;
    const char* text;
  };
  const Case cases[] = {
      {{0x7E03A9B5, 0x42D1, 0x4C8A, {0xB6, 0xF4, 0x0D, 0x95, 0xE2, 0xC3, 0x18, 0xA7}},
       "7E03A9B5-42D1-4C8A-B6F4-0D95E2C318A7"},
      {{0x0000abcd, 0x00ef, 0x0001, {0x0a, 0xb0, 0x00, 0x01, 0x02, 0x03, 0x04, 0xff}},
       "0000ABCD-00EF-0001-0AB0-0001020304FF"},
      {kZeroGuid, "00000000-0000-0000-0000-000000000000"},
      {kWildcardGuid, "11111111-1111-1111-1111-111111111111"},
      {{0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
       "FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF"},
  };
  for (const Case& c : cases) {
    char text[37];
    std::memset(text, '#', sizeof text);
    GuidToText(c.guid, text);
    EXPECT_STREQ(text, c.text);
    EXPECT_EQ(GuidText(c.guid), c.text);
  }
}

TEST(GuidText, GuidsCompareByAllSixteenBytes) {
  GUID a = kWildcardGuid;
  GUID b = kWildcardGuid;
  EXPECT_TRUE(a == b);
  b.Data4[7] = 0x12;
  EXPECT_TRUE(a != b);
  EXPECT_TRUE(IsZeroGuid(kZeroGuid));
  EXPECT_FALSE(IsZeroGuid(a));
}

TEST(ChannelType, LayoutIsTheFixed132ByteRecord) {
  EXPECT_EQ(offsetof(ChannelType, name), 0u);
  EXPECT_EQ(offsetof(ChannelType, guid), 80u);
  EXPECT_EQ(offsetof(ChannelType, baseGuid), 96u);
  EXPECT_EQ(offsetof(ChannelType, versionInfo), 112u);
  EXPECT_EQ(offsetof(ChannelType, userValue1), 124u);
  EXPECT_EQ(offsetof(ChannelType, userValue2), 128u);
  EXPECT_EQ(sizeof(ChannelType), 132u);
}

TEST(ChannelType, DefaultsAndByteForByteAssignment) {
  ChannelType defaults;
  EXPECT_STREQ(defaults.name, "");
  EXPECT_TRUE(IsZeroGuid(defaults.guid));
  EXPECT_TRUE(IsZeroGuid(defaults.baseGuid));
  EXPECT_EQ(defaults.versionInfo[0], 1);
  EXPECT_EQ(defaults.versionInfo[1], 54);
  EXPECT_EQ(defaults.versionInfo[2], 1);
  EXPECT_EQ(defaults.userValue1, 0);
  EXPECT_EQ(defaults.userValue2, 0);

  // Bytes after the name's terminator travel too: the record is copied raw.
  ChannelType filled;
  std::memset(static_cast<void*>(&filled), 0x5A, sizeof filled);
  std::memcpy(filled.name, "Lua Script", 11);
  ChannelType copy;
  copy = filled;
  EXPECT_EQ(std::memcmp(&copy, &filled, sizeof copy), 0);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>
#include <string>

#include "Platform.h"

TEST(Clock, TickCountDoesNotGoBackwards) {
  const std::uint32_t before = platform::GetTickCount();
  platform::SleepMilliseconds(20);
  const std::uint32_t after = platform::GetTickCount();
  // Differences are taken modulo 2^32, as every user of the wrapping counter does.
  const std::uint32_t elapsed = after - before;
  EXPECT_LT(elapsed, 0x80000000u);
}

TEST(Clock, LocalDateAndTimeHaveTheirPictures) {
  EXPECT_TRUE(std::regex_match(platform::FormatLocalDate(), std::regex(R"(\d{4}-\d{2}-\d{2})")))
      << platform::FormatLocalDate();
  EXPECT_TRUE(std::regex_match(platform::FormatLocalTime(), std::regex(R"(([01]\d|2[0-3]):[0-5]\d:[0-6]\d)")))
      << platform::FormatLocalTime();
}

TEST(Guid, NewGuidsAreVersionFourAndDistinct) {
  std::set<std::string> seen;
  for (int i = 0; i < 2000; ++i) {
    const GUID guid = platform::CreateGuid();
    ASSERT_EQ(guid.Data3 >> 12, 4) << "version nibble";
    ASSERT_EQ(guid.Data4[0] & 0xC0, 0x80) << "variant bits";
    ASSERT_TRUE(seen.insert(std::string(reinterpret_cast<const char*>(&guid), sizeof guid)).second);
  }
}

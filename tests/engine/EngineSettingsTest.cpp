// Settings values under the host's key.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"
#include "TestSupport.h"

namespace {

constexpr const char* kKey = "Software\\Varnel\\Tests";  // the key StartedEngine gives

class SettingsTest : public ::testing::Test {
 protected:
  EngineInterfaceExt* ext() { return engine->engineInterfaceExt; }
  testsupport::StartedEngine engine;
};

TEST_F(SettingsTest, SetCreatesTheKeyAndReplacesValues) {
  EXPECT_TRUE(ext()->SetRegData("Colour", "red"));
  EXPECT_TRUE(ext()->SetRegData("Colour", "blue"));
  char text[100];
  ASSERT_TRUE(ext()->GetRegData("Colour", text, 99));
  EXPECT_STREQ(text, "blue");
}

TEST_F(SettingsTest, MissingValueOrKeyAnswersFalseAndLeavesTheBuffer) {
  char text[16];
  std::strcpy(text, "untouched");
  EXPECT_FALSE(ext()->GetRegData("NoSuchValue", text, 15));
  EXPECT_STREQ(text, "untouched");

  ext()->SetVarnelRegKey("Software\\Varnel\\NeverWritten");
  EXPECT_FALSE(ext()->GetRegData("Colour", text, 15));
  EXPECT_STREQ(text, "untouched");
}

TEST_F(SettingsTest, TextLongerThanTheBufferAnswersFalse) {
  ASSERT_TRUE(ext()->SetRegData("Long", std::string(120, 'x').c_str()));
  char text[100];
  std::strcpy(text, "untouched");
  EXPECT_FALSE(ext()->GetRegData("Long", text, 99));
  EXPECT_STREQ(text, "untouched");
}

TEST_F(SettingsTest, ExactlyFittingTextFillsTheBufferWithoutTerminator) {
  ASSERT_TRUE(ext()->SetRegData("Five", "abcde"));
  char text[8];
  std::memset(text, '#', sizeof(text));
  ASSERT_TRUE(ext()->GetRegData("Five", text, 5));
  EXPECT_EQ(std::string(text, 5), "abcde");
  EXPECT_EQ(text[5], '#') << "exactly size bytes are written";

  std::memset(text, '#', sizeof(text));
  ASSERT_TRUE(ext()->GetRegData("Five", text, 7));
  EXPECT_EQ(std::string(text, 7), std::string("abcde\0\0", 7)) << "padded with zeros";
}

TEST_F(SettingsTest, NumberTypedValueAnswersFalse) {
  platform::SettingValue number;
  number.type = platform::SettingType::Number;
  number.number = 42;
  ASSERT_TRUE(platform::WriteSetting(kKey, "Count", number));
  char text[32] = "untouched";
  EXPECT_FALSE(ext()->GetRegData("Count", text, 31));
  EXPECT_STREQ(text, "untouched");
}

TEST_F(SettingsTest, NullArgumentsAreRefused) {
  char text[8];
  EXPECT_FALSE(ext()->SetRegData(nullptr, "x"));
  EXPECT_FALSE(ext()->SetRegData("x", nullptr));
  EXPECT_FALSE(ext()->GetRegData(nullptr, text, 7));
  EXPECT_FALSE(ext()->GetRegData("x", nullptr, 7));
}

TEST_F(SettingsTest, ValuesLiveUnderTheHostKeyOnly) {
  ASSERT_TRUE(ext()->SetRegData("Shared", "one"));
  ext()->SetVarnelRegKey("Software\\Varnel\\Other");
  char text[16];
  EXPECT_FALSE(ext()->GetRegData("Shared", text, 15));
  ASSERT_TRUE(ext()->SetRegData("Shared", "two"));
  ext()->SetVarnelRegKey(kKey);
  ASSERT_TRUE(ext()->GetRegData("Shared", text, 15));
  EXPECT_STREQ(text, "one");
}

}  // namespace

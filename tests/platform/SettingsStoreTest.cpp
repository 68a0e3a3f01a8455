#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "Platform.h"
#include "ScopedEnvironment.h"
#include "TestSupport.h"

namespace fs = std::filesystem;
using namespace std::string_literals;
using platform::ReadSetting;
using platform::SettingType;
using platform::SettingValue;
using platform::SettingsKeyExists;
using platform::WriteSetting;

namespace {

constexpr const char* kKey = "Software\\Varnel\\Test";

SettingValue Text(std::string text) {
  SettingValue value;
  value.type = SettingType::String;
  value.text = std::move(text);
  return value;
}

SettingValue Number(std::int64_t number) {
  SettingValue value;
  value.type = SettingType::Number;
  value.number = number;
  return value;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

std::vector<fs::path> EverythingBelow(const fs::path& directory) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::recursive_directory_iterator(directory)) found.push_back(entry.path());
  return found;
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  fs::path KeyFile() const { return settings_.Dir().Path() / "Software" / "Varnel" / "Test.settings"; }
  testsupport::ScopedSettingsRoot settings_;
};

}  // namespace

TEST_F(SettingsStoreTest, ValuesReadBackWithTheirType) {
  ASSERT_TRUE(WriteSetting(kKey, "Name", Text("42")));
  ASSERT_TRUE(WriteSetting(kKey, "Count", Number(42)));
  ASSERT_TRUE(WriteSetting(kKey, "Low", Number(std::numeric_limits<std::int64_t>::min())));
  ASSERT_TRUE(WriteSetting(kKey, "High", Number(std::numeric_limits<std::int64_t>::max())));

  const auto name = ReadSetting(kKey, "Name");
  ASSERT_TRUE(name);
  EXPECT_EQ(name->type, SettingType::String);
  EXPECT_EQ(name->text, "42");
  const auto count = ReadSetting(kKey, "Count");
  ASSERT_TRUE(count);
  EXPECT_EQ(count->type, SettingType::Number);
  EXPECT_EQ(count->number, 42);
  EXPECT_EQ(ReadSetting(kKey, "Low")->number, std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(ReadSetting(kKey, "High")->number, std::numeric_limits<std::int64_t>::max());
}

TEST_F(SettingsStoreTest, KeyMapsToOneFileBelowTheRoot) {
  EXPECT_FALSE(SettingsKeyExists(kKey));
  ASSERT_TRUE(WriteSetting(kKey, "Name", Text("x")));
  EXPECT_TRUE(fs::is_regular_file(KeyFile()));
  EXPECT_TRUE(SettingsKeyExists(kKey));
  // Both separators name the same key.
  EXPECT_TRUE(SettingsKeyExists("Software/Varnel/Test"));
  EXPECT_EQ(ReadSetting("Software/Varnel\\Test", "Name")->text, "x");
}

TEST_F(SettingsStoreTest, MissingKeyAndMissingValueReadAsNothing) {
  EXPECT_FALSE(ReadSetting(kKey, "Name"));
  EXPECT_FALSE(SettingsKeyExists(kKey));
  ASSERT_TRUE(WriteSetting(kKey, "Name", Text("x")));
  EXPECT_FALSE(ReadSetting(kKey, "Other"));
  EXPECT_FALSE(ReadSetting(kKey, "name")) << "names compare exactly";
  EXPECT_FALSE(ReadSetting("Software\\Varnel\\Other", "Name"));
  EXPECT_FALSE(ReadSetting(kKey, nullptr));
  EXPECT_FALSE(WriteSetting(kKey, nullptr, Text("x")));
}

TEST_F(SettingsStoreTest, WriteReplacesOnlyTheNamedValue) {
  ASSERT_TRUE(WriteSetting(kKey, "A", Text("first")));
  ASSERT_TRUE(WriteSetting(kKey, "B", Number(2)));
  ASSERT_TRUE(WriteSetting(kKey, "A", Text("second")));
  ASSERT_TRUE(WriteSetting(kKey, "B", Text("now a text")));

  EXPECT_EQ(ReadSetting(kKey, "A")->text, "second");
  const auto b = ReadSetting(kKey, "B");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->type, SettingType::String);
  EXPECT_EQ(b->text, "now a text");
}

TEST_F(SettingsStoreTest, NamesAndValuesMayHoldAnyBytes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"plain", "text"},
      {"empty value", ""},
      {"", "the unnamed value"},
      {"line\nbreak", "two\nlines\r\n"},
      {"looks like an entry", "S 3 4\nabc\n"},
      {"odd bytes", "\x01\xff\x7f zero:\0:end"s},
      {"long", std::string(100000, 'x')},
  };
  for (const auto& [name, text] : cases) ASSERT_TRUE(WriteSetting(kKey, name.c_str(), Text(text))) << name;
  for (const auto& [name, text] : cases) {
    const auto value = ReadSetting(kKey, name.c_str());
    ASSERT_TRUE(value) << name;
    EXPECT_EQ(value->text, text) << name;
  }
}

TEST_F(SettingsStoreTest, CorruptFileReadsAsMissingAndTheNextWriteStartsAfresh) {
  ASSERT_TRUE(WriteSetting(kKey, "Kept", Text("value")));
  ASSERT_TRUE(WriteSetting(kKey, "Count", Number(-7)));
  const std::string good = ReadFile(KeyFile());

  std::vector<std::string> corrupt = {
      "",
      "garbage",
      good + "x",                                  // trailing bytes
      "varnel-settings 2 0\n",                     // unknown version
      "varnel-settings 1 1\nS 1 99\nab\n",         // value runs past the end
      "varnel-settings 1 1\nX 1 1\nab\n",          // unknown type
      "varnel-settings 1 1\nN 1 3\na1x2\n",        // number that is no number
      "varnel-settings 1 1\nN 1 20\na99999999999999999999\n",  // number out of range
      "varnel-settings 1 1\nS 01 1\nab\n",         // length not in the writer's spelling
      "varnel-settings 1 2\nS 1 1\nab\nS 1 1\nac\n",  // the same name twice
      "varnel-settings 1 99999999999\n",           // count the data cannot hold
      "varnel-settings 1 18446744073709551616\n",  // count beyond 64 bits
  };
  // A file cut off anywhere is recognisable as such.
  for (std::size_t length = 0; length < good.size(); ++length) corrupt.push_back(good.substr(0, length));

  for (const std::string& content : corrupt) {
    WriteFile(KeyFile(), content);
    EXPECT_FALSE(SettingsKeyExists(kKey)) << testing::PrintToString(content);
    EXPECT_FALSE(ReadSetting(kKey, "Kept")) << testing::PrintToString(content);
  }

  ASSERT_TRUE(WriteSetting(kKey, "Fresh", Text("new")));
  EXPECT_TRUE(SettingsKeyExists(kKey));
  EXPECT_EQ(ReadSetting(kKey, "Fresh")->text, "new");
  EXPECT_FALSE(ReadSetting(kKey, "Kept")) << "nothing of a corrupt file survives";
}

TEST_F(SettingsStoreTest, DamagedFilesNeverBreakTheReader) {
  ASSERT_TRUE(WriteSetting(kKey, "Text", Text("some text\nwith a line break")));
  ASSERT_TRUE(WriteSetting(kKey, "Count", Number(123456)));
  const std::string good = ReadFile(KeyFile());
  std::mt19937 random(20240611);
  for (int round = 0; round < 300; ++round) {
    std::string damaged = good;
    for (int flips = 1 + round % 4; flips > 0; --flips) {
      damaged[random() % damaged.size()] = static_cast<char>(random());
    }
    WriteFile(KeyFile(), damaged);
    // Whatever the damage, the reader answers: a value, or nothing.
    const auto text = ReadSetting(kKey, "Text");
    if (text && text->type == SettingType::String) {
      EXPECT_LE(text->text.size(), damaged.size());
    }
  }
}

TEST_F(SettingsStoreTest, KeyWithoutValuesExists) {
  fs::create_directories(KeyFile().parent_path());
  WriteFile(KeyFile(), "varnel-settings 1 0\n");
  EXPECT_TRUE(SettingsKeyExists(kKey));
  EXPECT_FALSE(ReadSetting(kKey, "Anything"));
}

TEST_F(SettingsStoreTest, WriteLeavesNoTemporaryFiles) {
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(WriteSetting(kKey, "Round", Number(i)));
  EXPECT_EQ(EverythingBelow(KeyFile().parent_path()), std::vector<fs::path>{KeyFile()});
}

TEST(SettingsStoreKeys, HostileKeyPathsAreRefusedAndWriteNothing) {
  testsupport::TempDir outside;
  const fs::path root = outside.Path() / "store";
  ScopedEnvironment environment;
  environment.Set("VARNEL_SETTINGS_DIR", root.string());
  // Directories for a climbing path to land in, had it been followed.
  ASSERT_TRUE(WriteSetting("Software\\Varnel\\Good", "Name", Text("x")));
  const std::vector<fs::path> before = EverythingBelow(outside.Path());

  const char* hostile[] = {
      "",
      "\\",
      "/",
      "..",
      ".",
      "..\\escape",
      "Software\\..\\..\\escape",
      "Software/../../escape",
      "Software\\Varnel\\..",
      "Software\\.\\Varnel",
      "Software\\\\Varnel",
      "\\Software\\Varnel",
      "/Software/Varnel",
      "Software\\Varnel\\",
  };
  for (const char* key : hostile) {
    EXPECT_FALSE(WriteSetting(key, "Name", Text("x"))) << '"' << key << '"';
    EXPECT_FALSE(ReadSetting(key, "Name")) << '"' << key << '"';
    EXPECT_FALSE(SettingsKeyExists(key)) << '"' << key << '"';
  }
  EXPECT_FALSE(WriteSetting(nullptr, "Name", Text("x")));
  EXPECT_FALSE(SettingsKeyExists(nullptr));
  EXPECT_EQ(EverythingBelow(outside.Path()), before);
}

TEST(SettingsStoreRoot, ChosenFromTheEnvironment) {
  struct Case {
    const char* settingsDir;
    const char* configHome;
    const char* home;
    const char* expected;
  };
  const Case cases[] = {
      {"/s/root", "/config", "/home/u", "/s/root"},
      {"", "/config", "/home/u", "/config/varnel"},
      {nullptr, "/config", "/home/u", "/config/varnel"},
      {nullptr, "", "/home/u", "/home/u/.config/varnel"},
      {nullptr, nullptr, "/home/u", "/home/u/.config/varnel"},
      {nullptr, "relative", "/home/u", "/home/u/.config/varnel"},
  };
  for (const Case& c : cases) {
    ScopedEnvironment environment;
    environment.Set("VARNEL_SETTINGS_DIR", c.settingsDir);
    environment.Set("XDG_CONFIG_HOME", c.configHome);
    environment.Set("HOME", c.home);
    EXPECT_EQ(platform::SettingsRoot(), c.expected);
  }
}

TEST(SettingsStoreRoot, MissingLevelsOfTheRootAreCreated) {
  testsupport::TempDir home;
  ScopedEnvironment environment;
  environment.Set("VARNEL_SETTINGS_DIR", nullptr);
  environment.Set("XDG_CONFIG_HOME", nullptr);
  environment.Set("HOME", home.Path().string());
  ASSERT_TRUE(WriteSetting("Software\\Varnel\\Viewer", "WriteErrorLog", Text("No")));
  EXPECT_TRUE(fs::is_regular_file(home.Path() / ".config" / "varnel" / "Software" / "Varnel" / "Viewer.settings"));
  EXPECT_EQ(ReadSetting("Software\\Varnel\\Viewer", "WriteErrorLog")->text, "No");
}

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "TestSupport.h"

namespace {

constexpr const char* kSetting = "WriteErrorLog";

class ErrorLogOutPutTest : public ::testing::Test {
 protected:
  EngineInterfaceExt* Ext() { return engine_->engineInterfaceExt; }

  void SetSetting(const char* value) { ASSERT_TRUE(Ext()->SetRegData(kSetting, value)); }

  bool ReadSetting(std::string& value) {
    char buffer[100] = {};
    if (!Ext()->GetRegData(kSetting, buffer, 99)) return false;
    value = buffer;
    return true;
  }

  std::filesystem::path LogPath() const { return std::filesystem::path(engine_.InstallDir()) / "error.log"; }

  std::string LogText() const {
    std::ifstream file(LogPath(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  static void Send(ErrorLogOutPut& log, int type, const char* text) {
    DebugMessage message;
    message.SetDebugMessage(text);
    message.SetMessageType(type);
    log.ShowDebugMessage(&message);
  }

  testsupport::StartedEngine engine_;
  testsupport::RecordingMessageBoxes boxes_;
};

// Date, blank, time, blank, then the rest of the line as given.
std::regex LogLine(const std::string& rest) {
  return std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} )" + rest + "\r\n");
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end + 2 - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

TEST_F(ErrorLogOutPutTest, MissingSettingIsCreatedAsNoAndNothingIsLogged) {
  std::string value;
  ASSERT_FALSE(ReadSetting(value));

  ErrorLogOutPut log(engine_.Get());
  ASSERT_TRUE(ReadSetting(value));
  EXPECT_EQ(value, "No");

  Send(log, kMessageError, "not logged");
  EXPECT_FALSE(std::filesystem::exists(LogPath()));
}

TEST_F(ErrorLogOutPutTest, OnlyNoInAnyCaseSwitchesLoggingOff) {
  struct Case {
    const char* value;
    bool logs;
  };
  const Case cases[] = {{"No", false}, {"no", false}, {"NO", false}, {"nO", false},
                        {"Yes", true}, {"1", true},   {"Nope", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    std::filesystem::remove(LogPath());
    SetSetting(c.value);
    ErrorLogOutPut log(engine_.Get());
    Send(log, kMessageError, "probe");
    EXPECT_EQ(std::filesystem::exists(LogPath()), c.logs);
    std::string value;
    ASSERT_TRUE(ReadSetting(value));
    EXPECT_EQ(value, c.value);  // an existing setting is never rewritten
  }
}

TEST_F(ErrorLogOutPutTest, EachTypeGetsItsPrefixAndOnlyType3ABox) {
  SetSetting("Yes");
  ErrorLogOutPut log(engine_.Get());
  const char* prefixes[] = {"Debug: ", "Error: ", "Info : ", "", "", "", ""};
  for (int type = 0; type <= 6; ++type) Send(log, type, ("message " + std::to_string(type)).c_str());

  std::vector<std::string> lines = SplitLines(LogText());
  ASSERT_EQ(lines.size(), 7u);
  for (int type = 0; type <= 6; ++type) {
    SCOPED_TRACE(type);
    EXPECT_TRUE(std::regex_match(lines[type], LogLine(std::string(prefixes[type]) + "message " + std::to_string(type))))
        << lines[type];
  }

  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
  EXPECT_EQ(boxes_.Boxes()[0].text, "message 3");
  EXPECT_EQ(boxes_.Boxes()[0].caption, "Message");
  EXPECT_EQ(boxes_.Boxes()[0].buttons, platform::MessageBoxButtons::Ok);
}

TEST_F(ErrorLogOutPutTest, Type3IsShownEvenWhenNothingIsLogged) {
  SetSetting("no");
  ErrorLogOutPut log(engine_.Get());
  Send(log, kMessageBox, "boxed");
  Send(log, kMessageUserWarning, "quiet");
  EXPECT_FALSE(std::filesystem::exists(LogPath()));
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, "boxed");
}

TEST_F(ErrorLogOutPutTest, SetUseDebugFalseSuppressesLinesAndBoxes) {
  SetSetting("Yes");
  ErrorLogOutPut log(engine_.Get());
  log.SetUseDebug(false);
  Send(log, kMessageBox, "boxed");
  Send(log, kMessageError, "logged");
  EXPECT_FALSE(std::filesystem::exists(LogPath()));
  EXPECT_TRUE(boxes_.Boxes().empty());

  log.SetUseDebug(true);
  Send(log, kMessageError, "logged");
  EXPECT_TRUE(std::regex_match(LogText(), LogLine("Error: logged")));
}

TEST_F(ErrorLogOutPutTest, MessagesWithoutTextAreIgnored) {
  SetSetting("Yes");
  ErrorLogOutPut log(engine_.Get());
  log.ShowDebugMessage(nullptr);
  DebugMessage empty;
  empty.SetMessageType(kMessageBox);
  log.ShowDebugMessage(&empty);
  EXPECT_FALSE(std::filesystem::exists(LogPath()));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ErrorLogOutPutTest, LinesAreAppendedToAnExistingLog) {
  { std::ofstream(LogPath(), std::ios::binary) << "earlier\r\n"; }
  SetSetting("Yes");
  ErrorLogOutPut log(engine_.Get());
  Send(log, kMessageInfo, "later");
  std::vector<std::string> lines = SplitLines(LogText());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "earlier\r\n");
  EXPECT_TRUE(std::regex_match(lines[1], LogLine("Info : later")));
}

// The installed sink receives what the engine's emitters compose.
TEST_F(ErrorLogOutPutTest, EmittersReachTheLogWhenItIsTheSink) {
  SetSetting("Yes");
  ErrorLogOutPut log(engine_.Get());
  DebugOutPut* previous = debugOutPut;
  debugOutPut = &log;
  engine_->showErrorMessage("word", 12);
  engine_->showUserWarningMessage("careful");
  debugOutPut = previous;

  std::vector<std::string> lines = SplitLines(LogText());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(std::regex_match(lines[0], LogLine("Error: word 12")));
  EXPECT_TRUE(std::regex_match(lines[1], LogLine("careful")));
  EXPECT_TRUE(boxes_.Boxes().empty());
}

}  // namespace

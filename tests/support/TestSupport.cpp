#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"

namespace testsupport {

// ---- RecordingSink ----------------------------------------------------------------

RecordingSink::RecordingSink() : previous_(debugOutPut) { debugOutPut = this; }

RecordingSink::~RecordingSink() {
  if (debugOutPut == this) debugOutPut = previous_;
}

void RecordingSink::ShowDebugMessage(DebugMessage* message) {
  if (!useDebug_ || !message) return;
  const char* text = message->GetDebugMessage();
  messages_.push_back({message->GetMessageType(), text ? text : ""});
}

std::vector<std::string> RecordingSink::Texts() const {
  std::vector<std::string> texts;
  for (const auto& m : messages_) texts.push_back(m.text);
  return texts;
}

std::vector<std::string> RecordingSink::TextsOfType(int type) const {
  std::vector<std::string> texts;
  for (const auto& m : messages_) {
    if (m.type == type) texts.push_back(m.text);
  }
  return texts;
}

bool RecordingSink::Contains(const std::string& text) const {
  for (const auto& m : messages_) {
    if (m.text == text) return true;
  }
  return false;
}

// ---- RecordingMessageBoxes --------------------------------------------------------------

RecordingMessageBoxes::RecordingMessageBoxes() {
  previous_ = platform::SetMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
    boxes_.push_back(request);
    if (!answers_.empty()) {
      platform::MessageBoxAnswer answer = answers_.front();
      answers_.erase(answers_.begin());
      return answer;
    }
    return defaultAnswer_;
  });
}

RecordingMessageBoxes::~RecordingMessageBoxes() { platform::SetMessageBoxHandler(previous_); }

// ---- directories ------------------------------------------------------------------------

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    auto candidate = base / ("varnel-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error)) {
      path_ = candidate;
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

ScopedSettingsRoot::ScopedSettingsRoot() {
  const char* old = std::getenv("VARNEL_SETTINGS_DIR");
  hadPrevious_ = old != nullptr;
  if (old) previous_ = old;
  platform::SetEnvironmentValue("VARNEL_SETTINGS_DIR", dir_.Path().c_str());
}

ScopedSettingsRoot::~ScopedSettingsRoot() {
  if (hadPrevious_) {
    platform::SetEnvironmentValue("VARNEL_SETTINGS_DIR", previous_.c_str());
  } else {
    platform::SetEnvironmentValue("VARNEL_SETTINGS_DIR", nullptr);
  }
}

TempInstallDir::TempInstallDir() {
  std::filesystem::create_directory(Path() / "channels");
  std::filesystem::create_directory(Path() / "3rd");
}

// ---- StartedEngine -------------------------------------------------------------------------

StartedEngine::StartedEngine(const std::string& installDir)
    : installDir_(installDir.empty() ? ownInstall_.Path().string() : installDir), engine_(new EngineInterface()) {
  engine_->engineInterfaceExt->SetInstallDir(installDir_.c_str());
  engine_->engineInterfaceExt->SetVarnelRegKey("Software\\Varnel\\Tests");
  engine_->engineInterfaceExt->InitEngine(nullptr, "Varnel Tests");
}

StartedEngine::~StartedEngine() {
  engine_->engineInterfaceExt->Release();
  delete engine_;
  if (globalEngine == engine_) globalEngine = nullptr;
}

std::string BuildEngineDir() { return VARNEL_TEST_ENGINE_DIR; }

// ---- the tools run as programs ----------------------------------------------------

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The shell records the exit status, so no wait-status decoding is needed.
ToolRun RunTool(const std::string& program, const std::vector<std::string>& args, const TempDir& scratch,
                const std::string& prefix) {
  const std::string out = scratch.File("stdout.txt"), err = scratch.File("stderr.txt"), rc = scratch.File("rc.txt");
  std::string command = prefix + ShellQuoted(program) + " --install-dir " + ShellQuoted(BuildEngineDir());
  for (const auto& arg : args) command += " " + ShellQuoted(arg);
  command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err) + "; echo $? >" + ShellQuoted(rc);
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  ToolRun run{std::atoi(ReadText(rc).c_str()), ReadText(out), ReadText(err)};
  EXPECT_EQ(run.err.find("runtime error"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find("Sanitizer"), std::string::npos) << run.err;
  return run;
}

}  // namespace testsupport

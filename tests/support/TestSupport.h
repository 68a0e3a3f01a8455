#pragma once

// Shared pieces of the test programs. Everything here uses the engine's public
// interface only, the way a host or a plug-in would.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "Diagnostics.h"
#include "Platform.h"

class EngineInterface;

namespace testsupport {

// A sink that records every message; installs itself as `debugOutPut` and puts
// the previous sink back when destroyed.
class RecordingSink : public DebugOutPut {
 public:
  struct Message {
    int type;
    std::string text;
  };
  RecordingSink();
  ~RecordingSink() override;
  void ShowDebugMessage(DebugMessage* message) override;

  const std::vector<Message>& Messages() const { return messages_; }
  std::vector<std::string> Texts() const;
  std::vector<std::string> TextsOfType(int type) const;
  bool Contains(const std::string& text) const;
  void Clear() { messages_.clear(); }

 private:
  DebugOutPut* previous_;
  std::vector<Message> messages_;
};

// Records message boxes instead of showing them; answers from a queue, then
// with a default.
class RecordingMessageBoxes {
 public:
  RecordingMessageBoxes();
  ~RecordingMessageBoxes();
  void QueueAnswer(platform::MessageBoxAnswer answer) { answers_.push_back(answer); }
  void SetDefaultAnswer(platform::MessageBoxAnswer answer) { defaultAnswer_ = answer; }
  const std::vector<platform::MessageBoxRequest>& Boxes() const { return boxes_; }
  void Clear() { boxes_.clear(); }

 private:
  platform::MessageBoxHandler previous_;
  std::vector<platform::MessageBoxRequest> boxes_;
  std::vector<platform::MessageBoxAnswer> answers_;
  platform::MessageBoxAnswer defaultAnswer_ = platform::MessageBoxAnswer::Ok;
};

// A fresh directory, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Points the settings store at a temporary root for the object's lifetime.
class ScopedSettingsRoot {
 public:
  ScopedSettingsRoot();
  ~ScopedSettingsRoot();
  const TempDir& Dir() const { return dir_; }

 private:
  TempDir dir_;
  std::string previous_;
  bool hadPrevious_;
};

// An install directory with empty channels/ and 3rd/ folders.
class TempInstallDir : public TempDir {
 public:
  TempInstallDir();
};

// An EngineInterface set up the way EngineControl sets one up: install
// directory, settings key, InitEngine. Released and deleted on destruction.
// Messages go to `sink`; settings to a private root.
class StartedEngine {
 public:
  explicit StartedEngine(const std::string& installDir = std::string());
  ~StartedEngine();
  EngineInterface* operator->() const { return engine_; }
  EngineInterface* Get() const { return engine_; }
  const std::string& InstallDir() const { return installDir_; }

  ScopedSettingsRoot settings;
  RecordingSink sink;

 private:
  TempInstallDir ownInstall_;
  std::string installDir_;
  EngineInterface* engine_;
};

// The engine install directory the build produced (channels/ with every plug-in).
std::string BuildEngineDir();

// ---- the tools run as programs ----------------------------------------------------

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
// The rows of a comma-separated text, each split into its cells.
std::vector<std::vector<std::string>> CsvRows(const std::string& text);
// The text as one word for the shell.
std::string ShellQuoted(const std::string& text);

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `program --install-dir <BuildEngineDir()> args...` through the shell,
// after `prefix` (such as "cd DIR && "), with its output kept in files of
// `scratch`. Under the sanitizers a fault in the program shows up only in
// what it wrote, so that is checked here.
ToolRun RunTool(const std::string& program, const std::vector<std::string>& args, const TempDir& scratch,
                const std::string& prefix = std::string());

}  // namespace testsupport

#include <string>

#include "BoundedText.h"
#include "Diagnostics.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"

namespace {

constexpr const char* kWriteErrorLogSetting = "WriteErrorLog";
constexpr std::size_t kInstallDirMax = 299;

const char* LogPrefix(int type) {
  switch (type) {
    case kMessageDebug: return "Debug: ";
    case kMessageError: return "Error: ";
    case kMessageInfo: return "Info : ";
    default: return "";
  }
}

// Logging stays off until somebody sets the setting to anything but "No"; a
// first start writes "No" so that the switch is there to be found.
bool ReadWriteErrorLogSetting(EngineInterfaceExt* settings) {
  char value[100] = {};
  if (!settings->GetRegData(kWriteErrorLogSetting, value, sizeof value - 1)) {
    settings->SetRegData(kWriteErrorLogSetting, "No");
    return false;
  }
  return !TextEqualsIgnoreCase(value, "No");
}

std::string LogLine(int type, const char* text) {
  std::string line = platform::FormatLocalDate();
  line += ' ';
  line += platform::FormatLocalTime();
  line += ' ';
  line += LogPrefix(type);
  line += text;
  line += "\r\n";
  return line;
}

// A log that cannot be written loses the line; nobody is told. Without an
// install directory there is no log: the bare name would land in the root.
void AppendToLog(EngineInterface* engine, int type, const char* text) {
  char installDir[kInstallDirMax + 1];
  CopyText(installDir, engine->GetInstallDir(), kInstallDirMax);
  if (!installDir[0]) return;
  std::string path = std::string(installDir) + "\\error.log";
  std::string line = LogLine(type, text);
  platform::AppendToFile(path.c_str(), line.data(), line.size());
}

}  // namespace

ErrorLogOutPut::ErrorLogOutPut(EngineInterface* engine) : writeErrorLog_(true), engine_(engine) {
  // Without an engine there is neither a setting nor an install directory.
  if (!engine_ || !engine_->engineInterfaceExt) {
    writeErrorLog_ = false;
    return;
  }
  writeErrorLog_ = ReadWriteErrorLogSetting(engine_->engineInterfaceExt);
}

ErrorLogOutPut::~ErrorLogOutPut() = default;

void ErrorLogOutPut::ShowDebugMessage(DebugMessage* message) {
  if (!useDebug_ || !message) return;
  const char* text = message->GetDebugMessage();
  if (!text) return;
  int type = message->GetMessageType();
  if (writeErrorLog_) AppendToLog(engine_, type, text);
  if (type == kMessageBox) {
    platform::ShowModalMessageBox(nullptr, text, "Message", platform::MessageBoxIcon::None,
                                  platform::MessageBoxButtons::Ok);
  }
}

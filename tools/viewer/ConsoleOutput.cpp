#include "ConsoleOutput.h"

#include <cstdio>

#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"

namespace viewer {

void ConsoleSink::ShowDebugMessage(DebugMessage* message) {
  static const char* const kinds[] = {"debug", "error", "info", "message", "user info", "warning", "user error"};
  const int type = message->GetMessageType();
  const char* kind = type >= 0 && type <= 6 ? kinds[type] : "message";
  const char* text = message->GetDebugMessage();
  std::fprintf(stderr, "[%s] %s\n", kind, text ? text : "");
  if (next_) next_->ShowDebugMessage(message);
}

void InstallConsoleMessageBoxes() {
  platform::SetMessageBoxHandler([](const platform::MessageBoxRequest& box) {
    std::fprintf(stderr, "[message box] %s: %s\n", box.caption.c_str(), box.text.c_str());
    return box.buttons == platform::MessageBoxButtons::RetryCancel ? platform::MessageBoxAnswer::Cancel
                                                                   : platform::MessageBoxAnswer::Ok;
  });
}

void DebugLineWatch::PrintChanges(EngineInterface* engine) {
  if (!engine || !engine->engineInterfaceExt) return;
  for (int line = 0; line < 10; ++line) {
    const char* text = engine->engineInterfaceExt->GetDebug(line);
    const std::string current = text ? text : "";
    if (current == lines_[line]) continue;
    lines_[line] = current;
    std::fprintf(stderr, "[debug line %d] %s\n", line, current.c_str());
  }
}

}  // namespace viewer

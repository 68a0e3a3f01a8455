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
  // On a terminal a person answers Retry/Cancel boxes; otherwise every box
  // takes its default answer at once, so a run without a person never waits.
  const bool ask = platform::StandardInputIsTerminal();
  platform::SetMessageBoxHandler([ask](const platform::MessageBoxRequest& box) {
    std::fprintf(stderr, "[message box] %s: %s\n", box.caption.c_str(), box.text.c_str());
    if (box.buttons != platform::MessageBoxButtons::RetryCancel) return platform::MessageBoxAnswer::Ok;
    if (!ask) return platform::MessageBoxAnswer::Cancel;
    std::fprintf(stderr, "Retry or Cancel? [r/C] ");
    std::fflush(stderr);
    char answer[16] = {};
    if (!std::fgets(answer, sizeof answer, stdin)) return platform::MessageBoxAnswer::Cancel;
    return answer[0] == 'r' || answer[0] == 'R' ? platform::MessageBoxAnswer::Retry : platform::MessageBoxAnswer::Cancel;
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

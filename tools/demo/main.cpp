// A small host: starts the engine from its install directory, runs a number of
// frames with one channel of its own as the start channel, reports what
// happened and releases the engine.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "EngineCore.h"

namespace {

// Prints every engine message with its kind and passes it on to the engine's
// own log.
class PrintingSink : public DebugOutPut {
 public:
  explicit PrintingSink(DebugOutPut* next) : next_(next) {}
  void ShowDebugMessage(DebugMessage* message) override {
    static const char* const kinds[] = {"debug", "error", "info", "message box", "user info", "warning", "user error"};
    const int type = message->GetMessageType();
    const char* kind = type >= 0 && type <= 6 ? kinds[type] : "message";
    std::printf("  [%s] %s\n", kind, message->GetDebugMessage() ? message->GetDebugMessage() : "");
    ++count;
    if (next_) next_->ShowDebugMessage(message);
  }
  int count = 0;

 private:
  DebugOutPut* next_;
};

// The start channel: counts its calls and the frame events it receives, and
// writes the frame into debug line 0.
class FrameCounter : public Tvk_Channel {
 public:
  void OneTimeInitialize() override { engine_->AddChannelToEvent(this, kEventFrame); }
  void DoEvent(int event, unsigned long) override {
    if (event == kEventFrame) ++frameEvents;
  }
  void CallChannel() override {
    if (!CheckRenderCount()) return;
    ++calls;
    ShowDebug show(engine_);
    show("frame ", calls, 0);
  }
  int frameEvents = 0;
  int calls = 0;
};

std::string EngineDirectory(const char* argv0) {
  if (const char* dir = std::getenv("VARNEL_ENGINE_DIR")) return dir;
  std::error_code error;
  auto exe = std::filesystem::canonical("/proc/self/exe", error);
  if (!error) {
    auto installed = exe.parent_path() / VARNEL_INSTALLED_ENGINE_DIR_REL;
    if (std::filesystem::is_directory(installed / "channels")) return std::filesystem::weakly_canonical(installed).string();
  }
  return VARNEL_BUILD_ENGINE_DIR;
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 100;
  const std::string engineDir = EngineDirectory(argv[0]);
  std::printf("Varnel demo host: engine version %d, install directory %s\n", GetEngineVersion(), engineDir.c_str());

  EngineControl* control = GetEngineControlInstance();
  control->SetInstallDir(engineDir.c_str());
  control->SetVarnelRegKey("Software\\Varnel\\Demo");
  char className[] = "Varnel Demo";
  if (!control->InitEngine(nullptr, className, nullptr)) {
    std::printf("The engine did not start.\n");
    delete control;
    return 1;
  }
  EngineInterface* engine = control->GetEngineInterface();
  PrintingSink sink(debugOutPut);
  debugOutPut = &sink;

  Tvk_ChannelGroup* group = engine->CreateNewGroup("Demo", false, -1);
  globalEngine = engine;  // the channel below is built by the host, not by a plug-in
  auto* counter = new FrameCounter();
  counter->SetChannelName("Frame counter");
  group->AddChannel(counter);
  counter->OneTimeInitialize();
  engine->engineInterfaceExt->SetStartGroup(group->GetGroupIndex());

  for (int frame = 0; frame < frames; ++frame) control->EngineLoop();

  std::printf("Ran %d frames: tree count %d, start channel \"%s\" called %d times, %d frame events.\n", frames,
              engine->GetTreeCalculateCount(), counter->GetChannelName(), counter->calls, counter->frameEvents);
  std::printf("Debug line 0: %s\n", engine->engineInterfaceExt->GetDebug(0));
  std::printf("Groups registered: %d, unique channels: %d\n", engine->GetChannelGroupCount(),
              engine->engineInterfaceExt->GetUniqueChannelCount());
  std::printf("Releasing the engine:\n");
  // The log outlives the release; our sink forwards to it until the end.
  delete control;
  std::printf("Done.\n");
  return 0;
}

// A small host: starts the engine from its install directory, builds a group
// in which a Lua script channel is the start channel and moves a value channel
// along a wave over the frames, runs a number of frames, reports what happened
// and releases the engine.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "EngineCore.h"
#include "Tvo_FloatChannel.h"
#include "Tvo_Lua.h"

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

constexpr GUID kValueType{0x91C5F2E8, 0x3A07, 0x4B6D, {0x8E, 0x19, 0xC4, 0xB2, 0x7A, 0x05, 0xD6, 0xE3}};

// The script the demo runs: every call advances a frame counter and swings
// the linked value channel along a damped wave; its value is the frame.
constexpr const char* kDemoScript = R"(
frame = 0
function CallChannel()
  frame = frame + 1
  local position = channel.GetChild(0)
  if position then
    position:SetValue(100 * math.exp(-frame / 80) * math.sin(frame / 6))
  end
end
function GetValue()
  return frame
end
)";

std::string Bar(float value) {
  const int width = 30;
  int offset = static_cast<int>(value / 100.0f * width);
  if (offset < -width) offset = -width;
  if (offset > width) offset = width;
  std::string bar(2 * width + 1, ' ');
  bar[width] = '|';
  bar[width + offset] = '*';
  return bar;
}

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
  globalEngine = engine;  // the frame counter below is built by the host, not by a plug-in
  auto* counter = new FrameCounter();
  counter->SetChannelName("Frame counter");
  group->AddChannel(counter);
  counter->OneTimeInitialize();

  // The Lua channel and the value channel it moves come from their plug-ins.
  auto* script = static_cast<Tvo_Lua*>(engine->InitChannelFromType(kLuaScriptType, group, true));
  auto* position = static_cast<Tvo_FloatChannel*>(engine->InitChannelFromType(kValueType, group, true));
  if (!script || !position) {
    std::printf("The Lua or the value channel plug-in is missing from %s/channels.\n", engineDir.c_str());
  } else {
    script->SetChannelName("Wave script");
    position->SetChannelName("Position");
    script->SetChild(position, -1, 0);
    if (!script->SetScript(kDemoScript)) std::printf("The script did not start: %s\n", script->GetError());
    group->SetStartChannel(script->GetChannelIDIndexNr());
  }
  engine->engineInterfaceExt->SetStartGroup(group->GetGroupIndex());

  std::printf("frame  script  position\n");
  for (int frame = 1; frame <= frames; ++frame) {
    control->EngineLoop();
    counter->CallChannel();
    if (script && position && (frame % 5 == 0 || frame == 1)) {
      const float value = position->GetFloat();
      std::printf("%5d  %6.0f  %8.2f  %s\n", frame, script->GetFloat(), value, Bar(value).c_str());
    }
  }

  std::printf("Ran %d frames: tree count %d, \"%s\" counted %d frames and %d frame events.\n", frames,
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

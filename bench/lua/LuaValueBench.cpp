// The value run of a Lua channel (GetFloat on a script whose GetValue returns
// a constant) beside its baseline: a bare lua_pcall loop calling the same
// function on the same interpreter.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include <lua.hpp>

#include "Diagnostics.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"
#include "Tvk_ChannelGroup.h"
#include "Tvo_Lua.h"

namespace {

namespace fs = std::filesystem;

constexpr char kScript[] = "function GetValue() return 1.5 end";

// A Lua channel that hands out the interpreter it starts.
class BenchLua : public Tvo_Lua {
 public:
  int Luaopen_VarnelLIB(lua_State* L) override {
    state_ = L;
    return Tvo_Lua::Luaopen_VarnelLIB(L);
  }
  lua_State* State() const { return state_; }

 private:
  lua_State* state_ = nullptr;
};

// One engine over the build's engine directory, with one started channel.
class BenchWorld {
 public:
  BenchWorld()
      : settings_(fs::temp_directory_path() / ("varnel-lua-bench-" + std::to_string(std::random_device{}()))),
        previousSink_(debugOutPut),
        engine_(new EngineInterface()) {
    fs::create_directories(settings_);
    platform::SetEnvironmentValue("VARNEL_SETTINGS_DIR", settings_.c_str());
    debugOutPut = &silent_;
    engine_->engineInterfaceExt->SetInstallDir(VARNEL_ENGINE_DIR);
    engine_->engineInterfaceExt->SetVarnelRegKey("Software\\Varnel\\LuaBench");
    engine_->engineInterfaceExt->InitEngine(nullptr, "Lua Bench");
    Tvk_ChannelGroup* group = engine_->CreateNewGroup("Bench", false, -1);
    Tvk_Channel* real = engine_->InitChannelFromType(kLuaScriptType, group, false);
    HINSTANCE module = real ? real->GetDllInstance() : nullptr;
    platform::LockPluginInit();
    globalEngine = engine_;
    globalDllInstance = module;
    channel_ = new BenchLua();
    platform::UnlockPluginInit();
    channel_->SetDllInterface(module, engine_);
    group->AddChannel(channel_);
    ready_ = real != nullptr && channel_->SetScript(kScript) && channel_->State() != nullptr;
  }
  ~BenchWorld() {
    engine_->engineInterfaceExt->Release();
    delete engine_;
    debugOutPut = previousSink_;
    std::error_code error;
    fs::remove_all(settings_, error);
  }
  bool Ready() const { return ready_; }
  BenchLua* Channel() const { return channel_; }

 private:
  fs::path settings_;
  DebugOutPut silent_;
  DebugOutPut* previousSink_;
  EngineInterface* engine_;
  BenchLua* channel_ = nullptr;
  bool ready_ = false;
};

BenchWorld& World() {
  static BenchWorld world;
  return world;
}

void LuaChannelGetFloat(benchmark::State& state) {
  if (!World().Ready()) {
    state.SkipWithError("the Lua channel did not start");
    return;
  }
  BenchLua* channel = World().Channel();
  for (auto _ : state) benchmark::DoNotOptimize(channel->GetFloat());
}
BENCHMARK(LuaChannelGetFloat);

void BareLuaPcall(benchmark::State& state) {
  if (!World().Ready()) {
    state.SkipWithError("the Lua channel did not start");
    return;
  }
  lua_State* L = World().Channel()->State();
  for (auto _ : state) {
    lua_getfield(L, LUA_GLOBALSINDEX, "GetValue");
    lua_pcall(L, 0, 1, 0);
    benchmark::DoNotOptimize(static_cast<float>(lua_tonumber(L, -1)));
    lua_pop(L, 1);
  }
}
BENCHMARK(BareLuaPcall);

}  // namespace

BENCHMARK_MAIN();

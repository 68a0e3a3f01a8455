// Start-up of an engine (EngineInterface, InitEngine, Release) over a channels
// folder of 50 plug-ins and the three sibling plug-ins. Without "channels.lst"
// every plug-in is probed: loaded, asked for its type, unloaded. With the list
// written by the previous run none is, which is what the list is for. The start
// without the list is the baseline of the one with it.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "ChannelList.h"
#include "Diagnostics.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSiblingCount = 3;

// An install directory holding the plug-ins, made once per process.
class StartupInstall {
 public:
  StartupInstall() : dir_(fs::temp_directory_path() / ("varnel-startup-bench-" + std::to_string(std::random_device{}()))) {
    fs::create_directories(dir_ / "channels");
    fs::create_directories(dir_ / "3rd");
    fs::create_directories(dir_ / "settings");
    platform::SetEnvironmentValue("VARNEL_SETTINGS_DIR", (dir_ / "settings").c_str());
    for (const char* sibling : {"Directory.dll", "tagreader.dll", "tagwriter.dll"}) {
      fs::copy_file(fs::path(VARNEL_ENGINE_DIR) / "channels" / sibling, dir_ / "channels" / sibling);
    }
    for (int i = 1; i <= STARTUP_PLUGIN_COUNT; ++i) {
      const std::string file = "StartupPlugin" + std::to_string(i) + ".dll";
      fs::copy_file(fs::path(STARTUP_PLUGIN_DIR) / file, dir_ / "channels" / file);
    }
  }
  ~StartupInstall() {
    std::error_code error;
    fs::remove_all(dir_, error);
  }
  std::string Dir() const { return dir_.string(); }
  fs::path ListFile() const { return dir_ / "channels.lst"; }

 private:
  fs::path dir_;
};

StartupInstall& Install() {
  static StartupInstall install;
  return install;
}

// Messages are composed as in a real run and go to a sink that keeps nothing.
class SilentMessages {
 public:
  SilentMessages() : previous_(debugOutPut) { debugOutPut = &sink_; }
  ~SilentMessages() { debugOutPut = previous_; }

 private:
  DebugOutPut sink_;
  DebugOutPut* previous_;
};

// One start and shutdown; answers how many types the channel list knew.
int StartAndRelease(const std::string& installDir) {
  auto* engine = new EngineInterface();
  engine->engineInterfaceExt->SetInstallDir(installDir.c_str());
  engine->engineInterfaceExt->SetVarnelRegKey("Software\\Varnel\\StartupBench");
  engine->engineInterfaceExt->InitEngine(nullptr, "Startup Bench");
  const int types = engine->engineInterfaceExt->GetChannelList()->GetItemCount();
  engine->engineInterfaceExt->Release();
  delete engine;
  return types;
}

void CheckTypes(benchmark::State& state, int types) {
  if (types != STARTUP_PLUGIN_COUNT + kSiblingCount) state.SkipWithError("the channel list misses plug-ins");
  state.counters["plugins"] = STARTUP_PLUGIN_COUNT;
}

void BM_StartWithoutChannelList(benchmark::State& state) {
  SilentMessages silent;
  StartupInstall& install = Install();
  int types = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove(install.ListFile());
    state.ResumeTiming();
    types = StartAndRelease(install.Dir());
  }
  CheckTypes(state, types);
}
BENCHMARK(BM_StartWithoutChannelList)->Unit(benchmark::kMillisecond);

void BM_StartWithChannelList(benchmark::State& state) {
  SilentMessages silent;
  StartupInstall& install = Install();
  StartAndRelease(install.Dir());  // writes the list the measured starts read
  int types = 0;
  for (auto _ : state) types = StartAndRelease(install.Dir());
  CheckTypes(state, types);
}
BENCHMARK(BM_StartWithChannelList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

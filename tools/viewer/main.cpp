// varnel-viewer: runs a project without a window. It drives the engine the
// way every host should: install directory, settings key, command line,
// InitEngine, LoadProject, one EngineLoop per frame, then the release.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>

#include "CallTracker.h"

#include "ConsoleOutput.h"
#include "EngineControl.h"
#include "EngineDirectory.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Options.h"
#include "Platform.h"
#include "Tvk_ChannelGroup.h"
#include "ValueWatch.h"

namespace {

constexpr int kExitEngineFailed = 5;
constexpr int kExitUsage = 64;
// LoadProject reads at most this many characters of the path; a longer one
// would silently name another file.
constexpr std::size_t kLongestProjectPath = 258;

volatile std::sig_atomic_t interrupted = 0;
void OnInterrupt(int) { interrupted = 1; }

bool IsGroupFile(const std::string& path) {
  if (path.size() < 4) return false;
  std::string ending = path.substr(path.size() - 4);
  for (char& c : ending) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ending == ".cgr";
}

// The frame and time budget of a run and its pacing.
struct RunPlan {
  long frames = -1;       // -1: no frame limit
  double seconds = -1;    // -1: no time limit
  double frameSeconds = 0;  // 0: as fast as possible
};

RunPlan PlanRun(const viewer::Options& options, bool keepRunning) {
  RunPlan plan;
  if (options.frames) plan.frames = *options.frames;
  if (options.seconds) plan.seconds = *options.seconds;
  if (!options.frames && !options.seconds && !keepRunning) plan.seconds = 10;
  const bool unpaced = options.frames && !options.fps;
  if (!unpaced) plan.frameSeconds = 1.0 / (options.fps ? *options.fps : 25.0);
  return plan;
}

// Loads a group file as the start group; LoadProject's code for a failure.
int StartGroupFile(EngineInterface* engine, const std::string& path) {
  Tvk_ChannelGroup* group = engine->LoadChannelGroup(path.c_str(), nullptr);
  if (!group) {
    std::fprintf(stderr, "varnel-viewer: %s could not be loaded as a channel group\n", path.c_str());
    return kProjectStartGroupFailed;
  }
  engine->engineInterfaceExt->SetStartGroup(group->GetGroupIndex());
  return kProjectLoaded;
}

void RunFrames(EngineControl* control, const RunPlan& plan, viewer::ValueWatch& watch, long every,
               viewer::CallTracker* tracker) {
  using Clock = std::chrono::steady_clock;
  EngineInterface* engine = control->GetEngineInterface();
  viewer::DebugLineWatch debugLines;
  const auto start = Clock::now();
  auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  for (long frame = 1; !interrupted; ++frame) {
    if (plan.frames >= 0 && frame > plan.frames) break;
    if (plan.seconds >= 0 && elapsed() >= plan.seconds) break;
    if (tracker) tracker->BeforeFrame(engine);
    control->EngineLoop();
    if (tracker) tracker->AfterFrame(engine);
    debugLines.PrintChanges(engine);
    if (!watch.Empty() && (frame - 1) % every == 0) watch.Report(engine, frame, elapsed());
    if (plan.frameSeconds > 0) {
      const double wait = frame * plan.frameSeconds - elapsed();
      if (wait > 0) platform::SleepMilliseconds(static_cast<std::uint32_t>(wait * 1000));
    }
  }
}

int Run(const viewer::Options& options) {
  viewer::ValueWatch watch(options.watch);
  if (!options.csvFile.empty() && !watch.OpenCsv(options.csvFile)) {
    std::fprintf(stderr, "varnel-viewer: cannot write %s\n", options.csvFile.c_str());
    return kExitEngineFailed;
  }
  if (!options.plotFile.empty()) watch.KeepHistory();
  const bool groupFile = IsGroupFile(options.project);
  const std::string installDir = options.installDir.empty() ? viewer::DefaultEngineDirectory() : options.installDir;

  viewer::InstallConsoleMessageBoxes();
  EngineControl* control = GetEngineControlInstance();
  if (!control) return kExitEngineFailed;
  control->SetInstallDir(installDir.c_str());
  control->SetVarnelRegKey(options.settingsKey.c_str());
  std::string commandLine = options.project;
  if (!groupFile) control->SetCommandLine(commandLine.data());
  char className[] = "Varnel Viewer";
  if (!control->InitEngine(nullptr, className, nullptr)) {
    std::fprintf(stderr, "varnel-viewer: the engine did not start from %s\n", installDir.c_str());
    delete control;
    return kExitEngineFailed;
  }
  // Our sink forwards to the engine's log, which outlives the release below.
  viewer::ConsoleSink sink(debugOutPut);
  debugOutPut = &sink;

  EngineInterface* engine = control->GetEngineInterface();
  const int result = groupFile ? StartGroupFile(engine, options.project) : control->LoadProject();
  int status = result;
  if (result == kProjectLoaded) {
    viewer::CallTracker tracker;
    if (options.trackCalls) viewer::CallTracker::Enable(engine);
    std::signal(SIGINT, OnInterrupt);
    RunFrames(control, PlanRun(options, control->GetIfKeepRunningApplication()), watch, options.every,
              options.trackCalls ? &tracker : nullptr);
    std::signal(SIGINT, SIG_DFL);
    if (options.trackCalls) tracker.PrintMostRecent(engine);
    if (!options.plotFile.empty() && !watch.WritePlot(options.plotFile)) {
      std::fprintf(stderr, "varnel-viewer: cannot write %s\n", options.plotFile.c_str());
      status = kExitEngineFailed;
    }
  }
  delete control;
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const viewer::ParseResult parsed = viewer::ParseOptions(argc, argv);
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "varnel-viewer: %s\n(see varnel-viewer --help)\n", parsed.error.c_str());
    return kExitUsage;
  }
  viewer::Options options = parsed.options;
  if (options.help) {
    viewer::PrintUsage(argv[0]);
    return 0;
  }
  if (options.project.empty()) {
    std::fprintf(stderr, "usage: varnel-viewer [options] PROJECT (.vnl or .cgr); --help lists the options\n");
    return kProjectNoFile;
  }
  // The engine resolves the names a project stores against the project's own
  // path, which works only when that path does not depend on our directory.
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(options.project, error);
  if (!error) options.project = absolute.lexically_normal().string();
  if (options.project.size() > kLongestProjectPath) {
    std::fprintf(stderr, "varnel-viewer: the project path is longer than %zu characters: %s\n", kLongestProjectPath,
                 options.project.c_str());
    return kProjectUnreadable;
  }
  return Run(options);
}

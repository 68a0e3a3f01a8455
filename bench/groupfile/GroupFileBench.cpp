// A group file of N channels with N links, each channel linking one other a
// stride away, so links point forward and backward and resolve only after the
// last slot. Measured: loading it from disk, saving it to disk, and, as the
// baseline in the same run, reading the file into memory and walking its
// tags (a plain walk over the bytes, and the same walk through TvkFileLoader),
// and making the same channels without any file. Loading is reported for
// 10,000 and 100,000 channels to show its growth.
//
// glibc's allocator returns and refetches memory between iterations of the
// 10,000 size; run with
//   GLIBC_TUNABLES=glibc.malloc.mmap_threshold=67108864:glibc.malloc.trim_threshold=268435456
// to see the load's own growth.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchLinkerType.h"
#include "ChannelInternal.h"
#include "Diagnostics.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"
#include "TvkFile.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSmallGroup = 10000;
constexpr int kLargeGroup = 100000;
constexpr int kLinkStride = 7919;  // prime: every channel is some channel's child

DebugOutPut silentSink;

// An install directory with the sibling plug-ins and the benchmark's type, a
// started engine on it, and one saved group file per size.
class BenchEngine {
 public:
  BenchEngine()
      : dir_(fs::temp_directory_path() / ("varnel-groupfile-bench-" + std::to_string(platform::GetTickCount()))) {
    fs::create_directories(dir_ / "channels");
    fs::create_directories(dir_ / "3rd");
    for (const char* file : {"Directory.dll", "tagreader.dll", "tagwriter.dll"}) {
      fs::copy_file(fs::path(VARNEL_ENGINE_DIR) / "channels" / file, dir_ / "channels" / file);
    }
    fs::copy_file(GROUPFILE_BENCH_PLUGIN, dir_ / "channels" / "GroupFileBenchLinker.dll");
    platform::SetEnvironmentValue("VARNEL_SETTINGS_DIR", dir_.string().c_str());
    debugOutPut = &silentSink;
    engine_ = new EngineInterface();
    globalEngine = engine_;
    engine_->engineInterfaceExt->SetInstallDir(dir_.string().c_str());
    engine_->engineInterfaceExt->SetVarnelRegKey("Software\\Varnel\\Bench");
    engine_->engineInterfaceExt->InitEngine(nullptr, "Varnel Bench");
  }
  ~BenchEngine() {
    engine_->engineInterfaceExt->Release();
    delete engine_;
    globalEngine = nullptr;
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  EngineInterface* Engine() const { return engine_; }
  std::string FileFor(int channelCount) const {
    return (dir_ / ("group-" + std::to_string(channelCount) + ".cgr")).string();
  }

  // The group, placed slot by slot as the loader places channels: AddChannel
  // looks for the lowest hole first, which for this many channels costs more
  // than what is measured.
  std::unique_ptr<Tvk_ChannelGroup> BuildGroup(int channelCount) {
    auto group = std::make_unique<Tvk_ChannelGroup>(engine_);
    std::vector<Tvk_Channel*> channels;
    for (int i = 0; i < channelCount; ++i) {
      Tvk_Channel* channel = engine_->InitChannelFromType(kBenchLinkerType, nullptr, false);
      if (!channel) return nullptr;
      group->SetChannel(channel, i);
      channelInternal.SetChannelIDIndexNr(channel, i);
      channelInternal.SetChannelGroup(channel, group.get());
      channels.push_back(channel);
    }
    for (int i = 0; i < channelCount; ++i) channels[i]->SetChild(channels[(i + kLinkStride) % channelCount], -1, 0);
    return group;
  }

  // Saved once per size and kept for the run.
  const std::string& SavedFile(int channelCount) {
    auto found = files_.find(channelCount);
    if (found != files_.end()) return found->second;
    std::string path = FileFor(channelCount);
    auto group = BuildGroup(channelCount);
    if (!group || !group->SaveChannelGroup(path.c_str())) path.clear();
    return files_.emplace(channelCount, path).first->second;
  }

 private:
  fs::path dir_;
  EngineInterface* engine_;
  std::map<int, std::string> files_;
};

BenchEngine& Bench() {
  static BenchEngine bench;
  return bench;
}

// ---- the baseline: read the file, walk its tags -----------------------------------

std::vector<char> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes(static_cast<std::size_t>(fs::file_size(path)));
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// The lone tags of a group file: "TVKG", and "CHES" where it stands before a
// record (not in this file). Every other tag has a block.
bool IsLoneTag(const char* at) { return std::memcmp(at, "TVKG", 4) == 0; }

std::uint32_t SizeAt(const char* at) {
  const auto* b = reinterpret_cast<const unsigned char*>(at);
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// Visits every tag and block; answers the number of tags.
std::size_t WalkBytes(const std::vector<char>& bytes) {
  std::size_t tags = 0;
  std::size_t at = 0;
  while (at + 4 <= bytes.size()) {
    ++tags;
    if (IsLoneTag(bytes.data() + at)) {
      at += 4;
      continue;
    }
    if (at + 8 > bytes.size()) break;
    at += 8 + SizeAt(bytes.data() + at + 4);
  }
  return tags;
}

std::size_t WalkWithLoader(TvkFileLoader& loader) {
  std::size_t tags = 0;
  while (loader.GetRemainingSize() >= 4) {
    ++tags;
    const bool lone = IsLoneTag(loader.GetBuffer());
    loader.AddBufferPos(4);
    if (lone) continue;
    if (loader.GetRemainingSize() < 4) break;
    loader.AddBufferPos(static_cast<int>(loader.GetSizeDataBlock(true)));
  }
  return tags;
}

// ---- the measurements ---------------------------------------------------------------

void BM_LoadGroupFile(benchmark::State& state) {
  const int channelCount = static_cast<int>(state.range(0));
  const std::string& path = Bench().SavedFile(channelCount);
  if (path.empty()) state.SkipWithError("the group could not be built and saved");
  for (auto _ : state) {
    auto group = std::make_unique<Tvk_ChannelGroup>(Bench().Engine());
    const bool loaded = group->LoadChannelGroupFromFile(path.c_str(), false);
    state.PauseTiming();
    if (!loaded || group->GetChannelCount() != channelCount) state.SkipWithError("the group did not load");
    group.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * channelCount);
  state.counters["bytes"] = static_cast<double>(fs::file_size(path));
}

void BM_SaveGroupFile(benchmark::State& state) {
  const int channelCount = static_cast<int>(state.range(0));
  auto group = Bench().BuildGroup(channelCount);
  const std::string path = Bench().FileFor(channelCount) + ".saved";
  if (!group) state.SkipWithError("the group could not be built");
  for (auto _ : state) {
    if (!group->SaveChannelGroup(path.c_str())) state.SkipWithError("the group did not save");
  }
  state.SetItemsProcessed(state.iterations() * channelCount);
}

void BM_ReadAndWalkTags(benchmark::State& state) {
  const int channelCount = static_cast<int>(state.range(0));
  const std::string& path = Bench().SavedFile(channelCount);
  for (auto _ : state) {
    const std::vector<char> bytes = ReadWholeFile(path);
    benchmark::DoNotOptimize(WalkBytes(bytes));
  }
  state.SetItemsProcessed(state.iterations() * channelCount);
}

void BM_ReadAndWalkTagsWithLoader(benchmark::State& state) {
  const int channelCount = static_cast<int>(state.range(0));
  const std::string& path = Bench().SavedFile(channelCount);
  for (auto _ : state) {
    TvkFileLoader loader(Bench().Engine());
    if (!loader.LoadFile(path.c_str())) state.SkipWithError("the file did not load");
    benchmark::DoNotOptimize(WalkWithLoader(loader));
  }
  state.SetItemsProcessed(state.iterations() * channelCount);
}

// What every load pays before reading a record: making the channels through
// the engine (type lookup, the plug-in's constructor) and placing them.
void BM_CreateChannelsOnly(benchmark::State& state) {
  const int channelCount = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto group = std::make_unique<Tvk_ChannelGroup>(Bench().Engine());
    for (int i = 0; i < channelCount; ++i) {
      Tvk_Channel* channel = Bench().Engine()->InitChannelFromType(kBenchLinkerType, nullptr, false);
      group->SetChannel(channel, i);
      channelInternal.SetChannelIDIndexNr(channel, i);
      channelInternal.SetChannelGroup(channel, group.get());
    }
    state.PauseTiming();
    group.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * channelCount);
}

BENCHMARK(BM_LoadGroupFile)->Arg(kSmallGroup)->Arg(kLargeGroup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveGroupFile)->Arg(kSmallGroup)->Arg(kLargeGroup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndWalkTags)->Arg(kSmallGroup)->Arg(kLargeGroup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateChannelsOnly)->Arg(kSmallGroup)->Arg(kLargeGroup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndWalkTagsWithLoader)->Arg(kSmallGroup)->Arg(kLargeGroup)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

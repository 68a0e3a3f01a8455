// One frame of a channel graph: 100,000 channels, fan-out 4 through one
// multi-link position each, a DAG in which most channels have two parents, so
// every channel is reached through GetChild up to twice and calculates once
// thanks to CheckRenderCount. Beside it the same shape built from plain C++
// objects with a virtual call and a visited stamp: the cost of the engine's
// child lookup and pass test over the bare minimum.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ChannelInternal.h"
#include "ChildLinks.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace {

constexpr int kFullGraph = 100000;
// A graph small enough to stay in the caches: the cost of the code path alone.
constexpr int kCachedGraph = 1000;
constexpr int kFanOut = 4;

// Children of channel i: 2i+1 .. 2i+4, so channel j > 2 is reached from two
// parents and the graph is a DAG rooted at 0.
template <class Link>
void ForEachEdge(int channelCount, Link link) {
  for (int parent = 0; parent < channelCount; ++parent)
    for (int k = 1; k <= kFanOut; ++k) {
      const int child = 2 * parent + k;
      if (child < channelCount) link(parent, child);
    }
}

std::uint64_t Mix(std::uint64_t sum, std::uint64_t value) { return sum * 31 + value; }

// ---- the engine's channels -----------------------------------------------------

class WalkChannel : public Tvk_Channel {
 public:
  explicit WalkChannel(std::uint64_t weight) : weight_(weight), value_(0) { SetChildCreateType(ChildCreation(), 0); }
  void CallChannel() override {
    if (!CheckRenderCount()) return;
    std::uint64_t sum = weight_;
    // With one multi-link position the run is nodes 0..n-1 and its position
    // node comes last.
    const int runLength = GetChildCount() - 1;
    for (int i = 0; i < runLength; ++i) {
      Tvk_Channel* child = GetChild(i);
      child->CallChannel();
      sum = Mix(sum, static_cast<WalkChannel*>(child)->value_);
    }
    value_ = sum;
  }
  std::uint64_t Value() const { return value_; }

 private:
  std::uint64_t weight_;
  std::uint64_t value_;
};

// A started engine in a private install directory, with one registered group
// holding the graph.
class EngineGraph {
 public:
  explicit EngineGraph(int channelCount) : install_(std::filesystem::temp_directory_path() / ("varnel-bench-" + std::to_string(platform::GetTickCount()))) {
    std::filesystem::create_directories(install_ / "channels");
    std::filesystem::create_directories(install_ / "3rd");
    platform::SetEnvironmentValue("VARNEL_SETTINGS_DIR", install_.string().c_str());
    engine_ = new EngineInterface();
    globalEngine = engine_;
    engine_->engineInterfaceExt->SetInstallDir(install_.string().c_str());
    engine_->engineInterfaceExt->SetVarnelRegKey("Software\\Varnel\\Bench");
    engine_->engineInterfaceExt->InitEngine(nullptr, "Varnel Bench");
    group_ = engine_->CreateNewGroup("walk", false, 0);
    channels_.reserve(channelCount);
    // Placed slot by slot, as the group file loader does: AddChannel looks for
    // the channel and for the lowest hole first, which for 100,000 channels
    // costs more than the whole measurement.
    for (int i = 0; i < channelCount; ++i) {
      auto* channel = new WalkChannel(static_cast<std::uint64_t>(i));
      group_->SetChannel(channel, i);
      channelInternal.SetChannelIDIndexNr(channel, i);
      channelInternal.SetChannelGroup(channel, group_);
      channels_.push_back(channel);
    }
    ForEachEdge(channelCount, [this](int parent, int child) { channels_[parent]->SetChild(channels_[child], -1, 0); });
    group_->SetStartChannel(0);
  }
  ~EngineGraph() {
    engine_->engineInterfaceExt->Release();
    delete engine_;
    globalEngine = nullptr;
    std::error_code ignored;
    std::filesystem::remove_all(install_, ignored);
  }

  // The engine's frame: advance the count, then call the start channel.
  std::uint64_t Frame() {
    engine_->engineInterfaceExt->IncreaseTreeCount();
    group_->CallStartChannel();
    return channels_[0]->Value();
  }
  bool HasGroupIndex() const { return group_->GetGroupIndex() != -1; }

 private:
  std::filesystem::path install_;
  EngineInterface* engine_;
  Tvk_ChannelGroup* group_;
  std::vector<WalkChannel*> channels_;
};

// ---- the plain baseline -----------------------------------------------------------

class PlainNode {
 public:
  explicit PlainNode(std::uint64_t weight) : weight_(weight) {}
  virtual ~PlainNode() = default;
  virtual void Call(std::uint32_t pass) {
    if (visited_ == pass) return;
    visited_ = pass;
    std::uint64_t sum = weight_;
    for (PlainNode* child : children_) {
      child->Call(pass);
      sum = Mix(sum, child->value_);
    }
    value_ = sum;
  }
  std::vector<PlainNode*> children_;
  std::uint64_t Value() const { return value_; }

 private:
  std::uint64_t weight_;
  std::uint64_t value_ = 0;
  std::uint32_t visited_ = 0;
};

class PlainGraph {
 public:
  explicit PlainGraph(int channelCount) {
    nodes_.reserve(channelCount);
    for (int i = 0; i < channelCount; ++i) nodes_.push_back(std::make_unique<PlainNode>(static_cast<std::uint64_t>(i)));
    ForEachEdge(channelCount, [this](int parent, int child) { nodes_[parent]->children_.push_back(nodes_[child].get()); });
  }
  std::uint64_t Frame() {
    nodes_[0]->Call(++pass_);
    return nodes_[0]->Value();
  }

 private:
  std::vector<std::unique_ptr<PlainNode>> nodes_;
  std::uint32_t pass_ = 0;
};

// The argument is the number of channels; items are channels calculated.
void BM_EngineChannelWalk(benchmark::State& state) {
  const int channelCount = static_cast<int>(state.range(0));
  EngineGraph graph(channelCount);
  if (!graph.HasGroupIndex()) state.SkipWithError("the group is not registered");
  for (auto _ : state) benchmark::DoNotOptimize(graph.Frame());
  state.SetItemsProcessed(state.iterations() * channelCount);
}

void BM_PlainObjectWalk(benchmark::State& state) {
  const int channelCount = static_cast<int>(state.range(0));
  PlainGraph graph(channelCount);
  for (auto _ : state) benchmark::DoNotOptimize(graph.Frame());
  state.SetItemsProcessed(state.iterations() * channelCount);
}

BENCHMARK(BM_EngineChannelWalk)->Arg(kFullGraph)->Arg(kCachedGraph)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainObjectWalk)->Arg(kFullGraph)->Arg(kCachedGraph)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

#pragma once

#include <map>
#include <utility>

class EngineInterface;

namespace viewer {

// Counts, per channel, the frames in which its calling time changed; the
// engine records that time only while call tracking is on.
class CallTracker {
 public:
  // Turns the engine's call tracking on.
  static void Enable(EngineInterface* engine);
  // Before a frame: remembers every channel's calling time.
  void BeforeFrame(EngineInterface* engine);
  // After a frame: counts one reach for every channel whose time changed.
  void AfterFrame(EngineInterface* engine);
  // Lists the most recently called channels of the registered groups.
  void PrintMostRecent(EngineInterface* engine, int count = 10) const;

 private:
  // A channel is known by its group's index and its own index number: a
  // deleted channel's address may be reused by another.
  using ChannelKey = std::pair<int, int>;
  std::map<ChannelKey, int> timesBefore_;
  std::map<ChannelKey, long> reaches_;
};

}  // namespace viewer

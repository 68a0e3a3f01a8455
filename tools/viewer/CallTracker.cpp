#include "CallTracker.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace viewer {
namespace {

struct TrackedChannel {
  int groupIndex;
  Tvk_Channel* channel;
};

std::vector<TrackedChannel> RegisteredChannels(EngineInterface* engine) {
  std::vector<TrackedChannel> channels;
  const int groups = engine->GetChannelGroupCount();
  for (int g = 0; g < groups; ++g) {
    Tvk_ChannelGroup* group = engine->GetChannelGroup(g);
    if (!group) continue;
    const int count = group->GetChannelCount();
    for (int c = 0; c < count; ++c)
      if (Tvk_Channel* channel = group->GetChannel(c)) channels.push_back({group->GetGroupIndex(), channel});
  }
  return channels;
}

}  // namespace

void CallTracker::Enable(EngineInterface* engine) { engine->engineInterfaceExt->SetIfTrackChannelCalling(true); }

void CallTracker::BeforeFrame(EngineInterface* engine) {
  timesBefore_.clear();
  for (const auto& [group, channel] : RegisteredChannels(engine))
    timesBefore_[{group, channel->GetChannelIDIndexNr()}] = channelInternal.GetChannelGetChildTime(channel);
}

// A channel that appeared during the frame is not counted: its time is the
// moment it was made, which says nothing about a call.
void CallTracker::AfterFrame(EngineInterface* engine) {
  for (const auto& [group, channel] : RegisteredChannels(engine)) {
    const ChannelKey key{group, channel->GetChannelIDIndexNr()};
    const int now = channelInternal.GetChannelGetChildTime(channel);
    const auto before = timesBefore_.find(key);
    if (before != timesBefore_.end() && before->second != now) ++reaches_[key];
  }
}

void CallTracker::PrintMostRecent(EngineInterface* engine, int count) const {
  struct Row {
    int time;
    TrackedChannel tracked;
  };
  std::vector<Row> rows;
  for (const auto& tracked : RegisteredChannels(engine))
    rows.push_back({channelInternal.GetChannelGetChildTime(tracked.channel), tracked});
  std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.time > b.time; });
  if (rows.size() > static_cast<std::size_t>(count)) rows.resize(count);
  std::printf("most recently called channels (calling time, frames reached, group, index, name):\n");
  for (const Row& row : rows) {
    Tvk_Channel* channel = row.tracked.channel;
    const auto reached = reaches_.find({row.tracked.groupIndex, channel->GetChannelIDIndexNr()});
    const char* name = channel->GetChannelName();
    std::printf("  %10d  %6ld  group %d  #%d  %s\n", row.time, reached == reaches_.end() ? 0L : reached->second,
                row.tracked.groupIndex, channel->GetChannelIDIndexNr(), name && *name ? name : "(unnamed)");
  }
}

}  // namespace viewer

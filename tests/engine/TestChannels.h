#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "Tvk_Channel.h"

namespace enginetest {

// A channel that records the events it receives and may act on each.
class EventChannel : public Tvk_Channel {
 public:
  void DoEvent(int event, unsigned long data) override {
    events.emplace_back(event, data);
    if (onEvent) onEvent(event, data);
  }
  void CallChannel() override {
    ++calls;
    if (onCall) onCall();
  }
  std::vector<std::pair<int, unsigned long>> events;
  std::function<void(int, unsigned long)> onEvent;
  std::function<void()> onCall;
  int calls = 0;
};

}  // namespace enginetest

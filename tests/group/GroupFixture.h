#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "DllInterface.h"
#include "EngineInterface.h"
#include "TestChannels.h"
#include "TestSupport.h"
#include "Tvk_ChannelGroup.h"

namespace grouptest {

// A started engine that test channels pick up through `globalEngine`, and one
// unregistered group of it. The group goes before the engine.
class GroupTest : public ::testing::Test {
 protected:
  GroupTest() { globalEngine = engine.Get(); }
  ~GroupTest() override {
    group.reset();
    globalEngine = nullptr;
  }

  // A channel added to `target` (the test's group by default); the group owns it.
  LinkingChannel* Add(const char* name, Tvk_ChannelGroup* target = nullptr) {
    auto* channel = new LinkingChannel(name, &log);
    (target != nullptr ? target : group.get())->AddChannel(channel);
    return channel;
  }

  ChannelLog log;  // outlives the engine, which deletes its registered groups
  testsupport::StartedEngine engine;
  std::unique_ptr<Tvk_ChannelGroup> group{new Tvk_ChannelGroup(engine.Get())};
};

}  // namespace grouptest

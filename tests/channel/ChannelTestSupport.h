#pragma once

// Test channels and the checks the channel tests share. Test channels are
// built the way a plug-in builds its channel: their engine comes from
// `globalEngine`, which the fixture points at a started engine first.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ChannelInternal.h"
#include "ChildLinks.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "TestSupport.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace channeltest {

inline constexpr GUID kTypeA{0xA0000001, 0x0001, 0x0001, {1, 1, 1, 1, 1, 1, 1, 1}};
inline constexpr GUID kTypeB{0xB0000002, 0x0002, 0x0002, {2, 2, 2, 2, 2, 2, 2, 2}};
inline constexpr GUID kBaseOfA{0xBA5E000A, 0x000A, 0x000A, {0xA, 0xA, 0xA, 0xA, 0xA, 0xA, 0xA, 0xA}};

inline ChannelType MakeType(const GUID& guid, const GUID& baseGuid) {
  ChannelType type;
  type.guid = guid;
  type.baseGuid = baseGuid;
  return type;
}

// A link position accepting `accepted`; requestLink -1 makes it multi-link.
inline ChildCreation Position(const GUID& accepted, int requestLink) {
  ChildCreation creation;
  creation.channelType.guid = accepted;
  creation.requestLink = requestLink;
  return creation;
}

// A channel of a chosen type. Overriding GetChannelType is what a plug-in may
// do; the default reports type A with its base type.
class TestChannel : public Tvk_Channel {
 public:
  explicit TestChannel(const char* name = nullptr, ChannelType type = MakeType(kTypeA, kBaseOfA)) : type_(type) {
    if (name) SetChannelName(name);
  }
  ChannelType GetChannelType() override { return type_; }
  void CallChannel() override { ++calls; }

  bool Pass() { return CheckRenderCount(); }
  std::string Name() const { return GetChannelName() ? GetChannelName() : ""; }

  int calls = 0;

 private:
  ChannelType type_;
};

// A custom-get channel that stands for whatever it is told to.
class ForwardingChannel : public TestChannel {
 public:
  explicit ForwardingChannel(const char* name, Tvk_Channel* target = nullptr) : TestChannel(name), target(target) {
    SetChannelInterfaceType(TVO_CUSTOMCHANNELGET);
  }
  Tvk_Channel* GetChannelFromChannel(Tvk_Channel* caller, ChildInfo* node) override {
    lastCaller = caller;
    return target;
  }
  Tvk_Channel* target;
  Tvk_Channel* lastCaller = nullptr;
};

// The node layout as text, one word per node in list order: a run node shows
// its channel's name ("_" when empty), a multi-link position node "M<p>", a
// single-link position node "S<p>" or "S<p>=name", a hole ".".
std::string LayoutOf(Tvk_Channel& channel);

// Every link position has one position node that its record refers to; runs
// sit directly before their multi-link position node with target indices
// 0..n-1 and the position node's target index n; nodeOffset is the index.
::testing::AssertionResult HasValidNodeLayout(Tvk_Channel& channel);

// A started engine that test channels pick up through `globalEngine`.
class ChannelTest : public ::testing::Test {
 public:
  ChannelTest() {
    globalEngine = engine.Get();
    engine.sink.Clear();  // what the engine said while starting
  }
  ~ChannelTest() override {
    owned_.clear();
    globalEngine = nullptr;
  }

  // A channel the test owns (deleted before the engine).
  template <class T = TestChannel, class... Args>
  T* Make(Args&&... args) {
    T* channel = new T(std::forward<Args>(args)...);
    owned_.emplace_back(channel);
    return channel;
  }

  // A group registered with the engine; the engine owns it.
  Tvk_ChannelGroup* RegisteredGroup(const char* pool) { return engine->CreateNewGroup(pool, false, 0); }

  EngineInterfaceExt* Ext() { return engine->engineInterfaceExt; }
  testsupport::RecordingSink& Sink() { return engine.sink; }

  testsupport::StartedEngine engine;

 private:
  std::vector<std::unique_ptr<Tvk_Channel>> owned_;
};

}  // namespace channeltest

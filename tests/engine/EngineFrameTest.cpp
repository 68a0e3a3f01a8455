// The frame step, event dispatch and window messages.

#include <gtest/gtest.h>

#include <memory>

#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "TestChannels.h"
#include "TestSupport.h"
#include "Tvk_ChannelGroup.h"
#include "WindowMessage.h"

using enginetest::EventChannel;

namespace {

class EngineFrameTest : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine = engine.Get(); }
  EngineInterfaceExt* ext() { return engine->engineInterfaceExt; }
  testsupport::StartedEngine engine;
};

TEST_F(EngineFrameTest, TreeCountRunsToThirtyThousandThenWraps) {
  EXPECT_EQ(engine->GetTreeCalculateCount(), 0);
  for (int i = 0; i < 30000; ++i) ext()->IncreaseTreeCount();
  EXPECT_EQ(engine->GetTreeCalculateCount(), 30000);
  ext()->IncreaseTreeCount();
  EXPECT_EQ(engine->GetTreeCalculateCount(), 0);
}

TEST_F(EngineFrameTest, FrameEventReachesEveryRegisteredChannelOncePerFrame) {
  EventChannel a, b, never;
  engine->AddChannelToEvent(&a, kEventFrame);
  engine->AddChannelToEvent(&b, kEventFrame);
  engine->AddChannelToEvent(&never, 5);  // no such event is ever dispatched
  engine->AddChannelToEvent(nullptr, kEventFrame);
  engine->AddChannelToEvent(&never, -1);

  ext()->IncreaseTreeCount();
  ext()->IncreaseTreeCount();

  ASSERT_EQ(a.events.size(), 2u);
  EXPECT_EQ(a.events[0], std::make_pair(0, 0ul));
  EXPECT_EQ(b.events.size(), 2u);
  EXPECT_TRUE(never.events.empty());
  EXPECT_EQ(ext()->GetCurrentEvent(), kEventFrame);
  engine->RemoveChannelFromEvent(&a, kEventFrame);
  engine->RemoveChannelFromEvent(&b, kEventFrame);
  engine->RemoveChannelFromEvent(&never, 5);
}

TEST_F(EngineFrameTest, WindowMessagesArriveAsEventOneWithTheirData) {
  EventChannel listener;
  engine->AddChannelToEvent(&listener, kEventWindowMessage);
  HWND window = reinterpret_cast<HWND>(0x1234);
  ext()->ProcessWindowMessage(window, 0x0201, 7, -9);

  ASSERT_EQ(listener.events.size(), 1u);
  EXPECT_EQ(listener.events[0].first, kEventWindowMessage);
  const auto* message = reinterpret_cast<const WindowMessage*>(listener.events[0].second);
  EXPECT_EQ(message->message, 0x0201u);
  EXPECT_EQ(message->wParam, 7u);
  EXPECT_EQ(message->lParam, -9);
  EXPECT_EQ(message->window, window);
  EXPECT_EQ(ext()->GetCurrentEvent(), kEventWindowMessage);
  engine->RemoveChannelFromEvent(&listener, kEventWindowMessage);
}

TEST_F(EngineFrameTest, RegistrationDuringDispatchIsReachedWhenItLandsBehind) {
  EventChannel first, late;
  first.onEvent = [&](int, unsigned long) {
    if (first.events.size() == 1) engine->AddChannelToEvent(&late, kEventFrame);
  };
  engine->AddChannelToEvent(&first, kEventFrame);
  ext()->IncreaseTreeCount();
  EXPECT_EQ(late.events.size(), 1u) << "appended behind the current position: reached in the same dispatch";
  engine->RemoveChannelFromEvent(&first, kEventFrame);
  engine->RemoveChannelFromEvent(&late, kEventFrame);
}

TEST_F(EngineFrameTest, RemoveChannelFromEventRemovesEveryDuplicateOfThePair) {
  EventChannel twice, other;
  engine->AddChannelToEvent(&twice, kEventFrame);
  engine->AddChannelToEvent(&other, kEventFrame);
  engine->AddChannelToEvent(&twice, kEventFrame);
  engine->AddChannelToEvent(&twice, kEventWindowMessage);

  ext()->IncreaseTreeCount();
  EXPECT_EQ(twice.events.size(), 2u) << "a pair registered twice is called twice";

  engine->RemoveChannelFromEvent(&twice, kEventFrame);
  ext()->IncreaseTreeCount();
  ext()->ProcessWindowMessage(nullptr, 1, 0, 0);
  EXPECT_EQ(twice.events.size(), 3u) << "only the window-message registration is left";
  EXPECT_EQ(other.events.size(), 2u);
  engine->RemoveChannelFromEvent(&twice, kEventWindowMessage);
  engine->RemoveChannelFromEvent(&other, kEventFrame);
}

TEST_F(EngineFrameTest, UpdateChannelTreeCallsTheStartChannelOfTheStartGroup) {
  Tvk_ChannelGroup* group = engine->CreateNewGroup("Start", false, -1);
  ASSERT_NE(group, nullptr);
  auto* start = new EventChannel();
  group->AddChannel(start);
  ext()->SetStartGroup(group->GetGroupIndex());
  ext()->UpdateChannelTree();
  EXPECT_EQ(start->calls, 1);
  ext()->SetStartGroup(99);  // no such group: nothing is called
  ext()->UpdateChannelTree();
  EXPECT_EQ(start->calls, 1);
}

TEST(EngineReleaseTest, NothingIsDispatchedAfterRelease) {
  testsupport::ScopedSettingsRoot settings;
  auto* engine = new EngineInterface();
  globalEngine = engine;
  engine->engineInterfaceExt->InitEngine(nullptr, "Tests");
  EventChannel channel;
  engine->AddChannelToEvent(&channel, kEventFrame);
  EXPECT_EQ(engine->engineInterfaceExt->GetCurrentEvent(), -1) << "nothing dispatched yet";
  engine->engineInterfaceExt->Release();
  engine->engineInterfaceExt->IncreaseTreeCount();
  engine->engineInterfaceExt->ProcessWindowMessage(nullptr, 1, 0, 0);
  EXPECT_TRUE(channel.events.empty());
  EXPECT_EQ(engine->engineInterfaceExt->GetCurrentEvent(), -3);
  delete engine;
  globalEngine = nullptr;
}

}  // namespace

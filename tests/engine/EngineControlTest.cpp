// The host's control object: start-up, the frame, projects and shut-down.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "EngineControl.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"
#include "TestChannels.h"
#include "TestSupport.h"
#include "WindowMessage.h"
#include "Tvk_ChannelGroup.h"

using enginetest::EventChannel;

namespace {

constexpr const char* kKey = "Software\\Varnel\\ControlTests";

class EngineControlTest : public ::testing::Test {
 protected:
  EngineControl* Start() {
    control = GetEngineControlInstance();
    control->SetInstallDir(install.Path().c_str());
    control->SetVarnelRegKey(kKey);
    char className[] = "Varnel Tests";
    EXPECT_TRUE(control->InitEngine(nullptr, className, reinterpret_cast<HWND>(0x77)));
    globalEngine = control->GetEngineInterface();
    return control;
  }
  void TearDown() override {
    delete control;
    globalEngine = nullptr;
  }
  int TreeCount() { return control->GetEngineInterface()->GetTreeCalculateCount(); }

  testsupport::ScopedSettingsRoot settings;
  testsupport::TempInstallDir install;
  testsupport::RecordingMessageBoxes boxes;
  EngineControl* control = nullptr;
};

TEST_F(EngineControlTest, NothingHappensBeforeInitEngine) {
  control = GetEngineControlInstance();
  control->EngineLoop();
  control->ProcessWindowMessage(nullptr, 1, 0, 0);
  EXPECT_EQ(control->GetEngineInterface(), nullptr);
  EXPECT_FALSE(control->GetIfKeepRunningApplication());
  EXPECT_EQ(debugOutPut, nullptr);
}

TEST_F(EngineControlTest, InitEngineHandsOverItsSettingsAndInstallsTheLog) {
  Start();
  EngineInterface* engine = control->GetEngineInterface();
  ASSERT_NE(engine, nullptr);
  EXPECT_NE(debugOutPut, nullptr);
  EXPECT_TRUE(engineControlHosted);
  EXPECT_EQ(std::string(engine->GetInstallDir()), install.Path().string());
  EXPECT_STREQ(engine->GetEngineClassName(), "Varnel Tests");
  EXPECT_EQ(engine->GetWindowHandle(), reinterpret_cast<HWND>(0x77));
  char value[100] = {};
  EXPECT_TRUE(engine->engineInterfaceExt->GetRegData("WriteErrorLog", value, 99)) << "the log created its setting";
  EXPECT_STREQ(value, "No");
}

TEST_F(EngineControlTest, EachLoopAdvancesTheTreeCountOnceAndCallsTheStartChannel) {
  Start();
  EngineInterface* engine = control->GetEngineInterface();
  Tvk_ChannelGroup* group = engine->CreateNewGroup("Start", false, -1);
  auto* start = new EventChannel();
  group->AddChannel(start);
  engine->engineInterfaceExt->SetStartGroup(group->GetGroupIndex());

  for (int frame = 1; frame <= 3; ++frame) {
    control->EngineLoop();
    EXPECT_EQ(TreeCount(), frame);
  }
  EXPECT_EQ(start->calls, 3);
  EXPECT_EQ(control->GetStartGroupOfLastFrame(), group);
}

TEST_F(EngineControlTest, NestedLoopReturnsAtOnce) {
  Start();
  EventChannel pump;
  int nestedCalls = 0;
  pump.onEvent = [&](int, unsigned long) {
    ++nestedCalls;
    control->EngineLoop();  // a channel pumping messages re-enters the host loop
  };
  control->GetEngineInterface()->AddChannelToEvent(&pump, kEventFrame);
  control->EngineLoop();
  control->EngineLoop();
  EXPECT_EQ(nestedCalls, 2);
  EXPECT_EQ(TreeCount(), 2);
  control->GetEngineInterface()->RemoveChannelFromEvent(&pump, kEventFrame);
}

TEST_F(EngineControlTest, TreeCountWrapsAfterThirtyThousandFrames) {
  Start();
  for (int i = 0; i < 30000; ++i) control->EngineLoop();
  EXPECT_EQ(TreeCount(), 30000);
  control->EngineLoop();
  EXPECT_EQ(TreeCount(), 0);
}

TEST_F(EngineControlTest, WindowMessagesReachTheEngineAsEventOne) {
  Start();
  EventChannel listener;
  control->GetEngineInterface()->AddChannelToEvent(&listener, kEventWindowMessage);
  control->ProcessWindowMessage(nullptr, 0x100, 65, 0);
  ASSERT_EQ(listener.events.size(), 1u);
  EXPECT_EQ(reinterpret_cast<const WindowMessage*>(listener.events[0].second)->wParam, 65u);
  control->GetEngineInterface()->RemoveChannelFromEvent(&listener, kEventWindowMessage);
}

TEST_F(EngineControlTest, DestructionReleasesTheEngineBeforeTheLog) {
  platform::SettingValue yes;
  yes.text = "Yes";
  ASSERT_TRUE(platform::WriteSetting(kKey, "WriteErrorLog", yes));
  Start();
  delete control;
  control = nullptr;
  EXPECT_EQ(debugOutPut, nullptr);

  std::ifstream log(install.File("error.log"), std::ios::binary);
  std::stringstream content;
  content << log.rdbuf();
  EXPECT_NE(content.str().find("Error: Libraries loaded :  0\r\n"), std::string::npos)
      << "a message of the release reached the log: " << content.str();
}

TEST_F(EngineControlTest, WithoutAFileDialogLoadProjectAnswersOneAndKeepsTheGroups) {
  Start();
  control->GetEngineInterface()->CreateNewGroup("Kept", false, -1);
  EXPECT_EQ(control->LoadProject(), kProjectUnreadable);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text,
            "The varnel viewer was unable to start the file dialog module. Please re-install the viewer package.");
  EXPECT_EQ(boxes.Boxes()[0].caption, "Varnel Error");
  EXPECT_EQ(boxes.Boxes()[0].icon, platform::MessageBoxIcon::Error);
  EXPECT_EQ(control->GetEngineInterface()->GetChannelGroupCount(), 1);
}

TEST_F(EngineControlTest, LoadProjectDeletesThePreviousGroupsFirst) {
  Start();
  control->GetEngineInterface()->CreateNewGroup("Old", false, -1);
  char missing[] = "/nonexistent/project.vnl";
  control->SetCommandLine(missing);
  EXPECT_EQ(control->LoadProject(), kProjectUnreadable);
  EXPECT_EQ(control->GetEngineInterface()->GetChannelGroupCount(), 0);
}

TEST_F(EngineControlTest, DestroyingAnUninitialisedControlReportsNothing) {
  testsupport::RecordingSink sink;
  control = GetEngineControlInstance();
  delete control;
  control = nullptr;
  EXPECT_TRUE(sink.Messages().empty());
}

}  // namespace

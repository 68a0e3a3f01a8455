// The small services of the engine API: debug lines, flags, listeners, and
// operations with their bounds.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChannelType.h"
#include "EngineControl.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "EngineListener.h"
#include "TestChannels.h"
#include "TestSupport.h"

namespace {

class EngineApiTest : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine = engine.Get(); }
  EngineInterfaceExt* ext() { return engine->engineInterfaceExt; }
  testsupport::StartedEngine engine;
};

TEST_F(EngineApiTest, VersionNumbersAre54) {
  EXPECT_EQ(ext()->GetInterfaceID(), 54);
  EXPECT_EQ(GetEngineVersion(), 54);
}

TEST_F(EngineApiTest, DebugLinesKeepTenTextsAndIgnoreOtherLines) {
  for (int line = 0; line < 10; ++line) EXPECT_STREQ(ext()->GetDebug(line), "") << "empty after InitEngine";
  ext()->DebugOut("frame 12", 3);
  ext()->DebugOut("ignored", 10);
  ext()->DebugOut("ignored", -1);
  EXPECT_STREQ(ext()->GetDebug(3), "frame 12");
  EXPECT_EQ(ext()->GetDebug(10), nullptr);
  EXPECT_EQ(ext()->GetDebug(-1), nullptr);
  ext()->DebugOut(std::string(400, 'y').c_str(), 0);
  EXPECT_EQ(std::string(ext()->GetDebug(0)), std::string(298, 'y'));
  ext()->DebugOut(nullptr, 3);
  EXPECT_STREQ(ext()->GetDebug(3), "");
}

TEST_F(EngineApiTest, InitEngineEmptiesTheDebugLines) {
  ext()->DebugOut("stale", 9);
  ASSERT_TRUE(ext()->InitEngine(nullptr, "Again"));
  EXPECT_STREQ(ext()->GetDebug(9), "");
  EXPECT_STREQ(engine->GetEngineClassName(), "Again");
}

TEST_F(EngineApiTest, FlagsHaveTheirStartValuesAndAreKept) {
  EXPECT_TRUE(ext()->GetGraphRunning());
  EXPECT_TRUE(engine->GetGraphRunning());
  EXPECT_FALSE(ext()->GetIfKeepRunningApplication());
  EXPECT_FALSE(ext()->GetIfTrackChannelCalling());
  EXPECT_FALSE(ext()->GetInitialized());
  ext()->SetGraphRunning(false);
  ext()->SetIfKeepRunningApplication(true);
  ext()->SetIfTrackChannelCalling(true);
  ext()->SetInitialized(true);
  EXPECT_FALSE(engine->GetGraphRunning());
  EXPECT_TRUE(ext()->GetIfKeepRunningApplication());
  EXPECT_TRUE(ext()->GetIfTrackChannelCalling());
  EXPECT_TRUE(ext()->GetInitialized());
}

TEST_F(EngineApiTest, InstallDirAndKeyAreCutAndNullIsIgnored) {
  ext()->SetInstallDir(std::string(350, 'd').c_str());
  EXPECT_EQ(std::string(engine->GetInstallDir()), std::string(299, 'd'));
  ext()->SetInstallDir(nullptr);
  EXPECT_EQ(std::string(engine->GetInstallDir()), std::string(299, 'd'));
  ext()->SetInstallDir(engine.InstallDir().c_str());
}

TEST_F(EngineApiTest, WindowHandleIgnoresNull) {
  HWND window = reinterpret_cast<HWND>(0x55);
  ext()->SetWindowHandle(window);
  ext()->SetWindowHandle(nullptr);
  EXPECT_EQ(engine->GetWindowHandle(), window);
}

TEST_F(EngineApiTest, StartGroupIndexIsStoredWithoutCheck) {
  EXPECT_EQ(ext()->GetStartGroup(), 0);
  ext()->SetStartGroup(42);
  EXPECT_EQ(ext()->GetStartGroup(), 42);
}

class RecordingListener : public EngineListener {
 public:
  explicit RecordingListener(std::vector<std::pair<RecordingListener*, Tvk_Channel*>>* log) : log_(log) {}
  void OnAboutToReleaseChannel(Tvk_Channel* channel) override { log_->emplace_back(this, channel); }

 private:
  std::vector<std::pair<RecordingListener*, Tvk_Channel*>>* log_;
};

TEST_F(EngineApiTest, ListenersHearOfChannelsAboutToGoInSlotOrder) {
  std::vector<std::pair<RecordingListener*, Tvk_Channel*>> log;
  enginetest::EventChannel channel;
  auto* first = new RecordingListener(&log);
  auto* second = new RecordingListener(&log);
  engine->AboutToReleaseChannel(&channel);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], std::make_pair(first, static_cast<Tvk_Channel*>(&channel)));
  EXPECT_EQ(log[1].first, second);

  delete first;  // leaves a hole that the next listener fills
  log.clear();
  engine->AboutToReleaseChannel(&channel);
  ASSERT_EQ(log.size(), 1u);
  auto* third = new RecordingListener(&log);
  log.clear();
  engine->AboutToReleaseChannel(&channel);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].first, third) << "the hole of the first listener was reused";
  delete second;
  delete third;
}

TEST_F(EngineApiTest, UniqueChannelRefusals) {
  engine.sink.Clear();
  EXPECT_EQ(engine->GetUniqueChannel(kZeroGuid, "name"), nullptr);
  EXPECT_EQ(engine.sink.Texts(), std::vector<std::string>{"GUID of channel not found!\nCould not add unique channel!"});
  EXPECT_EQ(ext()->GetUniqueChannelCount(), 0);
}

TEST(EngineApiReleasedTest, UniqueChannelAfterReleaseReportsTheNameAndGuid) {
  testsupport::ScopedSettingsRoot settings;
  testsupport::RecordingSink sink;
  auto* engine = new EngineInterface();
  engine->engineInterfaceExt->InitEngine(nullptr, "Tests");
  engine->engineInterfaceExt->Release();
  sink.Clear();
  const GUID type{0x0000ABCD, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};
  std::string longName = std::string(11, 'a') + std::string(59, 'b');
  EXPECT_EQ(engine->GetUniqueChannel(type, longName.c_str()), nullptr);
  ASSERT_EQ(sink.Texts().size(), 2u);
  EXPECT_EQ(sink.Texts()[0],
            "A unique channel is requested only the Varnel engine is not initialized yet or not initialized anymore, "
            "unique name (GUID on next line):  " +
                std::string(59, 'b'))
      << "the name is cut to its last 59 characters";
  EXPECT_EQ(sink.Texts()[1], "0000ABCD-0001-0002-0102-030405060708");
  delete engine;
}

}  // namespace

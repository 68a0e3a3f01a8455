// Worker threads registered with the engine and stopped cooperatively.

#include <gtest/gtest.h>

#include <atomic>

#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"
#include "TestSupport.h"
#include "Tvk_Tread.h"

namespace {

// Works until asked to stop, noting the custom pointer it sees on the way.
class PollingWorker : public Tvk_RunTread {
 public:
  explicit PollingWorker(std::atomic<int>* seenAfterStop) : seenAfterStop_(seenAfterStop) {}
  void TreadFunction() override {
    started = true;
    while (GetIfContinueTreadCalls() && !GetIfExitThread()) platform::SleepMilliseconds(1);
    *seenAfterStop_ = GetCustomPointer() == nullptr ? 0 : 1;
  }
  std::atomic<bool> started{false};

 private:
  std::atomic<int>* seenAfterStop_;
};

class QuickWorker : public Tvk_RunTread {};

class WorkerThreadTest : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine = engine.Get(); }
  EngineInterfaceExt* ext() { return engine->engineInterfaceExt; }
  testsupport::StartedEngine engine;
};

TEST_F(WorkerThreadTest, HandlesGetTheirSlotAsClassIdAndFreedIdsAreReused) {
  Tvk_Tread* a = ext()->GetNewTread();
  Tvk_Tread* b = ext()->GetNewTread();
  Tvk_Tread* c = ext()->GetNewTread();
  EXPECT_EQ(a->GetClassID(), 0);
  EXPECT_EQ(b->GetClassID(), 1);
  EXPECT_EQ(c->GetClassID(), 2);
  EXPECT_EQ(ext()->GetTreadFromID(1), b);
  ext()->KillTread(b);  // never started: deleted at once
  EXPECT_EQ(ext()->GetTreadFromID(1), nullptr);
  EXPECT_EQ(ext()->GetTreadFromID(7), nullptr);
  EXPECT_EQ(ext()->GetNewTread()->GetClassID(), 1);
  ext()->KillTread(nullptr);
}

TEST_F(WorkerThreadTest, StartRefusesNullAndAWorkerWithoutHandleCannotCreate) {
  Tvk_Tread* thread = ext()->GetNewTread();
  EXPECT_FALSE(thread->StartTread(nullptr));
  EXPECT_FALSE(thread->GetIfTreadRunning());
  QuickWorker loose;
  EXPECT_FALSE(loose.CreateTread());
}

TEST_F(WorkerThreadTest, KillingAFinishedWorkerRemovesItsHandle) {
  Tvk_Tread* thread = ext()->GetNewTread();
  const int id = thread->GetClassID();
  ASSERT_TRUE(thread->StartTread(new QuickWorker()));
  EXPECT_TRUE(thread->GetIfTreadRunning());
  ext()->KillTread(thread);
  EXPECT_EQ(ext()->GetTreadFromID(id), nullptr);
}

TEST_F(WorkerThreadTest, CustomPointerIsAnsweredOnlyWhileTheOwnerWantsTheWorker) {
  std::atomic<int> seenAfterStop{-1};
  int data = 5;
  Tvk_Tread* thread = ext()->GetNewTread();
  auto* worker = new PollingWorker(&seenAfterStop);
  worker->SetCustomPointer(&data);
  ASSERT_TRUE(thread->StartTread(worker));
  while (!worker->started) platform::SleepMilliseconds(1);
  EXPECT_EQ(worker->GetCustomPointer(), &data);
  EXPECT_TRUE(thread->GetIfKeepRunningTread());
  ext()->KillTread(thread);
  EXPECT_EQ(seenAfterStop.load(), 0) << "once closing began the worker saw no pointer";
}

TEST_F(WorkerThreadTest, ReleaseStopsRunningWorkers) {
  std::atomic<int> seen{-1};
  Tvk_Tread* thread = ext()->GetNewTread();
  auto* worker = new PollingWorker(&seen);
  ASSERT_TRUE(thread->StartTread(worker));
  while (!worker->started) platform::SleepMilliseconds(1);
  // The fixture's release asks the worker to stop and waits for it.
}

}  // namespace

#include <gtest/gtest.h>

#include <atomic>

#include "Platform.h"

namespace {

// Polls until `done` holds; the bound only keeps a broken build from hanging.
template <typename Condition>
bool WaitFor(Condition done) {
  for (int i = 0; i < 10000 && !done(); ++i) platform::SleepMilliseconds(1);
  return done();
}

struct Flags {
  std::atomic<bool> started{false};
  std::atomic<bool> unwound{false};
  std::atomic<bool> stop{false};
  std::atomic<bool> gotLock{false};
};

// Marks its thread's stack as unwound when it goes.
struct UnwindMarker {
  explicit UnwindMarker(Flags& flags) : flags(flags) {}
  ~UnwindMarker() { flags.unwound = true; }
  Flags& flags;
};

void FinishAtOnce(void* argument) {
  Flags& flags = *static_cast<Flags*>(argument);
  UnwindMarker marker(flags);
  flags.started = true;
}

void EndThroughExitCurrentThread(void* argument) {
  Flags& flags = *static_cast<Flags*>(argument);
  UnwindMarker marker(flags);
  flags.started = true;
  platform::ExitCurrentThread();
}

void SleepUntilStopped(void* argument) {
  Flags& flags = *static_cast<Flags*>(argument);
  UnwindMarker marker(flags);
  flags.started = true;
  while (!flags.stop) platform::SleepMilliseconds(1);
}

void TakePluginLock(void* argument) {
  Flags& flags = *static_cast<Flags*>(argument);
  flags.started = true;
  platform::LockPluginInit();
  flags.gotLock = true;
  platform::UnlockPluginInit();
}

platform::ThreadHandle Start(platform::ThreadEntry entry, Flags& flags, std::uint32_t* id = nullptr) {
  std::uint32_t ownId = 0;
  int error = -1;
  platform::ThreadHandle handle = platform::CreateThread(entry, &flags, id != nullptr ? id : &ownId, &error);
  EXPECT_NE(handle, nullptr);
  EXPECT_EQ(error, 0);
  return handle;
}

}  // namespace

TEST(Threads, ThreadRunsItsEntryAndGetsADistinctId) {
  Flags first;
  Flags second;
  std::uint32_t firstId = 0;
  std::uint32_t secondId = 0;
  platform::ThreadHandle a = Start(FinishAtOnce, first, &firstId);
  platform::ThreadHandle b = Start(FinishAtOnce, second, &secondId);
  EXPECT_TRUE(WaitFor([&] { return first.unwound && second.unwound; }));
  EXPECT_NE(firstId, 0u);
  EXPECT_NE(secondId, 0u);
  EXPECT_NE(firstId, secondId);
  platform::CloseThreadHandle(a);
  platform::CloseThreadHandle(b);
  platform::CloseThreadHandle(nullptr);
}

TEST(Threads, ExitCurrentThreadEndsTheThreadAndUnwindsIt) {
  Flags flags;
  platform::ThreadHandle handle = Start(EndThroughExitCurrentThread, flags);
  EXPECT_TRUE(WaitFor([&] { return flags.unwound.load(); }));
  platform::CloseThreadHandle(handle);
}

TEST(Threads, TerminateThreadStopsASleepingThreadAndTheHandleStaysUsable) {
  Flags flags;
  platform::ThreadHandle handle = Start(SleepUntilStopped, flags);
  ASSERT_TRUE(WaitFor([&] { return flags.started.load(); }));
  platform::TerminateThread(handle);
  EXPECT_TRUE(WaitFor([&] { return flags.unwound.load(); }));
  platform::TerminateThread(handle);  // a finished thread: nothing happens
  platform::CloseThreadHandle(handle);
  platform::TerminateThread(nullptr);
}

TEST(Threads, CreateThreadWithoutEntryFails) {
  std::uint32_t id = 99;
  int error = 0;
  EXPECT_EQ(platform::CreateThread(nullptr, nullptr, &id, &error), nullptr);
  EXPECT_NE(error, 0);
}

TEST(Threads, PluginLockIsRecursiveAndKeepsOtherThreadsOut) {
  platform::LockPluginInit();
  platform::LockPluginInit();  // the same thread again: no deadlock
  Flags flags;
  platform::ThreadHandle handle = Start(TakePluginLock, flags);
  ASSERT_TRUE(WaitFor([&] { return flags.started.load(); }));
  platform::SleepMilliseconds(20);
  EXPECT_FALSE(flags.gotLock) << "another thread got the lock while it was held";
  platform::UnlockPluginInit();
  platform::SleepMilliseconds(20);
  EXPECT_FALSE(flags.gotLock) << "one unlock released a lock taken twice";
  platform::UnlockPluginInit();
  EXPECT_TRUE(WaitFor([&] { return flags.gotLock.load(); }));
  platform::CloseThreadHandle(handle);
}

// Worker threads on POSIX threads. A handle is a small heap record; it stays
// valid until CloseThreadHandle, whatever the thread does meanwhile.

#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <new>

#include "Platform.h"

struct platform::ThreadHandleTag {
  pthread_t thread;
};

namespace platform {
namespace {

struct ThreadStart {
  ThreadEntry entry;
  void* argument;
};

void* RunThread(void* startRecord) {
  // The start record is freed before the work begins, so a thread that is
  // cancelled or ends itself leaves nothing behind.
  const ThreadStart start = *static_cast<ThreadStart*>(startRecord);
  delete static_cast<ThreadStart*>(startRecord);
  start.entry(start.argument);
  return nullptr;
}

// Thread IDs for the engine's records: small, distinct, never 0.
std::uint32_t NextThreadId() {
  static std::atomic<std::uint32_t> next{1};
  std::uint32_t id = next.fetch_add(1);
  if (id == 0) id = next.fetch_add(1);
  return id;
}

}  // namespace

ThreadHandle CreateThread(ThreadEntry entry, void* argument, std::uint32_t* threadId, int* error) {
  if (error != nullptr) *error = 0;
  if (entry == nullptr) {
    if (error != nullptr) *error = EINVAL;
    return nullptr;
  }
  ThreadHandle handle = new (std::nothrow) ThreadHandleTag;
  ThreadStart* start = new (std::nothrow) ThreadStart{entry, argument};
  if (handle == nullptr || start == nullptr) {
    delete handle;
    delete start;
    if (error != nullptr) *error = ENOMEM;
    return nullptr;
  }
  // The ID is in place before the thread runs, in case the thread reads it.
  if (threadId != nullptr) *threadId = NextThreadId();
  const int result = pthread_create(&handle->thread, nullptr, RunThread, start);
  if (result != 0) {
    delete handle;
    delete start;
    if (threadId != nullptr) *threadId = 0;
    if (error != nullptr) *error = result;
    return nullptr;
  }
  return handle;
}

void TerminateThread(ThreadHandle thread) {
  if (thread != nullptr) pthread_cancel(thread->thread);
}

void CloseThreadHandle(ThreadHandle thread) {
  if (thread == nullptr) return;
  pthread_detach(thread->thread);
  delete thread;
}

void ExitCurrentThread() { pthread_exit(nullptr); }

}  // namespace platform

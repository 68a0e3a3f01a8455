#include <mutex>

#include "Platform.h"

namespace platform {
namespace {

std::recursive_mutex& PluginInitMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

}  // namespace

void LockPluginInit() { PluginInitMutex().lock(); }

void UnlockPluginInit() { PluginInitMutex().unlock(); }

}  // namespace platform

#include <time.h>

#include <cerrno>
#include <cstdint>

#include "Platform.h"

namespace platform {
namespace {

std::string FormatLocalNow(const char* picture) {
  const time_t now = time(nullptr);
  tm local;
  if (localtime_r(&now, &local) == nullptr) return std::string();
  char text[64];
  const std::size_t length = strftime(text, sizeof text, picture, &local);
  return std::string(text, length);
}

}  // namespace

std::uint32_t GetTickCount() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                           static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);  // wraps after about 49.7 days
}

// Workers wait here most of the time, so this is where TerminateThread
// usually finds them. Address-sanitised builds leave poisoned stack redzones
// behind when a cancelled thread unwinds, which the sanitiser then mistakes for
// an error; this frame therefore carries no redzones.
__attribute__((no_sanitize_address)) void SleepMilliseconds(std::uint32_t ms) {
  timespec remaining{static_cast<time_t>(ms / 1000u), static_cast<long>(ms % 1000u) * 1000000L};
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

std::string FormatLocalDate() { return FormatLocalNow("%Y-%m-%d"); }

std::string FormatLocalTime() { return FormatLocalNow("%H:%M:%S"); }

}  // namespace platform

// New identifiers: 122 random bits in the version-4 layout.

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>

#include "Platform.h"
#include "internal/FileIo.h"

namespace platform {
namespace {

bool FillFromKernel(unsigned char* bytes, std::size_t size) {
  std::size_t filled = 0;
  while (filled < size) {
    const ssize_t got = getrandom(bytes + filled, size - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    filled += static_cast<std::size_t>(got);
  }
  return true;
}

bool FillFromDevice(unsigned char* bytes, std::size_t size) {
  const int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::size_t filled = 0;
  while (filled < size) {
    const ssize_t got = read(fd, bytes + filled, size - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    filled += static_cast<std::size_t>(got);
  }
  internal::CloseDescriptor(fd);
  return filled == size;
}

// Only when the kernel gives no randomness at all (a sandbox without
// getrandom and /dev): still distinct within the process.
void FillFromClock(unsigned char* bytes, std::size_t size) {
  static std::atomic<std::uint64_t> sequence{0};
  std::seed_seq seed{static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()),
                     static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()),
                     sequence.fetch_add(1), static_cast<std::uint64_t>(getpid())};
  std::mt19937_64 generator(seed);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(generator());
}

}  // namespace

GUID CreateGuid() {
  unsigned char bytes[sizeof(GUID)];
  if (!FillFromKernel(bytes, sizeof bytes) && !FillFromDevice(bytes, sizeof bytes)) {
    FillFromClock(bytes, sizeof bytes);
  }
  GUID guid;
  std::memcpy(&guid, bytes, sizeof guid);
  guid.Data3 = static_cast<std::uint16_t>((guid.Data3 & 0x0FFF) | 0x4000);        // version 4
  guid.Data4[0] = static_cast<std::uint8_t>((guid.Data4[0] & 0x3F) | 0x80);        // RFC 4122 variant
  return guid;
}

}  // namespace platform

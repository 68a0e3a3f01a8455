#include <unistd.h>

#include <cerrno>

#include "internal/FileIo.h"

namespace platform::internal {

bool WriteAll(int fd, const void* data, std::size_t size) {
  const char* next = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = write(fd, next, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    next += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

void CloseDescriptor(int fd) {
  if (fd >= 0) close(fd);
}

}  // namespace platform::internal

// Plain file operations on engine paths: existence, attributes, appending,
// reading, removing and listing.

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <exception>

#include "Platform.h"
#include "internal/FileIo.h"

namespace platform {
namespace {

bool StatNative(const char* path, struct stat& info) {
  if (path == nullptr) return false;
  const std::string native = NativePath(path);
  return !native.empty() && stat(native.c_str(), &info) == 0;
}

// Reads until end of file into `out`, refusing to hold more than maxSize bytes.
// The file may have changed size since it was measured, so growth is checked
// here as well.
bool ReadToEnd(int fd, std::vector<char>& out, std::size_t expected, std::size_t maxSize) {
  constexpr std::size_t kChunk = 64 * 1024;
  std::size_t used = 0;
  out.resize(expected);
  for (;;) {
    if (used == out.size()) {
      if (out.size() >= maxSize) {
        // Full up to the limit: only an immediate end of file is acceptable.
        char probe;
        ssize_t got;
        do {
          got = read(fd, &probe, 1);
        } while (got < 0 && errno == EINTR);
        return got == 0;
      }
      out.resize(out.size() + std::min(kChunk, maxSize - out.size()));
    }
    const ssize_t got = read(fd, out.data() + used, out.size() - used);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  out.resize(used);
  return true;
}

}  // namespace

bool FileExists(const char* path) {
  struct stat info;
  return StatNative(path, info) && S_ISREG(info.st_mode);
}

bool DirectoryExists(const char* path) {
  struct stat info;
  return StatNative(path, info) && S_ISDIR(info.st_mode);
}

std::uint32_t FileAttributes(const char* path) {
  if (path == nullptr) return 0;
  const std::string native = NativePath(path);
  if (native.empty() || access(native.c_str(), F_OK) != 0) return 0;
  // Asks the kernel rather than reading mode bits: ownership, groups,
  // read-only mounts and the superuser's rights all count.
  return access(native.c_str(), W_OK) == 0 ? 0u : kFileAttributeReadOnly;
}

bool AppendToFile(const char* path, const void* data, std::size_t size) {
  if (path == nullptr || (data == nullptr && size > 0)) return false;
  const std::string native = NativePath(path);
  const int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return false;
  // The lock keeps the lines of concurrent writers (also in other processes)
  // from interleaving; it goes with the descriptor.
  int locked;
  do {
    locked = flock(fd, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  const bool written = locked == 0 && internal::WriteAll(fd, data, size);
  internal::CloseDescriptor(fd);
  return written;
}

bool ReadWholeFile(const char* path, std::vector<char>& out, std::size_t maxSize) {
  if (path == nullptr) return false;
  const std::string native = NativePath(path);
  // Non-blocking so that a FIFO in place of a file cannot hang the open.
  const int fd = open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
            static_cast<std::uint64_t>(info.st_size) <= maxSize;
  std::vector<char> content;
  try {
    if (ok) ok = ReadToEnd(fd, content, static_cast<std::size_t>(info.st_size), maxSize);
  } catch (const std::exception&) {
    ok = false;  // no memory for a file of that size: it cannot be read
  }
  internal::CloseDescriptor(fd);
  if (ok) out.swap(content);
  return ok;
}

bool RemoveFile(const char* path) {
  if (path == nullptr) return false;
  const std::string native = NativePath(path);
  return unlink(native.c_str()) == 0;
}

std::vector<std::string> ListPlainFiles(const char* directory) {
  std::vector<std::string> names;
  if (directory == nullptr) return names;
  const std::string native = NativePath(directory);
  DIR* dir = opendir(native.c_str());
  if (dir == nullptr) return names;
  const int dirFd = dirfd(dir);
  while (const dirent* entry = readdir(dir)) {
    const std::string name(entry->d_name);
    if (name == "." || name == "..") continue;
    // Links count by what they point to, so a linked plug-in is listed too.
    struct stat info;
    if (fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode)) names.push_back(name);
  }
  closedir(dir);
  // std::string compares as unsigned bytes: plain byte order.
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace platform

// Replacing a file so that readers see either the old or the new content,
// never a part: the data goes to a fresh file beside the target, reaches the
// disk, and only then takes the target's name.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>

#include "Platform.h"
#include "internal/FileIo.h"

namespace platform {
namespace {

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Opens a temporary file beside `target` with a name no other writer uses.
// The mode follows the target when it exists, so replacing a file does not
// change who may read it; otherwise the umask decides, as for any new file.
int CreateTemporaryBeside(const std::string& target, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const GUID unique = CreateGuid();
    tempPath = target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + "-" +
               std::to_string(unique.Data1);
    const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd >= 0) {
      struct stat existing;
      if (stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        fchmod(fd, existing.st_mode & 07777);
      }
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

// Makes the rename itself durable; a failure here loses nothing that a
// reader could see, so it is not reported.
void SyncDirectory(const std::string& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  internal::CloseDescriptor(fd);
}

}  // namespace

bool WriteFileAtomically(const char* path, const void* data, std::size_t size) {
  if (path == nullptr || (data == nullptr && size > 0)) return false;
  const std::string target = NativePath(path);
  if (target.empty() || target.back() == '/') return false;
  std::string tempPath;
  const int fd = CreateTemporaryBeside(target, tempPath);
  if (fd < 0) return false;
  bool ok = internal::WriteAll(fd, data, size) && fsync(fd) == 0;
  ok = (close(fd) == 0) && ok;
  if (ok) ok = rename(tempPath.c_str(), target.c_str()) == 0;
  if (!ok) {
    unlink(tempPath.c_str());
    return false;
  }
  SyncDirectory(DirectoryOf(target));
  return true;
}

}  // namespace platform

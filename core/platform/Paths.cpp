// Engine texts name files the way the engine's own files store them, with
// backslashes; the file system wants slashes.

#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "Platform.h"

namespace platform {

std::string NativePath(const char* enginePath) {
  if (enginePath == nullptr) return std::string();
  std::string path(enginePath);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::string CurrentDirectory() {
  std::vector<char> buffer(256);
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) return std::string(buffer.data());
    if (errno != ERANGE || buffer.size() >= (std::size_t{1} << 20)) return std::string();
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace platform

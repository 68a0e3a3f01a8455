// Loading plug-ins and the libraries they import. The system loader reads the
// search-path variable only when the process starts, but the engine puts its
// plug-in directories there later, so bare names are looked up here first.

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "Platform.h"

namespace platform {
namespace {

struct LibraryError {
  int code = 0;
  std::string text;
};

thread_local LibraryError lastError;

void RememberError(int code, std::string text) {
  lastError.code = code;
  lastError.text = std::move(text);
}

bool IsPlainFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string LoaderMessage() {
  const char* message = dlerror();
  return message != nullptr ? std::string(message) : std::string("unknown loader error");
}

// Loads a file known to exist; a failure means the file is no library the
// process can use (wrong format, wrong machine, missing imports).
HINSTANCE OpenExistingFile(const std::string& path) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) RememberError(ENOEXEC, LoaderMessage());
  return static_cast<HINSTANCE>(module);
}

HINSTANCE LoadByPath(const std::string& path) {
  if (!IsPlainFile(path)) {
    RememberError(ENOENT, path + ": " + std::strerror(ENOENT));
    return nullptr;
  }
  return OpenExistingFile(path);
}

// The directories of the search-path variable as it is now; the engine writes
// them in its own path form, so they are converted like every other path.
bool FindInSearchPath(const std::string& name, std::string& found) {
  const std::optional<std::string> value = GetEnvironmentValue(LibrarySearchPathVariable());
  if (!value) return false;
  const std::string directories = NativePath(value->c_str());
  std::size_t start = 0;
  while (start <= directories.size()) {
    std::size_t end = directories.find(LibrarySearchPathSeparator(), start);
    if (end == std::string::npos) end = directories.size();
    if (end > start) {
      std::string candidate = directories.substr(start, end - start);
      if (candidate.back() != '/') candidate += '/';
      candidate += name;
      if (IsPlainFile(candidate)) {
        found = std::move(candidate);
        return true;
      }
    }
    start = end + 1;
  }
  return false;
}

HINSTANCE LoadByBareName(const std::string& name) {
  std::string found;
  if (FindInSearchPath(name, found)) return OpenExistingFile(found);
  void* module = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    // The system search does not say whether it found a file; its message does.
    const std::string message = LoaderMessage();
    const bool missing = message.find(std::strerror(ENOENT)) != std::string::npos;
    RememberError(missing ? ENOENT : ENOEXEC, message);
  }
  return static_cast<HINSTANCE>(module);
}

}  // namespace

HINSTANCE LoadLibraryFile(const char* pathOrName) {
  if (pathOrName == nullptr || *pathOrName == '\0') {
    RememberError(EINVAL, "no library name");
    return nullptr;
  }
  const std::string text(pathOrName);
  if (text.find_first_of("/\\") != std::string::npos) return LoadByPath(NativePath(pathOrName));
  return LoadByBareName(text);
}

void* FindLibrarySymbol(HINSTANCE module, const char* name) {
  if (module == nullptr || name == nullptr) return nullptr;
  return dlsym(module, name);
}

void UnloadLibrary(HINSTANCE module) {
  if (module != nullptr) dlclose(module);
}

int LastLibraryErrorCode() { return lastError.code; }

std::string LastLibraryErrorText() { return lastError.text; }

}  // namespace platform

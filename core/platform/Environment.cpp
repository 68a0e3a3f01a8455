#include <stdlib.h>

#include "Platform.h"

namespace platform {

const char* LibrarySearchPathVariable() { return "LD_LIBRARY_PATH"; }

char LibrarySearchPathSeparator() { return ':'; }

std::optional<std::string> GetEnvironmentValue(const char* name) {
  if (name == nullptr) return std::nullopt;
  const char* value = getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

bool SetEnvironmentValue(const char* name, const char* value) {
  if (name == nullptr || *name == '\0') return false;
  if (value == nullptr) return unsetenv(name) == 0;
  return setenv(name, value, 1) == 0;
}

}  // namespace platform

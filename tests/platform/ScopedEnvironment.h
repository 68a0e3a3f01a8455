#pragma once

// Changes environment variables for one test and puts every one back as it
// was, also when the test fails half-way.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Platform.h"

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      platform::SetEnvironmentValue(it->first.c_str(), it->second ? it->second->c_str() : nullptr);
    }
  }

  // A null value removes the variable.
  void Set(const char* name, const char* value) {
    saved_.emplace_back(name, platform::GetEnvironmentValue(name));
    platform::SetEnvironmentValue(name, value);
  }
  void Set(const char* name, const std::string& value) { Set(name, value.c_str()); }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Platform.h"
#include "TestSupport.h"

namespace siblingtest {

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The names in a directory, sorted: shows whether a save left anything behind.
inline std::vector<std::string> Entries(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Whether file permissions bind this process: a root process may write
// anything, so no file it can see is read-only to it.
inline bool PermissionsBindThisProcess() {
  testsupport::TempDir dir;
  const std::string probe = dir.File("probe");
  WriteText(probe, "x");
  std::filesystem::permissions(probe, std::filesystem::perms::owner_read);
  return (platform::FileAttributes(probe.c_str()) & platform::kFileAttributeReadOnly) != 0;
}

constexpr const char* kRootSkip = "running with the right to write every file (root): read-only files cannot be made";

}  // namespace siblingtest

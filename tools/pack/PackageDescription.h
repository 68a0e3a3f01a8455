#pragma once

// What goes into a project package, read from the command line.

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Guid.h"

class EngineInterface;

namespace buildtools {

struct NeededChannel {
  GUID type{};
  std::array<std::int32_t, 3> lowestVersions{0, 0, 0};
  std::string carriedFile;  // empty: the package carries no plug-in for it
};

struct PackageDescription {
  std::string startGroup;
  std::string output;
  std::optional<std::int32_t> minEngine;
  bool keepRunning = false;
  std::vector<NeededChannel> needs;
  std::vector<std::string> libraries;
  std::string installDir;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

PackageDescription ParsePackArguments(int argc, char** argv);

// Writes the package with the engine's saver; a message on failure.
std::optional<std::string> WritePackage(EngineInterface* engine, const PackageDescription& package);

}  // namespace buildtools

#pragma once

#include <string>

namespace viewer {

// The engine install directory: beside an installed viewer, else the build's.
std::string DefaultEngineDirectory();

}  // namespace viewer

#include "EngineDirectory.h"

#include <filesystem>

namespace viewer {

std::string DefaultEngineDirectory() {
  std::error_code error;
  const auto exe = std::filesystem::canonical("/proc/self/exe", error);
  if (!error) {
    const auto installed = exe.parent_path() / VARNEL_INSTALLED_ENGINE_DIR_REL;
    if (std::filesystem::is_directory(installed / "channels", error))
      return std::filesystem::weakly_canonical(installed, error).string();
  }
  return VARNEL_BUILD_ENGINE_DIR;
}

}  // namespace viewer

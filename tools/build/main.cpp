// varnel-build DESCRIPTION.json -o FILE.cgr [--install-dir DIR]: builds a
// channel group from its text description with the engine and saves it.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "Description.h"
#include "GroupBuilder.h"
#include "ToolSupport.h"

namespace {

constexpr const char* kUsage =
    "usage: varnel-build DESCRIPTION.json -o FILE.cgr [--install-dir DIR]\n"
    "DESCRIPTION.json is a group description, or what varnel-inspect --json wrote about a group file.\n";

struct Arguments {
  std::string description;
  std::string output;
  std::string installDir;
};

bool ParseArguments(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "-o") == 0 && hasValue) {
      args.output = argv[++i];
    } else if (std::strcmp(argv[i], "--install-dir") == 0 && hasValue) {
      args.installDir = argv[++i];
    } else if (argv[i][0] != '-' && args.description.empty()) {
      args.description = argv[i];
    } else {
      std::fprintf(stderr, "varnel-build: unexpected argument \"%s\"\n", argv[i]);
      return false;
    }
  }
  return !args.description.empty() && !args.output.empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (buildtools::AsksForHelp(argc, argv)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  Arguments args;
  if (!ParseArguments(argc, argv, args)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  try {
    // The description is checked in full before the engine starts.
    const buildtools::GroupDescription description = buildtools::LoadDescription(args.description);
    const std::string installDir = args.installDir.empty() ? buildtools::EngineDirectory() : args.installDir;
    buildtools::ToolEngine engine(installDir, "Software\\Varnel\\Build");
    if (!engine.Get()) {
      std::fprintf(stderr, "varnel-build: the engine did not start from %s\n", installDir.c_str());
      return 1;
    }
    std::error_code error;
    const std::string output = std::filesystem::absolute(args.output, error).string();
    buildtools::BuildGroup(engine.Get(), description, args.description, error ? args.output : output);
  } catch (const buildtools::DescriptionError& error) {
    std::fprintf(stderr, "varnel-build: %s\n", error.what());
    return 1;
  }
  return 0;
}

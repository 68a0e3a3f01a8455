// varnel-pack --start GROUP.cgr -o PROJECT.vnl [--min-engine N] [--keep-running]
//   [--needs GUID[:v0,v1,v2]]... [--carry GUID:FILE.dll]... [--library FILE]...
// writes a project package that names its start group and what it needs.

#include <cstdio>

#include "PackageDescription.h"
#include "ToolSupport.h"

namespace {

constexpr const char* kUsage =
    "usage: varnel-pack --start GROUP.cgr -o PROJECT.vnl [--min-engine N] [--keep-running]\n"
    "       [--needs GUID[:v0,v1,v2]]... [--carry GUID:FILE.dll]... [--library FILE]... [--install-dir DIR]\n";

}  // namespace

int main(int argc, char** argv) {
  buildtools::PackageDescription package;
  try {
    package = buildtools::ParsePackArguments(argc, argv);
  } catch (const buildtools::UsageError& error) {
    std::fprintf(stderr, "varnel-pack: %s\n%s", error.what(), kUsage);
    return 2;
  }
  const std::string installDir = package.installDir.empty() ? buildtools::EngineDirectory() : package.installDir;
  buildtools::ToolEngine engine(installDir, "Software\\Varnel\\Pack");
  if (!engine.Get()) {
    std::fprintf(stderr, "varnel-pack: the engine did not start from %s\n", installDir.c_str());
    return 1;
  }
  if (auto error = buildtools::WritePackage(engine.Get(), package)) {
    std::fprintf(stderr, "varnel-pack: %s\n", error->c_str());
    return 1;
  }
  return 0;
}

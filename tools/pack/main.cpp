// varnel-pack --start GROUP.cgr -o PROJECT.vnl [--min-engine N] [--keep-running]
//   [--needs GUID[:v0,v1,v2]]... [--carry GUID:FILE.dll]... [--library FILE]...
// writes a project package that names its start group and what it needs.

#include <cstdio>
#include <cstring>

#include "PackageDescription.h"
#include "ToolSupport.h"

namespace {

constexpr const char* kUsage =
    "usage: varnel-pack --start GROUP.cgr -o PROJECT.vnl [--min-engine N] [--keep-running]\n"
    "       [--needs GUID[:v0,v1,v2]]... [--carry GUID:FILE.dll]... [--library FILE]... [--install-dir DIR]\n";

constexpr const char* kOptions =
    "\n"
    "  --start GROUP.cgr     the start group; the package names it relative to its own directory\n"
    "  -o PROJECT.vnl        the package to write (replaced only once complete)\n"
    "  --min-engine N        the lowest engine version that may play the package\n"
    "  --keep-running        the project asks its host to keep running\n"
    "  --needs GUID[:v0,v1,v2]  a channel type the project needs, with its lowest versions\n"
    "  --carry GUID:FILE.dll the plug-in of a needed type, carried in the package\n"
    "  --library FILE        a support library the carried plug-ins import\n"
    "  --install-dir DIR     the engine install directory (default: $VARNEL_ENGINE_DIR, else the one beside\n"
    "                        this program, else the build's)\n"
    "\n"
    "exit status: 0 written, 1 not written, 2 bad arguments\n";

}  // namespace

int main(int argc, char** argv) {
  if (buildtools::AsksForHelp(argc, argv)) {
    std::printf("%s%s", kUsage, kOptions);
    return 0;
  }
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

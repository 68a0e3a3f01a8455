// varnel-inspect: shows what a tagged file (channel group, project package,
// channel list) holds, without starting the engine. Every size in the file is
// checked before it is used; a damaged file is described up to the damage.

#include <cstdio>
#include <iostream>
#include <string>

#include "EngineDirectory.h"
#include "GroupModel.h"
#include "Report.h"
#include "TagStream.h"
#include "TypeNames.h"

namespace {

constexpr int kExitUnreadable = 1;
constexpr int kExitDamaged = 2;
constexpr int kExitNotAGroup = 3;
constexpr int kExitUsage = 64;

enum class Format { Text, Dot, Json };

struct Options {
  std::string file;
  std::string installDir;
  Format format = Format::Text;
  bool help = false;
};

void PrintUsage(const char* program) {
  std::printf(
      "usage: %s [options] FILE\n"
      "Shows the tags and blocks of a tagged file (.cgr, .vnl, channels.lst) and, for a channel group,\n"
      "its channels and their links.\n"
      "\n"
      "options:\n"
      "  --install-dir DIR  engine install directory whose \"channels.lst\" names the channel types\n"
      "                     (default: the engine beside this program, else the build's)\n"
      "  --dot              write the group's link graph for Graphviz instead\n"
      "  --json             write a machine-readable description instead\n"
      "  -h, --help         this text\n"
      "\n"
      "exit status:\n"
      "  0   the file was read completely\n"
      "  1   the file cannot be read\n"
      "  2   the file is damaged: a block runs past its end, or bytes are not a tag\n"
      "  3   --dot given for a file that is not a channel group\n"
      "  64  bad options\n",
      program);
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (arg == "--dot" || arg == "--json") {
      const Format format = arg == "--dot" ? Format::Dot : Format::Json;
      if (options.format != Format::Text && options.format != format) {
        error = "--dot and --json exclude each other";
        return false;
      }
      options.format = format;
    } else if (arg == "--install-dir") {
      if (i + 1 >= argc) {
        error = "option --install-dir needs a value";
        return false;
      }
      options.installDir = argv[++i];
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else if (!options.file.empty()) {
      error = "more than one file given: " + options.file + " and " + arg;
      return false;
    } else {
      options.file = arg;
    }
  }
  if (!options.help && options.file.empty()) {
    error = "no file given";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "varnel-inspect: %s\n(see varnel-inspect --help)\n", error.c_str());
    return kExitUsage;
  }
  if (options.help) {
    PrintUsage(argv[0]);
    return 0;
  }
  inspect::Inspection inspection;
  inspection.path = options.file;
  std::vector<unsigned char> bytes;
  if (!inspect::ReadFileBytes(options.file, bytes, error)) {
    std::fprintf(stderr, "varnel-inspect: %s\n", error.c_str());
    return kExitUnreadable;
  }
  inspection.stream = inspect::SplitTags(std::move(bytes));
  inspection.kind = inspect::KindOf(inspection.stream);
  if (inspection.kind == inspect::FileKind::ChannelGroup) inspection.group = inspect::ReadGroup(inspection.stream);

  // Without type names the channels are still listed by their GUIDs.
  inspect::TypeNames types;
  const std::string installDir = options.installDir.empty() ? viewer::DefaultEngineDirectory() : options.installDir;
  if (!types.Load(installDir, error)) std::fprintf(stderr, "varnel-inspect: no channel type names: %s\n", error.c_str());

  switch (options.format) {
    case Format::Dot:
      if (inspection.kind != inspect::FileKind::ChannelGroup) {
        std::fprintf(stderr, "varnel-inspect: %s is not a channel group; --dot draws only groups\n",
                     options.file.c_str());
        return kExitNotAGroup;
      }
      inspect::WriteDot(std::cout, inspection, types);
      break;
    case Format::Json: inspect::WriteJson(std::cout, inspection, types); break;
    case Format::Text: inspect::WriteText(std::cout, inspection, types); break;
  }
  std::cout.flush();
  if (!inspection.stream.error.empty()) {
    std::fprintf(stderr, "varnel-inspect: %s: %s\n", options.file.c_str(), inspection.stream.error.c_str());
    return kExitDamaged;
  }
  return 0;
}

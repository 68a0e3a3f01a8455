#include "Options.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace viewer {
namespace {

bool ToLong(const char* text, long minimum, long& out) {
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < minimum) return false;
  out = value;
  return true;
}

bool ToPositiveDouble(const char* text, double& out) {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(text, &end);
  if (errno != 0 || end == text || *end != '\0' || !std::isfinite(value) || value <= 0) return false;
  out = value;
  return true;
}

}  // namespace

ParseResult ParseOptions(int argc, char** argv) {
  ParseResult result;
  Options& o = result.options;
  auto fail = [&](const std::string& message) {
    result.error = message;
    return result;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      o.help = true;
      continue;
    }
    if (arg == "--track-calls") {
      o.trackCalls = true;
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') {
      static const char* const valued[] = {"--install-dir", "--settings-key", "--frames", "--seconds",
                                           "--fps",         "--watch",        "--every",  "--csv", "--plot"};
      bool known = false;
      for (const char* name : valued) known = known || arg == name;
      if (!known) return fail("unknown option " + arg);
      if (i + 1 >= argc) return fail("option " + arg + " needs a value");
      const char* value = argv[++i];
      long number = 0;
      double real = 0;
      if (arg == "--install-dir") {
        o.installDir = value;
      } else if (arg == "--settings-key") {
        o.settingsKey = value;
      } else if (arg == "--watch") {
        if (!*value) return fail("--watch needs a channel name");
        o.watch.push_back(value);
      } else if (arg == "--csv") {
        o.csvFile = value;
      } else if (arg == "--plot") {
        o.plotFile = value;
      } else if (arg == "--frames") {
        if (!ToLong(value, 0, number)) return fail("--frames needs a whole number of at least 0, not \"" + std::string(value) + "\"");
        o.frames = number;
      } else if (arg == "--every") {
        if (!ToLong(value, 1, number)) return fail("--every needs a whole number of at least 1, not \"" + std::string(value) + "\"");
        o.every = number;
      } else if (arg == "--seconds") {
        if (!ToPositiveDouble(value, real)) return fail("--seconds needs a positive number, not \"" + std::string(value) + "\"");
        o.seconds = real;
      } else if (arg == "--fps") {
        if (!ToPositiveDouble(value, real)) return fail("--fps needs a positive number, not \"" + std::string(value) + "\"");
        o.fps = real;
      }
      continue;
    }
    if (!o.project.empty()) return fail("more than one project given: " + o.project + " and " + arg);
    o.project = arg;
  }
  if (!o.csvFile.empty() && o.watch.empty()) return fail("--csv needs at least one --watch NAME");
  if (!o.plotFile.empty() && o.watch.empty()) return fail("--plot needs at least one --watch NAME");
  return result;
}

void PrintUsage(const char* program) {
  std::printf(
      "usage: %s [options] PROJECT\n"
      "Runs a project without a window: PROJECT is a package (.vnl) or a channel group file (.cgr),\n"
      "which then becomes the start group.\n"
      "\n"
      "options:\n"
      "  --install-dir DIR    engine install directory (default: the engine beside this program,\n"
      "                       else the build's)\n"
      "  --settings-key KEY   settings key (default \"Software\\Varnel\\Viewer\")\n"
      "  --frames N           stop after N frames\n"
      "  --seconds S          stop after S seconds\n"
      "  --fps F              frames per second (default: as fast as possible with --frames, else 25)\n"
      "  --watch NAME         print the value of every value channel named NAME (repeatable)\n"
      "  --every N            print watched values every N frames (default 1)\n"
      "  --csv FILE           write frame, time and the watched values to FILE\n"
      "  --plot FILE.svg      draw the watched values over the frames as an SVG line chart\n"
      "  --track-calls        track channel calls and list the most recently called channels at the end\n"
      "  -h, --help           this text\n"
      "Without --frames or --seconds the viewer runs until interrupted when the project asks to keep\n"
      "running, else for 10 seconds.\n"
      "\n"
      "exit status:\n"
      "  0   the project ran\n"
      "  1   the package is missing or cannot be read\n"
      "  2   the package was refused (engine too old, or a plug-in it needs cannot be installed)\n"
      "  3   no project given\n"
      "  4   the start group failed to load (also a .cgr that is not a channel group)\n"
      "  5   the engine did not start, or the CSV or plot file cannot be written\n"
      "  64  bad options\n",
      program);
}

}  // namespace viewer

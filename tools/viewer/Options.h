#pragma once

#include <optional>
#include <string>
#include <vector>

namespace viewer {

struct Options {
  std::string project;
  std::string installDir;
  std::string settingsKey = "Software\\Varnel\\Viewer";
  std::optional<long> frames;
  std::optional<double> seconds;
  std::optional<double> fps;
  std::vector<std::string> watch;
  long every = 1;
  std::string csvFile;
  std::string plotFile;
  bool trackCalls = false;
  bool help = false;
};

struct ParseResult {
  Options options;
  std::string error;  // empty when the command line was understood
};

ParseResult ParseOptions(int argc, char** argv);
void PrintUsage(const char* program);

}  // namespace viewer

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "EngineInterface.h"
#include "TestSupport.h"
#include "TvkFile.h"
#include "Tvk_ChannelGroup.h"
#include "Tvo_FloatChannel.h"
#include "Tvo_Lua.h"

namespace {

using testsupport::CsvRows;
using testsupport::ReadText;
using testsupport::ShellQuoted;
using testsupport::ToolRun;

class Viewer : public ::testing::Test {
 protected:
  // Runs the viewer on the build's engine with a private settings root.
  ToolRun Run(const std::vector<std::string>& args, const std::string& prefix = std::string()) {
    return testsupport::RunTool(VARNEL_VIEWER_PATH, args, dir_, prefix);
  }

  testsupport::ScopedSettingsRoot settings_;
  testsupport::TempDir dir_;
};

// A group whose start channel is a script that counts its calls into the
// linked value channel "Counter".
std::string WriteCountingGroup(const std::string& path) {
  testsupport::StartedEngine engine(testsupport::BuildEngineDir());
  Tvk_ChannelGroup* group = engine->CreateNewGroup("Counting", false, -1);
  auto* counter = static_cast<Tvo_FloatChannel*>(engine->InitChannelFromType(kValueChannelType, group, true));
  auto* script = static_cast<Tvo_Lua*>(engine->InitChannelFromType(kLuaScriptType, group, true));
  EXPECT_NE(counter, nullptr);
  EXPECT_NE(script, nullptr);
  if (!counter || !script) return path;
  counter->SetChannelName("Counter");
  EXPECT_NE(script->SetChild(counter, -1, 0), -1);
  EXPECT_TRUE(script->SetScript(R"(
calls = 0
function CallChannel()
  calls = calls + 1
  channel.GetChild(0):SetValue(calls)
end
)")) << script->GetError();
  group->SetStartChannel(script->GetChannelIDIndexNr());
  EXPECT_TRUE(group->SaveChannelGroup(path.c_str()));
  return path;
}

TEST_F(Viewer, RunsAGroupFileAndWritesTheWatchedValuesPerFrame) {
  const std::string group = WriteCountingGroup(dir_.File("counting.cgr"));
  const std::string csv = dir_.File("out.csv");
  const ToolRun run = Run({"--frames", "10", "--watch", "counter", "--csv", csv, group});
  ASSERT_EQ(run.status, 0) << run.err;

  const auto rows = CsvRows(ReadText(csv));
  ASSERT_EQ(rows.size(), 11u) << ReadText(csv);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"frame", "time", "counter"}));
  double previous = -1;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    ASSERT_EQ(rows[i].size(), 3u);
    EXPECT_EQ(std::stol(rows[i][0]), static_cast<long>(i));
    const double value = std::stod(rows[i][2]);
    EXPECT_GT(value, previous) << "row " << i;
    previous = value;
  }
  EXPECT_NE(run.out.find("counter = "), std::string::npos) << run.out;
}

TEST_F(Viewer, EveryNFramesReportsOnlyThoseFrames) {
  const std::string group = WriteCountingGroup(dir_.File("counting.cgr"));
  const std::string csv = dir_.File("out.csv");
  const ToolRun run = Run({"--frames", "9", "--every", "4", "--watch", "Counter", "--csv", csv, group});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto rows = CsvRows(ReadText(csv));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1][0], "1");
  EXPECT_EQ(rows[2][0], "5");
  EXPECT_EQ(rows[3][0], "9");
}

// Each budget ends the run by itself; a paced run still gives every frame.
TEST_F(Viewer, StopsWhenItsBudgetIsSpent) {
  const std::string group = WriteCountingGroup(dir_.File("counting.cgr"));
  struct Case {
    std::vector<std::string> budget;
    std::size_t fewestRows;
    std::size_t mostRows;
  };
  const Case cases[] = {
      {{"--frames", "3", "--fps", "50"}, 3, 3},
      {{"--seconds", "0.2"}, 1, 1000},
      {{"--frames", "0"}, 0, 0},
  };
  for (const Case& c : cases) {
    const std::string csv = dir_.File("budget.csv");
    std::vector<std::string> args = c.budget;
    args.insert(args.end(), {"--watch", "Counter", "--csv", csv, group});
    const ToolRun run = Run(args);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::size_t rows = CsvRows(ReadText(csv)).size() - 1;
    EXPECT_GE(rows, c.fewestRows) << c.budget.front();
    EXPECT_LE(rows, c.mostRows) << c.budget.front();
  }
}

// Counts the occurrences of a text.
std::size_t CountOf(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
  return count;
}

// The chart is well-formed markup: one polyline per watched name (a name
// with markup characters included) and every element closed.
TEST_F(Viewer, PlotsTheWatchedValuesAsAnSvgChart) {
  const std::string group = WriteCountingGroup(dir_.File("counting.cgr"));
  const std::string svg = dir_.File("plot.svg");
  const ToolRun run = Run({"--frames", "12", "--watch", "Counter", "--watch", "<absent&>", "--plot", svg, group});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string text = ReadText(svg);
  ASSERT_EQ(text.rfind("<?xml", 0), 0u) << text;
  EXPECT_NE(text.find("<svg"), std::string::npos);
  EXPECT_NE(text.find("</svg>"), std::string::npos);
  EXPECT_EQ(CountOf(text, "<polyline"), 2u);
  EXPECT_NE(text.find("&lt;absent&amp;&gt;"), std::string::npos) << "legend names the watched value";
  EXPECT_EQ(text.find("<absent"), std::string::npos) << "a name must not become markup";
  EXPECT_EQ(CountOf(text, "<"), CountOf(text, ">"));
  // Every tag opened is closed: self-closing or matched by its end tag.
  EXPECT_EQ(CountOf(text, "<g"), CountOf(text, "</g>"));
  EXPECT_EQ(CountOf(text, "<text"), CountOf(text, "</text>"));
  EXPECT_GE(CountOf(text, "<text"), 12u) << "labelled ticks on both axes and a legend";
  // The counter's line has a point for each of the twelve frames.
  const std::size_t line = text.find("<polyline");
  const std::size_t points = text.find("points=\"", line) + 8;
  const std::string coordinates = text.substr(points, text.find('"', points) - points);
  EXPECT_EQ(CountOf(coordinates, ","), 12u) << coordinates;
}

// A long run is thinned, and its line still reaches the last frame.
TEST_F(Viewer, ALongRunIsThinnedToAChartThatStillEndsAtTheLastFrame) {
  const std::string group = WriteCountingGroup(dir_.File("counting.cgr"));
  const std::string svg = dir_.File("plot.svg");
  const ToolRun run = Run({"--frames", "4500", "--every", "1", "--watch", "Counter", "--plot", svg, group});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string text = ReadText(svg);
  const std::size_t points = text.find("points=\"", text.find("<polyline")) + 8;
  const std::string coordinates = text.substr(points, text.find('"', points) - points);
  const std::size_t count = CountOf(coordinates, ",");
  EXPECT_GT(count, 1000u);
  EXPECT_LE(count, 2001u);
  // The x axis runs from 70 to 630; the last point sits at its end.
  const std::size_t last = coordinates.rfind(' ', coordinates.size() - 2);
  EXPECT_EQ(coordinates.substr(last + 1, 4), "630,") << coordinates.substr(last);
}

TEST_F(Viewer, APlotWithoutAWatchedNameOrAWritablePlaceFails) {
  const std::string group = WriteCountingGroup(dir_.File("counting.cgr"));
  EXPECT_EQ(Run({"--frames", "1", "--plot", dir_.File("p.svg"), group}).status, 64);
  const ToolRun run = Run({"--frames", "1", "--watch", "Counter", "--plot", dir_.File("no/such/dir/p.svg"), group});
  EXPECT_EQ(run.status, 5);
  EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
}

// Paced so that each frame lies in a later tick of the engine's clock; the
// script and the value it writes are reached in every frame.
TEST_F(Viewer, TrackedCallsListTheChannelsReached) {
  const std::string group = WriteCountingGroup(dir_.File("counting.cgr"));
  const ToolRun run = Run({"--frames", "6", "--fps", "100", "--track-calls", group});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::size_t list = run.out.find("most recently called channels");
  ASSERT_NE(list, std::string::npos) << run.out;
  std::istringstream lines(run.out.substr(list));
  std::string line;
  std::getline(lines, line);
  bool counterListed = false;
  int rows = 0;
  for (; std::getline(lines, line); ++rows) {
    std::istringstream fields(line);
    long time = 0, reaches = 0;
    fields >> time >> reaches;
    if (line.find("Counter") == std::string::npos) continue;
    counterListed = true;
    EXPECT_GE(reaches, 3) << line;
    EXPECT_LE(reaches, 6) << line;
  }
  EXPECT_TRUE(counterListed) << run.out;
  EXPECT_EQ(rows, 2) << "the group has two channels\n" << run.out;
}

// A package naming "start.cgr" beside it as its start group; with
// keepRunning it asks the host to run until it is stopped.
std::string WritePackage(const std::string& path, std::int32_t engineVersion, bool keepRunning = false) {
  testsupport::StartedEngine engine(testsupport::BuildEngineDir());
  TvkFileSaver saver(engine.Get());
  EXPECT_TRUE(saver.OpenSaveFile(path.c_str(), false));
  const std::string start = "start.cgr";
  saver.SaveBlock("VSGR", start.c_str(), static_cast<std::uint32_t>(start.size() + 1));
  saver.SaveBlock("VMEV", &engineVersion, sizeof engineVersion);
  if (keepRunning) saver.SaveTag("VFKR");
  EXPECT_TRUE(saver.CloseSaveFile());
  return path;
}

// Named by its full path or relative to the directory the viewer starts in.
TEST_F(Viewer, RunsAPackageAndItsStartGroup) {
  WriteCountingGroup(dir_.File("start.cgr"));
  const std::string package = WritePackage(dir_.File("project.vnl"), 54);
  const std::string csv = dir_.File("out.csv");
  const std::string inItsDirectory = "cd " + ShellQuoted(dir_.Path().string()) + " && ";
  for (const auto& [name, prefix] : {std::pair{package, std::string()}, std::pair{std::string("project.vnl"), inItsDirectory}}) {
    const ToolRun run = Run({"--frames", "4", "--watch", "Counter", "--csv", csv, name}, prefix);
    ASSERT_EQ(run.status, 0) << name << "\n" << run.err;
    const auto rows = CsvRows(ReadText(csv));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_LT(std::stod(rows[1][2]), std::stod(rows[4][2]));
  }
}

// A package that asks to keep running runs until interrupted, then releases
// the engine and reports success.
TEST_F(Viewer, AKeepRunningProjectEndsCleanlyWhenInterrupted) {
  WriteCountingGroup(dir_.File("start.cgr"));
  const std::string package = WritePackage(dir_.File("project.vnl"), 54, true);
  const ToolRun run = Run({"--watch", "Counter", package}, "timeout --preserve-status -s INT 1 ");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Counter = "), std::string::npos);
}

TEST_F(Viewer, ReportsProjectFailuresThroughItsExitStatus) {
  const std::string notAGroup = dir_.File("text.cgr");
  std::ofstream(notAGroup) << "this is not a channel group\n";
  struct Case {
    const char* what;
    std::vector<std::string> args;
    int status;
  };
  const Case cases[] = {
      {"missing package", {"--frames", "1", dir_.File("absent.vnl")}, 1},
      {"package for a newer engine", {"--frames", "1", WritePackage(dir_.File("newer.vnl"), 55)}, 2},
      {"no project", {"--frames", "1"}, 3},
      {"group file that is no group", {"--frames", "1", notAGroup}, 4},
      {"missing group file", {"--frames", "1", dir_.File("absent.cgr")}, 4},
      {"path too long to load", {"--frames", "1", dir_.File(std::string(300, 'p') + ".vnl")}, 1},
  };
  for (const Case& c : cases) {
    const ToolRun run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << c.what << "\n" << run.err;
  }
}

TEST_F(Viewer, RefusesBadOptionsWithAMessage) {
  const std::vector<std::string> cases[] = {
      {"--no-such-option", "x.vnl"}, {"--frames", "many", "x.vnl"}, {"--frames"},
      {"--fps", "0", "x.vnl"},       {"--every", "0", "x.vnl"},     {"a.vnl", "b.vnl"},
      {"--csv", "out.csv", "x.vnl"},
  };
  for (const auto& args : cases) {
    const ToolRun run = Run(args);
    EXPECT_EQ(run.status, 64) << args.front();
    EXPECT_NE(run.err.find("varnel-viewer: "), std::string::npos) << run.err;
  }
}

TEST_F(Viewer, HelpDocumentsTheExitStatus) {
  const ToolRun run = Run({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("exit status"), std::string::npos);
  EXPECT_NE(run.out.find("--watch NAME"), std::string::npos);
}

}  // namespace

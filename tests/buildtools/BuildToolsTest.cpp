#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "EngineInterface.h"
#include "TestSupport.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "Tvo_FloatChannel.h"
#include "Tvo_Lua.h"

namespace {

using testsupport::CsvRows;
using testsupport::ReadText;
using testsupport::ToolRun;
using testsupport::WriteText;

constexpr const char* kCountingScript =
    "calls = 0\\nfunction CallChannel()\\n  calls = calls + 1\\n  channel.GetChild(0):SetValue(calls * 2)\\nend\\n";

// A script channel that counts its calls into "Counter", a value channel
// named by its type name, and a third channel left unlinked.
std::string CountingDescription() {
  return std::string(R"({
  "pool": "Counting",
  "start": 1,
  "channels": [
    {"type": "value", "name": "Counter", "interface": 1, "value": 7},
    {"type": "{2b7d40c9-e15a-4f63-9c2e-58a1d3f07b64}", "name": "Script",
     "links": [{"child": 0, "position": 0}], "window": [1, 2, 300, 400],
     "script": ")") + kCountingScript + R"("},
    {"type": "91C5F2E8-3A07-4B6D-8E19-C4B27A05D6E3", "name": "Spare"}
  ],
  "parameters": [{"name": "Speed", "type": "91C5F2E8-3A07-4B6D-8E19-C4B27A05D6E3"}]
})";
}

class BuildTools : public ::testing::Test {
 protected:
  // Runs a tool with a private settings root.
  ToolRun Run(const char* tool, const std::vector<std::string>& args) { return testsupport::RunTool(tool, args, dir_); }

  std::string BuildCountingGroup() {
    const std::string description = dir_.File("counting.json"), group = dir_.File("counting.cgr");
    WriteText(description, CountingDescription());
    const ToolRun run = Run(VARNEL_BUILD_TOOL_PATH, {description, "-o", group});
    EXPECT_EQ(run.status, 0) << run.err;
    return group;
  }

  testsupport::ScopedSettingsRoot settings_;
  testsupport::TempDir dir_;
};

TEST_F(BuildTools, BuildsTheDescribedGroupAsTheEngineWritesIt) {
  const std::string path = BuildCountingGroup();
  testsupport::StartedEngine engine(testsupport::BuildEngineDir());
  Tvk_ChannelGroup* group = engine->CreateNewGroup("Loaded", false, -1);
  ASSERT_TRUE(group->LoadChannelGroupFromFile(path.c_str(), false));

  ASSERT_EQ(group->GetChannelCount(), 3);
  Tvk_Channel* counter = group->GetChannel(0);
  Tvk_Channel* script = group->GetChannel(1);
  ASSERT_TRUE(counter && script && group->GetChannel(2));
  EXPECT_STREQ(counter->GetChannelName(), "Counter");
  EXPECT_STREQ(script->GetChannelName(), "Script");
  EXPECT_STREQ(group->GetChannel(2)->GetChannelName(), "Spare");
  EXPECT_TRUE(counter->GetChannelType().guid == kValueChannelType);
  EXPECT_TRUE(script->GetChannelType().guid == kLuaScriptType);
  EXPECT_EQ(counter->GetChannelInterfaceType(), TVO_PUBLIC);
  EXPECT_EQ(group->GetStartChannel(), 1);
  EXPECT_EQ(script->GetChild(0), counter);
  EXPECT_EQ(group->GetParameterCount(), 1);
  EXPECT_STREQ(group->GetParameterInfo(0).name, "Speed");
  EXPECT_FLOAT_EQ(static_cast<Tvo_FloatChannel*>(counter)->GetFloat(), 7.0f);

  auto* lua = static_cast<Tvo_Lua*>(script);
  EXPECT_STREQ(lua->GetScript(), "calls = 0\nfunction CallChannel()\n  calls = calls + 1\n"
                                 "  channel.GetChild(0):SetValue(calls * 2)\nend\n");
  const LuaWindowPos window = lua->GetWindowSize();
  EXPECT_EQ(window.left, 1);
  EXPECT_EQ(window.bottom, 400);
}

// Every bad description is refused with its place and what was expected,
// a non-zero status and no output file.
TEST_F(BuildTools, RefusesBadDescriptionsClearly) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"syntax error", "{\n  \"channels\": [\n    {\"type\": \"value\",}\n  ]\n}", {"bad.json:3:", "not valid JSON"}},
      {"unknown type", R"({"channels": [{"type": "value"}, {"type": "NoSuchType"}]})",
       {"bad.json: channels[1]:", "unknown channel type \"NoSuchType\""}},
      {"link to a missing index", R"({"channels": [{"type": "value", "links": [{"child": 4}]}]})",
       {"channels[0].links[0]:", "\"child\" 4 names no channel (expected 0 to 0)"}},
      {"link the channel refuses", R"({"channels": [{"type": "value"}, {"type": "value", "links": [{"child": 0, "position": 3}]}]})",
       {"channels[1].links[0]:", "the channel refused child 0 at position 3"}},
      {"start out of range", R"({"start": 2, "channels": [{"type": "value"}]})", {"\"start\" 2 names no channel"}},
      {"not an object", "[1, 2]", {"top level: expected an object"}},
      {"no channels", "{}", {"\"channels\" is missing or empty"}},
      {"bad interface", R"({"channels": [{"type": "value", "interface": 9}]})", {"\"interface\" is 9, expected 0 to 5"}},
      {"script on a value channel", R"({"channels": [{"type": "value", "script": "x = 1"}]})",
       {"belong to Lua channels only"}},
      {"script that does not compile", R"({"channels": [{"type": "2B7D40C9-E15A-4F63-9C2E-58A1D3F07B64", "script": "if"}]})",
       {"the script does not run"}},
      {"index on some channels only", R"({"channels": [{"type": "value", "index": 0}, {"type": "value"}]})",
       {"channels[1]:", "\"index\" is missing"}},
      {"an index used twice", R"({"channels": [{"type": "value", "index": 3}, {"type": "value", "index": 3}]})",
       {"\"index\" 3 is used by channels[0] as well"}},
      {"link to an index no channel has",
       R"({"start": 5, "channels": [{"type": "value", "index": 5, "links": [{"child": 0}]}]})",
       {"channels[0].links[0]:", "\"child\" 0 names no channel (expected the \"index\""}},
      {"public-call data on a private channel",
       R"({"channels": [{"type": "value", "publicCall": {"channel": "Target"}}]})",
       {"\"publicCall\" belongs to public calls only"}},
      {"public-call name too long",
       R"({"channels": [{"type": "value", "interface": 2, "publicCall": {"channel": ")" + std::string(80, 'x') + R"("}}]})",
       {"channels[0].publicCall:", "\"channel\" is 80 characters long, expected at most 79"}},
      {"parameter name too long",
       R"({"channels": [{"type": "value"}], "parameters": [{"name": ")" + std::string(39, 'p') +
           R"(", "type": "91C5F2E8-3A07-4B6D-8E19-C4B27A05D6E3"}]})",
       {"parameters[0]:", "\"name\" is 39 characters long, expected at most 38"}},
      {"inspection of a package", R"({"kind": "project package", "group": {"channels": []}})",
       {"not of a channel group"}},
      {"bad parameter type", R"({"channels": [{"type": "value"}], "parameters": [{"name": "p", "type": "1234"}]})",
       {"parameters[0]:", "must be a GUID"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string description = dir_.File("bad.json"), group = dir_.File("bad.cgr");
    WriteText(description, c.text);
    const ToolRun run = Run(VARNEL_BUILD_TOOL_PATH, {description, "-o", group});
    EXPECT_NE(run.status, 0);
    for (const auto& part : c.expected) EXPECT_NE(run.err.find(part), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(group));
  }
  EXPECT_NE(Run(VARNEL_BUILD_TOOL_PATH, {dir_.File("absent.json"), "-o", dir_.File("x.cgr")}).status, 0);
  EXPECT_NE(Run(VARNEL_BUILD_TOOL_PATH, {dir_.File("absent.json")}).status, 0);
}

// Every kind of data the builder writes, with texts that need escaping in
// JSON on the way through.
constexpr const char* kTripScript = "-- \\\"quoted\\\" \\t and caf\u00e9\\nfunction GetValue() return 3 end\\n";

std::string RoundTripDescription() {
  return std::string(R"({
  "pool": "Trip",
  "start": 1,
  "channels": [
    {"type": "value", "name": "Level", "interface": 1, "value": 0.1},
    {"type": "2B7D40C9-E15A-4F63-9C2E-58A1D3F07B64", "name": "Driver", "window": [-5, 2, 300, 400],
     "links": [{"child": 0, "position": 0}, {"child": 3, "position": 0}], "script": ")") + kTripScript + R"("},
    {"type": "value", "name": "Caller", "interface": 2,
     "publicCall": {"channel": "Target", "pool": "Elsewhere", "file": "other.cgr", "requested": 2,
                    "autoLoad": false, "dynamicAutoLoad": 1}},
    {"type": "value", "name": "Spare", "interface": 3}
  ],
  "parameters": [{"name": "Speed", "type": "91C5F2E8-3A07-4B6D-8E19-C4B27A05D6E3"},
                 {"name": "Gain", "type": "2B7D40C9-E15A-4F63-9C2E-58A1D3F07B64"}]
})";
}

// What varnel-inspect --json writes about a built group builds that group
// again: the files differ only in the group's own GUID, new with every build.
TEST_F(BuildTools, InspectedGroupBuildsTheSameGroupAgain) {
  const std::string description = dir_.File("trip.json"), first = dir_.File("first.cgr");
  const std::string inspected = dir_.File("first-inspected.json"), again = dir_.File("again.cgr");
  WriteText(description, RoundTripDescription());
  ASSERT_EQ(Run(VARNEL_BUILD_TOOL_PATH, {description, "-o", first}).status, 0);
  const ToolRun firstView = Run(VARNEL_INSPECT_PATH, {"--json", first});
  ASSERT_EQ(firstView.status, 0) << firstView.err;
  WriteText(inspected, firstView.out);
  const ToolRun rebuild = Run(VARNEL_BUILD_TOOL_PATH, {inspected, "-o", again});
  ASSERT_EQ(rebuild.status, 0) << rebuild.err;

  const std::string before = ReadText(first), after = ReadText(again);
  ASSERT_EQ(before.size(), after.size());
  const std::size_t guid = before.find("CGGG") + 8;
  ASSERT_EQ(after.find("CGGG") + 8, guid);
  EXPECT_EQ(before.substr(0, guid), after.substr(0, guid));
  EXPECT_EQ(before.substr(guid + sizeof(GUID)), after.substr(guid + sizeof(GUID)));

  // The inspection decoded what was described.
  const nlohmann::json doc = nlohmann::json::parse(firstView.out);
  const nlohmann::json& channels = doc["group"]["channels"];
  ASSERT_EQ(channels.size(), 4u);
  EXPECT_EQ(channels[0]["value"], static_cast<double>(0.1f));
  EXPECT_EQ(channels[1]["script"], "-- \"quoted\" \t and caf\u00e9\nfunction GetValue() return 3 end\n");
  EXPECT_EQ(channels[1]["window"], nlohmann::json::array({-5, 2, 300, 400}));
  EXPECT_EQ(channels[2]["publicCall"], nlohmann::json::parse(R"({"channel": "Target", "pool": "Elsewhere",
      "file": "other.cgr", "requested": 2, "autoLoad": false, "dynamicAutoLoad": 1})"));
  EXPECT_EQ(channels[3]["interface"], 3);
  EXPECT_EQ(doc["group"]["parameters"][1]["name"], "Gain");
  EXPECT_EQ(doc["group"]["start"], 1);
  EXPECT_EQ(doc["group"]["pool"], "Trip");
}

// A file with a hole keeps its slot numbers in the inspection; the rebuilt
// group has no hole and its links and start channel still find their channels.
TEST_F(BuildTools, InspectedGroupWithAHoleLinksByIndex) {
  const std::string holed = dir_.File("holed.cgr"), inspected = dir_.File("holed.json"), rebuilt = dir_.File("rebuilt.cgr");
  {
    testsupport::StartedEngine engine(testsupport::BuildEngineDir());
    Tvk_ChannelGroup* group = engine->CreateNewGroup("Holed", false, -1);
    Tvk_Channel* gone = engine->InitChannelFromType(kValueChannelType, group, true);
    Tvk_Channel* kept = engine->InitChannelFromType(kValueChannelType, group, true);
    Tvk_Channel* driver = engine->InitChannelFromType(kLuaScriptType, group, true);
    ASSERT_TRUE(gone && kept && driver);
    kept->SetChannelName("Kept");
    driver->SetChannelName("Driver");
    ASSERT_NE(driver->SetChild(kept, -1, 0), -1);
    group->SetStartChannel(driver->GetChannelIDIndexNr());
    ASSERT_TRUE(group->RemoveChannel(gone));
    ASSERT_TRUE(group->SaveChannelGroup(holed.c_str()));
  }
  const ToolRun view = Run(VARNEL_INSPECT_PATH, {"--json", holed});
  ASSERT_EQ(view.status, 0) << view.err;
  ASSERT_EQ(nlohmann::json::parse(view.out)["group"]["holes"], 1);
  WriteText(inspected, view.out);
  const ToolRun build = Run(VARNEL_BUILD_TOOL_PATH, {inspected, "-o", rebuilt});
  ASSERT_EQ(build.status, 0) << build.err;

  testsupport::StartedEngine engine(testsupport::BuildEngineDir());
  Tvk_ChannelGroup* group = engine->CreateNewGroup("Loaded", false, -1);
  ASSERT_TRUE(group->LoadChannelGroupFromFile(rebuilt.c_str(), false));
  ASSERT_EQ(group->GetChannelCount(), 2);
  Tvk_Channel* driver = group->GetChannel(group->GetStartChannel());
  ASSERT_NE(driver, nullptr);
  EXPECT_STREQ(driver->GetChannelName(), "Driver");
  ASSERT_NE(driver->GetChild(0), nullptr);
  EXPECT_STREQ(driver->GetChild(0)->GetChannelName(), "Kept");
}

TEST_F(BuildTools, PackedGroupRunsInTheViewer) {
  const std::string group = BuildCountingGroup();
  const std::string package = dir_.File("counting.vnl"), csv = dir_.File("counter.csv");
  const ToolRun pack = Run(VARNEL_PACK_TOOL_PATH, {"--start", group, "-o", package, "--min-engine", "54", "--needs",
                                                   "2B7D40C9-E15A-4F63-9C2E-58A1D3F07B64:0,54,0"});
  ASSERT_EQ(pack.status, 0) << pack.err;
  // The start group is named relative to the package's directory.
  EXPECT_EQ(ReadText(package).substr(0, 21), std::string("VSGR\x0d\0\0\0counting.cgr\0", 21));

  const ToolRun view = Run(VARNEL_VIEWER_PATH, {package, "--frames", "8", "--watch", "Counter", "--csv", csv});
  ASSERT_EQ(view.status, 0) << view.err;
  const auto rows = CsvRows(ReadText(csv));
  ASSERT_EQ(rows.size(), 9u) << ReadText(csv);
  for (std::size_t frame = 1; frame < rows.size(); ++frame) {
    ASSERT_EQ(rows[frame].size(), 3u);
    EXPECT_DOUBLE_EQ(std::stod(rows[frame][2]), 2.0 * static_cast<double>(frame));
  }
}

// The demo project the build made: its script swings "Position" along the
// damped wave frame by frame.
TEST_F(BuildTools, DemoProjectOfTheBuildPlaysItsWave) {
  const std::string csv = dir_.File("position.csv");
  const ToolRun view = Run(VARNEL_VIEWER_PATH, {VARNEL_DEMO_PACKAGE, "--frames", "40", "--watch", "Position", "--csv", csv});
  ASSERT_EQ(view.status, 0) << view.err;
  const auto rows = CsvRows(ReadText(csv));
  ASSERT_EQ(rows.size(), 41u) << ReadText(csv);
  for (std::size_t frame = 1; frame < rows.size(); ++frame) {
    ASSERT_EQ(rows[frame].size(), 3u);
    const double f = static_cast<double>(frame);
    EXPECT_NEAR(std::stod(rows[frame][2]), 100 * std::exp(-f / 80) * std::sin(f / 6), 1e-3) << "frame " << frame;
  }
}

// The tags of a package in file order, each with its block; lone tags get an
// empty block. Only the tags the packer writes alone are known lone.
std::vector<std::pair<std::string, std::string>> Tags(const std::string& bytes) {
  std::vector<std::pair<std::string, std::string>> tags;
  std::size_t at = 0;
  std::string pendingTag;
  while (at + 4 <= bytes.size()) {
    const std::string tag = bytes.substr(at, 4);
    at += 4;
    if (tag == "VFKR") {
      tags.push_back({tag, std::string()});
      continue;
    }
    if (at + 4 > bytes.size()) break;
    std::uint32_t size = 0;
    for (int i = 3; i >= 0; --i) size = size * 256 + static_cast<unsigned char>(bytes[at + i]);
    at += 4;
    if (size > bytes.size() - at) break;
    tags.push_back({tag, bytes.substr(at, size)});
    at += size;
    // "VNDB" carries a second block, the lowest versions.
    if (tag == "VNDB" && at + 4 <= bytes.size()) {
      std::uint32_t second = 0;
      for (int i = 3; i >= 0; --i) second = second * 256 + static_cast<unsigned char>(bytes[at + i]);
      at += 4;
      if (second > bytes.size() - at) break;
      tags.push_back({"(versions)", bytes.substr(at, second)});
      at += second;
    }
  }
  EXPECT_EQ(at, bytes.size()) << "the package ends inside a block";
  return tags;
}

std::string Int32(std::int32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

TEST_F(BuildTools, PackCarriesPluginsAndLibrariesInTheirEntries) {
  const std::string group = BuildCountingGroup(), package = dir_.File("sub/carrying.vnl");
  std::filesystem::create_directories(dir_.Path() / "sub");
  const std::string plugin = dir_.File("extra.dll"), library = dir_.File("libextra.so");
  WriteText(plugin, std::string("plug\0in", 7));
  WriteText(library, "lib");
  const ToolRun pack = Run(VARNEL_PACK_TOOL_PATH,
                           {"--start", group, "-o", package, "--keep-running", "--needs",
                            "91C5F2E8-3A07-4B6D-8E19-C4B27A05D6E3:1,54,2", "--carry",
                            "91C5F2E8-3A07-4B6D-8E19-C4B27A05D6E3:" + plugin, "--library", library});
  ASSERT_EQ(pack.status, 0) << pack.err;
  const GUID value = kValueChannelType;
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"VSGR", std::string("..\\counting.cgr\0", 16)},
      {"VFKR", ""},
      {"VDDC", Int32(1)},
      {"VNDB", std::string(reinterpret_cast<const char*>(&value), sizeof value)},
      {"(versions)", Int32(1) + Int32(54) + Int32(2)},
      {"VCAN", std::string("extra.dll\0", 10)},
      {"VCAS", Int32(7)},
      {"VCAF", std::string("plug\0in", 7)},
      {"VDGC", Int32(1)},
      {"VDDF", std::string("libextra.so\0", 12)},
      {"VDLN", std::string("libextra.so\0", 12)},
      {"VDLS", Int32(3)},
      {"VDLF", "lib"},
  };
  EXPECT_EQ(Tags(ReadText(package)), expected);
}

TEST_F(BuildTools, PackRefusesBadArgumentsAndLeavesNoPackage) {
  const std::string group = BuildCountingGroup(), package = dir_.File("bad.vnl");
  const std::vector<std::vector<std::string>> cases = {
      {"-o", package},
      {"--start", group},
      {"--start", group, "-o", package, "--needs", "not-a-guid"},
      {"--start", group, "-o", package, "--needs", "2B7D40C9-E15A-4F63-9C2E-58A1D3F07B64:1,2"},
      {"--start", group, "-o", package, "--carry", "2B7D40C9-E15A-4F63-9C2E-58A1D3F07B64:" + dir_.File("absent.dll")},
      {"--start", group, "-o", package, "--library", dir_.File("absent.so")},
      {"--start", group, "-o", package, "--min-engine", "many"},
      {"--start", dir_.File("absent.cgr"), "-o", package},
  };
  for (const auto& args : cases) {
    const ToolRun run = Run(VARNEL_PACK_TOOL_PATH, args);
    EXPECT_NE(run.status, 0) << args.back();
    EXPECT_NE(run.err.find("varnel-pack: "), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(package)) << args.back();
  }
}

}  // namespace

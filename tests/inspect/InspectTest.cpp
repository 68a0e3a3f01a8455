#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "EngineInterface.h"
#include "TestSupport.h"
#include "TvkFile.h"
#include "Tvk_ChannelGroup.h"
#include "Tvo_FloatChannel.h"
#include "Tvo_Lua.h"

namespace {

using testsupport::ReadText;
using testsupport::ToolRun;

// The channels of the saved group, as the test made them.
struct SavedGroup {
  std::string path;
  int driver = -1, speed = -1, height = -1;
};

class Inspect : public ::testing::Test {
 protected:
  // Runs the inspector against the build's engine directory.
  ToolRun Run(const std::vector<std::string>& args) { return testsupport::RunTool(VARNEL_INSPECT_PATH, args, dir_); }

  // A script "Driver" linked to the value channels "Speed" and "Height".
  SavedGroup SaveGroup() {
    SavedGroup saved{dir_.File("driver.cgr")};
    testsupport::StartedEngine engine(testsupport::BuildEngineDir());
    Tvk_ChannelGroup* group = engine->CreateNewGroup("Driving", false, -1);
    auto* speed = engine->InitChannelFromType(kValueChannelType, group, true);
    auto* height = engine->InitChannelFromType(kValueChannelType, group, true);
    auto* driver = engine->InitChannelFromType(kLuaScriptType, group, true);
    EXPECT_TRUE(speed && height && driver);
    if (!speed || !height || !driver) return saved;
    speed->SetChannelName("Speed");
    height->SetChannelName("Height");
    driver->SetChannelName("Driver");
    EXPECT_NE(driver->SetChild(speed, -1, 0), -1);
    EXPECT_NE(driver->SetChild(height, -1, 0), -1);
    saved.driver = driver->GetChannelIDIndexNr();
    saved.speed = speed->GetChannelIDIndexNr();
    saved.height = height->GetChannelIDIndexNr();
    EXPECT_TRUE(group->SaveChannelGroup(saved.path.c_str()));
    return saved;
  }

  testsupport::ScopedSettingsRoot settings_;
  testsupport::TempDir dir_;
};

const nlohmann::json* ChannelNamed(const nlohmann::json& doc, const std::string& name) {
  for (const auto& channel : doc["group"]["channels"])
    if (channel["name"] == name) return &channel;
  return nullptr;
}

TEST_F(Inspect, ShowsTheTagsAndTheChannelTableOfASavedGroup) {
  const SavedGroup saved = SaveGroup();
  const ToolRun run = Run({saved.path});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("channel group"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("TVKG  (lone)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("CHNA  7         \"Driver\""), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Lua Script"), std::string::npos) << "types are named from channels.lst\n" << run.out;
  // The driver's row lists its two links by index.
  std::istringstream lines(run.out);
  bool driverRow = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.find("Driver ") == std::string::npos || line.find("CHNA") != std::string::npos) continue;
    driverRow = true;
    const std::string links = std::to_string(saved.speed) + "," + std::to_string(saved.height);
    EXPECT_EQ(line.substr(line.size() - links.size()), links) << line;
  }
  EXPECT_TRUE(driverRow) << run.out;
}

TEST_F(Inspect, JsonParsesBackAndDescribesTheChannels) {
  const SavedGroup saved = SaveGroup();
  const ToolRun run = Run({"--json", saved.path});
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json doc = nlohmann::json::parse(run.out);
  EXPECT_EQ(doc["kind"], "channel group");
  EXPECT_TRUE(doc["error"].is_null());
  EXPECT_EQ(doc["items"][0]["tag"], "TVKG");
  EXPECT_TRUE(doc["items"][0]["lone"].get<bool>());
  ASSERT_EQ(doc["group"]["channels"].size(), 3u);
  struct Expected {
    const char* name;
    int index;
    GUID type;
    std::vector<int> links;
  };
  const Expected expected[] = {{"Speed", saved.speed, kValueChannelType, {}},
                               {"Height", saved.height, kValueChannelType, {}},
                               {"Driver", saved.driver, kLuaScriptType, {saved.speed, saved.height}}};
  for (const Expected& e : expected) {
    const nlohmann::json* channel = ChannelNamed(doc, e.name);
    ASSERT_NE(channel, nullptr) << e.name;
    EXPECT_EQ((*channel)["index"], e.index);
    EXPECT_EQ((*channel)["type"], GuidText(e.type));
    EXPECT_TRUE((*channel)["typeName"].is_string()) << e.name;
    std::vector<int> links;
    for (const auto& link : (*channel)["links"]) links.push_back(link["child"]);
    EXPECT_EQ(links, e.links) << e.name;
  }
  EXPECT_EQ((*ChannelNamed(doc, "Driver"))["typeName"], "Lua Script");
}

TEST_F(Inspect, DotDrawsTheLinksAsEdges) {
  const SavedGroup saved = SaveGroup();
  const ToolRun run = Run({"--dot", saved.path});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("digraph", 0), 0u) << run.out;
  for (int child : {saved.speed, saved.height}) {
    const std::string edge = "c" + std::to_string(saved.driver) + " -> c" + std::to_string(child);
    EXPECT_NE(run.out.find(edge), std::string::npos) << edge << "\n" << run.out;
  }
  EXPECT_NE(run.out.find("label=\"" + std::to_string(saved.driver) + ": Driver\\nLua Script\""), std::string::npos)
      << run.out;
}

// Cut anywhere, a file is described up to the cut and refused with a clear
// message; nothing past the end is read.
TEST_F(Inspect, ADamagedFileIsReportedNotRead) {
  const std::string whole = ReadText(SaveGroup().path);
  ASSERT_GT(whole.size(), 100u);
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {"cut in the middle", whole.substr(0, whole.size() / 2), "the file is truncated"},
      {"last byte missing", whole.substr(0, whole.size() - 1), "claims"},
      {"cut inside a size", whole.substr(0, 4 + 4 + 4 + 16 + 4 + 2), "has no complete block size"},
      {"cut inside a tag", whole.substr(0, 2), "do not start with a tag"},
      {"not tagged at all", "hello, this is text\n", "do not start with a tag"},
      {"size far beyond the end", std::string("TVKGCHCO\xff\xff\xff\x7f", 12), "claims 2147483647 bytes"},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File("damaged.cgr");
    std::ofstream(path, std::ios::binary) << c.bytes;
    for (const char* format : {"--json", "--text"}) {
      const ToolRun run = Run(std::string(format) == "--json" ? std::vector<std::string>{format, path}
                                                                  : std::vector<std::string>{path});
      EXPECT_EQ(run.status, 2) << c.what << "\n" << run.err;
      EXPECT_NE(run.err.find(c.message), std::string::npos) << c.what << "\n" << run.err;
      if (std::string(format) == "--json") {
        const nlohmann::json doc = nlohmann::json::parse(run.out, nullptr, false);
        ASSERT_FALSE(doc.is_discarded()) << c.what << "\n" << run.out;
        EXPECT_TRUE(doc["error"].is_string()) << c.what;
      }
    }
  }
  const ToolRun missing = Run({dir_.File("absent.cgr")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot open"), std::string::npos) << missing.err;
}

// A stream with the records the engine's own save seldom produces: a hole, a
// slot that repeats the type before it, a public call whose lone "CHES"
// marker and "CHES" block share a tag, and plug-in data after the record
// that contains link tags.
TEST_F(Inspect, ReadsSlotsTheWayTheLoaderDoes) {
  const std::string path = dir_.File("crafted.cgr");
  {
    testsupport::StartedEngine engine(testsupport::BuildEngineDir());
    TvkFileSaver saver(engine.Get());
    ASSERT_TRUE(saver.OpenSaveFile(path.c_str(), false));
    auto int32 = [&](const char* tag, std::int32_t value) { saver.SaveBlock(tag, &value, sizeof value); };
    auto text = [&](const char* tag, const std::string& value) {
      saver.SaveBlock(tag, value.c_str(), static_cast<std::uint32_t>(value.size() + 1));
    };
    const char one = 1;
    saver.SaveTag("TVKG");
    int32("CHCO", 4);
    int32("CHIX", 0);
    saver.SaveBlock("CHID", &kValueChannelType, sizeof(GUID));
    saver.SaveBlock("CHIC", &one, 1);
    text("CHNA", "First");
    int32("CHIT", 0);
    int32("CHLC", 1);
    int32("CHLI", 3);
    int32("CHUL", 0);
    int32("CHRP", 0);
    saver.SaveBlock("CHUP", &one, 1);
    int32("CHLI", 2);  // plug-in data that only looks like a link
    int32("CHIX", -1);
    int32("CHIX", 2);  // no "CHID": the type of the slot before
    text("CHNA", "Second");
    int32("CHLC", 0);
    int32("CHIX", 3);
    saver.SaveBlock("CHID", &kLuaScriptType, sizeof(GUID));
    saver.SaveTag("CHES");
    text("CHNA", "Caller");
    int32("CHIT", 2);
    std::vector<char> publicCall(696, 0);
    std::memcpy(publicCall.data(), "Target", 6);
    std::memcpy(publicCall.data() + 80, "Elsewhere", 9);
    saver.SaveBlock("CHES", publicCall.data(), static_cast<std::uint32_t>(publicCall.size()));
    int32("CHLC", 0);
    int32("CHSC", 3);
    text("CINA", "No Name Instance");
    ASSERT_TRUE(saver.CloseSaveFile());
  }
  const ToolRun run = Run({"--json", path});
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json doc = nlohmann::json::parse(run.out);
  const nlohmann::json& group = doc["group"];
  EXPECT_EQ(group["slotCount"], 4);
  EXPECT_EQ(group["holes"], 1);
  EXPECT_EQ(group["start"], 3);
  EXPECT_EQ(group["pool"], "No Name Instance");
  EXPECT_TRUE(group["problems"].empty()) << group["problems"];
  ASSERT_EQ(group["channels"].size(), 3u);
  const nlohmann::json& first = group["channels"][0];
  ASSERT_EQ(first["links"].size(), 1u) << first;
  EXPECT_EQ(first["links"][0]["child"], 3);
  EXPECT_EQ(group["channels"][1]["type"], GuidText(kValueChannelType));
  const nlohmann::json& caller = group["channels"][2];
  EXPECT_TRUE(caller["baseRecordOnly"].get<bool>());
  EXPECT_EQ(caller["interfaceName"], "public call");
  EXPECT_EQ(caller["publicCall"]["channel"], "Target");
  EXPECT_EQ(caller["publicCall"]["pool"], "Elsewhere");
  std::vector<std::size_t> chesBlocks;
  for (const auto& item : doc["items"])
    if (item["tag"] == "CHES") chesBlocks.push_back(item["blockSizes"].size() == 1 ? item["blockSizes"][0].get<std::size_t>() : 0);
  EXPECT_EQ(chesBlocks, (std::vector<std::size_t>{0, 696}));
}

// Package markers stand alone and a needed-channel entry carries two blocks;
// reading either wrongly would misalign every item after it.
TEST_F(Inspect, APackageShowsItsMarkersAndTwoBlockEntries) {
  const std::string path = dir_.File("project.vnl");
  {
    testsupport::StartedEngine engine(testsupport::BuildEngineDir());
    TvkFileSaver saver(engine.Get());
    ASSERT_TRUE(saver.OpenSaveFile(path.c_str(), false));
    auto int32 = [&](const char* tag, std::int32_t value) { saver.SaveBlock(tag, &value, sizeof value); };
    saver.SaveBlock("VSGR", "start.cgr", 10);
    int32("VMEV", 54);
    saver.SaveTag("VFKR");
    int32("VDDC", 2);
    const std::int32_t versions[3] = {1, 54, 1};
    saver.SaveBlock("VNDB", &kLuaScriptType, sizeof(GUID));
    saver.SaveBlockSize(sizeof versions);
    saver.SaveDataToFile(versions, sizeof versions);
    saver.SaveTag("VFDB");
    int32("VDGC", 1);
    saver.SaveTag("VDFF");
    ASSERT_TRUE(saver.CloseSaveFile());
  }
  const ToolRun run = Run({"--json", path});
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json doc = nlohmann::json::parse(run.out);
  EXPECT_EQ(doc["kind"], "project package");
  std::vector<std::string> tags;
  for (const auto& item : doc["items"]) tags.push_back(item["tag"].get<std::string>() + "/" + std::to_string(item["blockSizes"].size()));
  EXPECT_EQ(tags, (std::vector<std::string>{"VSGR/1", "VMEV/1", "VFKR/0", "VDDC/1", "VNDB/2", "VFDB/0", "VDGC/1", "VDFF/0"}));
}

TEST_F(Inspect, RefusesBadOptionsAndDotForOtherFiles) {
  const std::vector<std::string> bad[] = {{}, {"--nope", "x.cgr"}, {"a.cgr", "b.cgr"}, {"--dot", "--json", "x.cgr"}};
  for (const auto& args : bad) EXPECT_EQ(Run(args).status, 64) << (args.empty() ? "" : args.front());
  const ToolRun list = Run({"--dot", testsupport::BuildEngineDir() + "/channels.lst"});
  EXPECT_EQ(list.status, 3);
  const ToolRun text = Run({testsupport::BuildEngineDir() + "/channels.lst"});
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("channel list"), std::string::npos);
}

}  // namespace

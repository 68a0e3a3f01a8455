// Creating channels by type: one probe and one load for good per type, the
// refusals of unusable plug-ins, and what a plug-in's constructor may rely on.

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "ChannelList.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "PluginLoadingSupport.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace pluginloading {
namespace {

using testplugin::kLeafType;
using testsupport::StartedEngine;

// How many libraries an engine on this install holds at release when it creates
// nothing: the sibling plug-ins the channel list used. The start also leaves a
// warm "channels.lst" behind.
int LibrariesOfAnIdleStart(const PluginInstall& install) {
  StartedEngine idle(install.Dir());
  return ReleaseAndCountLibraries(idle);
}

TEST(ChannelCreation, TwoChannelsOfATypeCostOneProbeAndOneLoadForGood) {
  PluginInstall install({"Leaf.dll"});
  ProbeLog log;
  const int idleLibraries = LibrariesOfAnIdleStart(install);
  log.Clear();

  StartedEngine engine(install.Dir());
  Tvk_ChannelGroup* group = engine->CreateNewGroup("Leaves", false, 0);
  Tvk_Channel* first = engine->InitChannelFromType(kLeafType, group, false);
  Tvk_Channel* second = engine->InitChannelFromType(kLeafType, group, false);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);

  EXPECT_EQ(log.Count("load Leaf"), 2) << "the probe and the load for good";
  EXPECT_EQ(log.Count("unload Leaf"), 1) << "only the probe unloads";
  EXPECT_EQ(log.Count("InitDLL Leaf"), 2);
  EXPECT_EQ(first->GetDllInstance(), second->GetDllInstance());
  EXPECT_EQ(ReleaseAndCountLibraries(engine), idleLibraries + 1);
}

TEST(ChannelCreation, PluginConstructorsSeeTheEngineThatCreatesTheChannel) {
  PluginInstall install({"Leaf.dll"});
  ProbeLog log;
  StartedEngine engine(install.Dir());
  Tvk_ChannelGroup* group = engine->CreateNewGroup("Leaves", false, 0);
  Tvk_Channel* channel = engine->InitChannelFromType(kLeafType, group, false);
  ASSERT_NE(channel, nullptr);

  EXPECT_EQ(log.Events({"construct"}), std::vector<std::string>{"construct Leaf engine=" + PointerText(engine.Get())});
  EXPECT_EQ(channel->GetEngineInterface(), engine.Get());
  EXPECT_EQ(globalEngine, engine.Get());
  EXPECT_EQ(globalDllInstance, channel->GetDllInstance());
  EXPECT_EQ(channel->GetChannelGroup(), group);
}

TEST(ChannelCreation, CreatingFromTheSameFileTwiceRecordsTheLibraryTwice) {
  PluginInstall install({"Leaf.dll"});
  const int idleLibraries = LibrariesOfAnIdleStart(install);
  StartedEngine engine(install.Dir());
  Tvk_ChannelGroup* group = engine->CreateNewGroup("Leaves", false, 0);
  const std::string file = install.ChannelFile("Leaf.dll");
  ASSERT_NE(engine->engineInterfaceExt->CreateChannelFromDLL(file.c_str(), group, false), nullptr);
  ASSERT_NE(engine->engineInterfaceExt->CreateChannelFromDLL(file.c_str(), group, false), nullptr);
  EXPECT_EQ(ReleaseAndCountLibraries(engine), idleLibraries + 2);
}

// Types the channel list names but whose plug-ins turn out unusable on first use.
struct Refusal {
  const char* file;
  GUID cachedType;
  std::vector<std::string> messages;
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.file; }

class RefusedType : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedType, ComplainsOnceThenAnswersNullSilently) {
  const Refusal& refusal = GetParam();
  PluginInstall install({refusal.file});
  // The cache was written when the file still held a usable build of the type.
  WriteFile(install.ListFile(), ListFileBytes(kEngineVersion, {{TestRecord("Cached", refusal.cachedType), refusal.file}}));
  ProbeLog log;
  StartedEngine engine(install.Dir());
  engine.sink.Clear();

  EXPECT_EQ(engine->InitChannelFromType(refusal.cachedType, nullptr, true), nullptr);
  EXPECT_EQ(Errors(engine), refusal.messages);

  engine.sink.Clear();
  log.Clear();
  EXPECT_EQ(engine->InitChannelFromType(refusal.cachedType, nullptr, true), nullptr);
  EXPECT_TRUE(engine.sink.Messages().empty());
  EXPECT_TRUE(log.Lines().empty()) << "a failed type is not probed again";
}

INSTANTIATE_TEST_SUITE_P(
    UnusablePlugins, RefusedType,
    ::testing::Values(Refusal{"Version53.dll",
                              testplugin::kVersion53Type,
                              {"Channel not compatible with current version:  Version53",
                               "Engine version of channel is:  53"}},
                      Refusal{"NoGetType.dll", testplugin::TestType(40), {}},
                      Refusal{"NotALibrary.dll",
                              testplugin::TestType(41),
                              {"GetLastError: " + std::to_string(ENOEXEC),
                               "Couldn't find or load a dll:  NotALibrary.dll"}}),
    [](const auto& info) {
      std::string name = info.param.file;
      return name.substr(0, name.find('.'));
    });

TEST(ChannelCreation, AnUnknownTypeGivesNullWithoutAMessage) {
  PluginInstall install({"Leaf.dll"});
  StartedEngine engine(install.Dir());
  engine.sink.Clear();
  EXPECT_EQ(engine->InitChannelFromType(testplugin::kMissingType, nullptr, true), nullptr);
  EXPECT_TRUE(engine.sink.Messages().empty());

  const ChannelType unknown = engine->engineInterfaceExt->GetChannelList()->GetChannelType(testplugin::kMissingType);
  EXPECT_STREQ(unknown.name, "Unknown type");
  EXPECT_EQ(unknown.guid, kZeroGuid);
  EXPECT_EQ(unknown.baseGuid, kZeroGuid);
  EXPECT_EQ(unknown.versionInfo[0], 1);
  EXPECT_EQ(unknown.versionInfo[1], kEngineVersion);
  EXPECT_EQ(unknown.versionInfo[2], 1);
  EXPECT_EQ(unknown.userValue1, 0);
  EXPECT_EQ(unknown.userValue2, 0);
}

TEST(ChannelCreation, AnInitDllThatMakesNothingCreatesNothing) {
  PluginInstall install({"NullInit.dll"});
  ProbeLog log;
  StartedEngine engine(install.Dir());
  Tvk_ChannelGroup* group = engine->CreateNewGroup("Nothing", false, 0);
  engine.sink.Clear();
  EXPECT_EQ(engine->InitChannelFromType(testplugin::kNullInitType, group, true), nullptr);
  EXPECT_EQ(log.Count("InitDLL NullInit"), 1);
  EXPECT_EQ(group->GetChannelCount(), 0);
  EXPECT_TRUE(Errors(engine).empty());
}

TEST(ChannelCreation, AFileWithoutInitDllGivesNullButStaysLoadedUntilRelease) {
  PluginInstall install({"NoInitDLL.dll"});
  const int idleLibraries = LibrariesOfAnIdleStart(install);
  ProbeLog log;
  StartedEngine engine(install.Dir());
  engine.sink.Clear();

  const std::string file = install.ChannelFile("NoInitDLL.dll");
  EXPECT_EQ(engine->engineInterfaceExt->GetDLLInstance(file.c_str()), nullptr);
  EXPECT_EQ(Errors(engine),
            std::vector<std::string>{"Engine::GetDLLInstance: Couldn't find external function InitDLL() in dll:"});
  EXPECT_EQ(log.Lines(), std::vector<std::string>{"load NoInitDLL"});

  EXPECT_EQ(ReleaseAndCountLibraries(engine), idleLibraries + 1);
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"load NoInitDLL", "unload NoInitDLL"}));
}

TEST(ChannelCreation, GetDllInstanceMakesAnObjectOfTheFileAndNothingElse) {
  PluginInstall install({"Leaf.dll"});
  ProbeLog log;
  StartedEngine engine(install.Dir());
  const std::string file = install.ChannelFile("Leaf.dll");
  auto* channel = static_cast<Tvk_Channel*>(engine->engineInterfaceExt->GetDLLInstance(file.c_str()));
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(channel->GetEngineInterface(), engine.Get());
  EXPECT_EQ(channel->GetChannelGroup(), nullptr);
  EXPECT_TRUE(log.Events({"OneTimeInitialize"}).empty()) << "the caller initialises it if it wants";
  delete channel;  // the caller owns it; its code goes with the engine's release
}

TEST(ChannelCreation, ALoadedPluginsRecordComesFromItsModule) {
  PluginInstall install({"Leaf.dll", "NoGetType.dll"});
  StartedEngine engine(install.Dir());
  EngineInterfaceExt* ext = engine->engineInterfaceExt;
  auto* leaf = static_cast<Tvk_Channel*>(ext->GetDLLInstance(install.ChannelFile("Leaf.dll").c_str()));
  auto* noType = static_cast<Tvk_Channel*>(ext->GetDLLInstance(install.ChannelFile("NoGetType.dll").c_str()));
  ASSERT_NE(leaf, nullptr);
  ASSERT_NE(noType, nullptr);

  EXPECT_STREQ(ext->GetDLLType(leaf->GetDllInstance()).name, "Leaf");
  EXPECT_EQ(ext->GetDLLType(leaf->GetDllInstance()).guid, kLeafType);
  const ChannelType defaults = ext->GetDLLType(noType->GetDllInstance());
  EXPECT_EQ(defaults.guid, kZeroGuid);
  EXPECT_EQ(defaults.versionInfo[1], kEngineVersion);
  EXPECT_EQ(ext->GetDLLType(static_cast<HINSTANCE>(nullptr)).guid, kZeroGuid);
  delete leaf;
  delete noType;
}

}  // namespace
}  // namespace pluginloading

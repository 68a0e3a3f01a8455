// "channels.lst": written at release, read at the next start so that only files
// it does not name are probed.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ChannelList.h"
#include "DirectoryChannel.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "FileChannels.h"
#include "PluginLoadingSupport.h"
#include "Tvk_ChannelGroup.h"

namespace pluginloading {
namespace {

namespace fs = std::filesystem;
using Files = std::vector<std::string>;
using testsupport::StartedEngine;

bool SameRecord(const ChannelType& a, const ChannelType& b) { return std::memcmp(&a, &b, sizeof(ChannelType)) == 0; }

Files FilesOf(const std::vector<ListEntry>& entries) {
  Files files;
  for (const ListEntry& entry : entries) files.push_back(entry.fileName);
  return files;
}

const ListEntry* EntryFor(const std::vector<ListEntry>& entries, const std::string& file) {
  for (const ListEntry& entry : entries) {
    if (entry.fileName == file) return &entry;
  }
  return nullptr;
}

TEST(ChannelListCache, AFirstStartProbesEveryPluginAndWritesTheListAWarmStartProbesNothing) {
  PluginInstall install({"Leaf.dll", "Child.dll"});
  const Files listed = {"Child.dll", "Directory.dll", "Leaf.dll", "tagreader.dll", "tagwriter.dll"};
  ProbeLog log;
  {
    StartedEngine cold(install.Dir());
    EXPECT_EQ(ListedFiles(cold.Get()), listed);
    EXPECT_EQ(log.Lines(), (Files{"load Child", "GetType Child", "unload Child",  //
                                  "load Leaf", "GetType Leaf", "unload Leaf"}));
    EXPECT_TRUE(Errors(cold).empty());
    EXPECT_FALSE(fs::exists(install.ListFile())) << "the list is written at release";
  }

  const std::string bytes = ReadFile(install.ListFile());
  EXPECT_EQ(bytes.size(), 2 * 12 + listed.size() * (8 + 132 + 8 + 260));
  const auto written = ReadListFile(install.ListFile());
  ASSERT_TRUE(written) << "\"CHEV\" 54, \"C1CC\" N, N pairs of \"CHTY\" and \"C1FN\", nothing after";
  EXPECT_EQ(FilesOf(*written), listed);
  EXPECT_TRUE(SameRecord(EntryFor(*written, "Leaf.dll")->type, TestRecord("Leaf", testplugin::kLeafType)));
  EXPECT_TRUE(SameRecord(EntryFor(*written, "Child.dll")->type, TestRecord("Child", testplugin::kChildType)));
  EXPECT_EQ(EntryFor(*written, "tagreader.dll")->type.guid, kFileLoaderType);
  EXPECT_EQ(EntryFor(*written, "tagwriter.dll")->type.guid, kFileSaverType);
  EXPECT_EQ(EntryFor(*written, "Directory.dll")->type.guid, kDirectoryType);

  log.Clear();
  StartedEngine warm(install.Dir());
  EXPECT_TRUE(log.Lines().empty()) << "a warm start loads no plug-in library for probing";
  EXPECT_EQ(ListedFiles(warm.Get()), listed);
  EXPECT_TRUE(Errors(warm).empty());
}

TEST(ChannelListCache, ADeletedPluginIsDroppedAndANewOneIsAppendedAfterTheCachedOnes) {
  PluginInstall install({"Leaf.dll", "Parent.dll"});
  { StartedEngine first(install.Dir()); }
  install.RemovePlugin("Parent.dll");
  install.AddTestPlugin("Child.dll");  // lists before every cached name
  const Files listed = {"Directory.dll", "Leaf.dll", "tagreader.dll", "tagwriter.dll", "Child.dll"};

  ProbeLog log;
  {
    StartedEngine second(install.Dir());
    EXPECT_EQ(ListedFiles(second.Get()), listed);
    EXPECT_EQ(log.Events({"load"}), Files{"load Child"});
  }
  const auto written = ReadListFile(install.ListFile());
  ASSERT_TRUE(written);
  EXPECT_EQ(FilesOf(*written), listed);
}

TEST(ChannelListCache, UnusableFilesGetNoEntryAndAreProbedAgainAtEveryStart) {
  PluginInstall install({"Leaf.dll", "NoGetType.dll", "NotALibrary.dll", "Version53.dll"});
  const Files complaints = {
      "Error loading file NoGetType.dll",
      "GetLastError: " + std::to_string(ENOEXEC),
      "Couldn't find or load a dll:  NotALibrary.dll",
      "Error loading file NotALibrary.dll",
      "Channel not compatible with current version:  Version53",
      "Engine version of channel is:  53",
      "Error loading file Version53.dll",
  };
  const Files listed = {"Directory.dll", "Leaf.dll", "tagreader.dll", "tagwriter.dll"};
  for (int start = 1; start <= 2; ++start) {
    SCOPED_TRACE(start);
    StartedEngine engine(install.Dir());
    EXPECT_EQ(Errors(engine), complaints);
    EXPECT_EQ(ListedFiles(engine.Get()), listed);
  }
  const auto written = ReadListFile(install.ListFile());
  ASSERT_TRUE(written);
  EXPECT_EQ(FilesOf(*written), listed);
}

TEST(ChannelListCache, CreatingAChannelRefreshesACachedRecordWhoseVersionsChanged) {
  PluginInstall install({"Updated.dll", "Leaf.dll"});
  // Cached when Updated.dll still reported 1, 54, 1; the Leaf record has the
  // plug-in's versions but another name, which shows whether it was replaced.
  WriteFile(install.ListFile(),
            ListFileBytes(kEngineVersion, {{TestRecord("Updated before", testplugin::kUpdatedType), "Updated.dll"},
                                           {TestRecord("Leaf as cached", testplugin::kLeafType), "Leaf.dll"}}));
  {
    StartedEngine engine(install.Dir());
    ChannelList* list = engine->engineInterfaceExt->GetChannelList();
    Tvk_ChannelGroup* group = engine->CreateNewGroup("Versions", false, 0);
    ASSERT_NE(engine->InitChannelFromType(testplugin::kUpdatedType, group, false), nullptr);
    ASSERT_NE(engine->InitChannelFromType(testplugin::kLeafType, group, false), nullptr);

    EXPECT_TRUE(SameRecord(list->GetChannelType(testplugin::kUpdatedType),
                           TestRecord("Updated", testplugin::kUpdatedType, testplugin::kUpdatedType, 2)));
    EXPECT_STREQ(list->GetChannelType(testplugin::kLeafType).name, "Leaf as cached");
  }
  const auto written = ReadListFile(install.ListFile());
  ASSERT_TRUE(written);
  EXPECT_EQ(EntryFor(*written, "Updated.dll")->type.versionInfo[2], 2);
  EXPECT_STREQ(EntryFor(*written, "Leaf.dll")->type.name, "Leaf as cached");
}

// An engine started the way the editor starts it: by its class name.
class StartedEditor {
 public:
  explicit StartedEditor(const std::string& installDir) {
    engine_.engineInterfaceExt->SetInstallDir(installDir.c_str());
    engine_.engineInterfaceExt->SetVarnelRegKey("Software\\Varnel\\Tests");
    engine_.engineInterfaceExt->InitEngine(nullptr, "Varnel Editor");
  }
  ~StartedEditor() { engine_.engineInterfaceExt->Release(); }
  EngineInterface* Get() { return &engine_; }

 private:
  testsupport::ScopedSettingsRoot settings_;
  testsupport::RecordingSink sink_;
  EngineInterface engine_;
};

TEST(ChannelListCache, TheEditorAlsoListsTheSecondExtensionAndOnlyOnce) {
  PluginInstall install({"Leaf.dll"});
  install.AddTestPlugin("Child.dll", "Tools.dle");
  {
    StartedEngine viewer(install.Dir());
    EXPECT_EQ(ListedFiles(viewer.Get()), (Files{"Directory.dll", "Leaf.dll", "tagreader.dll", "tagwriter.dll"}));
  }
  for (int start = 1; start <= 2; ++start) {
    SCOPED_TRACE(start);
    StartedEditor editor(install.Dir());
    EXPECT_EQ(ListedFiles(editor.Get()),
              (Files{"Directory.dll", "Leaf.dll", "tagreader.dll", "tagwriter.dll", "Tools.dle"}));
  }
}

}  // namespace
}  // namespace pluginloading

// The sibling plug-ins as the engine sees them: their type records, and an
// install directory holding them, where the engine finds the loader and saver
// by type and keeps its channel list with them.

#include <cstring>
#include <filesystem>
#include <string>

#include "ChannelList.h"
#include "SiblingPlugins.h"
#include "TvkFile.h"

namespace siblingtest {
namespace {

namespace fs = std::filesystem;

const struct {
  const char* file;
  const char* name;
  GUID type;
} kSiblings[] = {
    {"tagreader.dll", "File Loader", kFileLoaderType},
    {"tagwriter.dll", "File Saver", kFileSaverType},
    {"Directory.dll", "Directory", kDirectoryType},
};

TEST(SiblingPlugins, TypeRecordsNameTheirOwnTypeForThisEngineVersion) {
  testsupport::StartedEngine engine;
  for (const auto& sibling : kSiblings) {
    SCOPED_TRACE(sibling.file);
    HINSTANCE library = platform::LoadLibraryFile(PluginPath(sibling.file).c_str());
    ASSERT_NE(library, nullptr) << platform::LastLibraryErrorText();
    const ChannelType type = engine->engineInterfaceExt->GetDLLType(library);
    platform::UnloadLibrary(library);
    EXPECT_STREQ(type.name, sibling.name);
    EXPECT_EQ(type.guid, sibling.type);
    EXPECT_EQ(type.baseGuid, sibling.type);
    EXPECT_EQ(type.versionInfo[0], 1);
    EXPECT_EQ(type.versionInfo[1], kEngineVersion);
    EXPECT_EQ(type.versionInfo[2], 1);

    auto channel = LoadPlugin<Tvk_Channel>(engine.Get(), sibling.file);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->GetChannelType().guid, sibling.type);
  }
}

TEST(SiblingPlugins, AnEngineFindsThemByTypeAndKeepsItsChannelListWithThem) {
  testsupport::TempInstallDir install;
  for (const auto& sibling : kSiblings) {
    fs::copy_file(PluginPath(sibling.file), install.Path() / "channels" / sibling.file);
  }
  const std::string listFile = (install.Path() / "channels.lst").string();
  {
    testsupport::StartedEngine engine(install.Path().string());
    TvkFileSaver saver(engine.Get());
    TvkFileLoader loader(engine.Get());
    ASSERT_TRUE(saver.HasSaverChannel());
    ASSERT_TRUE(loader.HasLoaderChannel());
    const char text[] = "through the engine's wrappers";
    saver.OpenMemory();
    saver.SaveBlock("TEXT", text, sizeof text);
    loader.SetBuffer(saver.GetBuffer(), static_cast<int>(saver.GetBufferSize()), true);
    ASSERT_TRUE(loader.GetInfoIfTag("TEXT"));
    char read[sizeof text] = {};
    EXPECT_TRUE(loader.CopyTagDataToPointer(read, sizeof read));
    EXPECT_STREQ(read, text);
    EXPECT_TRUE(engine.sink.TextsOfType(kMessageError).empty());
  }
  ASSERT_TRUE(fs::exists(listFile)) << "the channel list is written through the file saver";

  testsupport::StartedEngine engine(install.Path().string());
  auto loader = LoadPlugin<Tvo_FileLoaderChannel>(engine.Get(), kFileLoaderFileName);
  ASSERT_NE(loader, nullptr);
  ASSERT_TRUE(loader->LoadFile(listFile.c_str()));
  std::int32_t version = 0;
  std::int32_t count = 0;
  ASSERT_TRUE(loader->GetInfoIfTag("CHEV"));
  loader->CopyTagDataToPointer(&version);
  ASSERT_TRUE(loader->GetInfoIfTag("C1CC"));
  loader->CopyTagDataToPointer(&count);
  EXPECT_EQ(version, kEngineVersion);
  EXPECT_EQ(count, 3);
  ChannelListItem* saverItem = engine->engineInterfaceExt->GetChannelList()->GetItem(kFileSaverType);
  ASSERT_NE(saverItem, nullptr) << "the list read back names the saver";
  EXPECT_STREQ(saverItem->fileName, "tagwriter.dll");
}

}  // namespace
}  // namespace siblingtest

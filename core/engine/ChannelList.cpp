// The channel list cache: which plug-in file offers which channel type,
// remembered in "channels.lst" between runs so a normal start probes nothing.

#include "ChannelList.h"

#include <cstring>

#include "BoundedText.h"
#include "DirectoryChannel.h"
#include "EngineControl.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "FileChannels.h"
#include "Platform.h"
#include "Tvk_Channel.h"

namespace {

constexpr std::uint32_t kTypeRecordSize = sizeof(ChannelType);
constexpr std::uint32_t kFileNameFieldSize = 260;
constexpr int kPathMaxChars = 258;

// Install directory + suffix, cut like every path of the engine.
void InstallPath(char (&out)[260], EngineInterface* engine, const char* suffix) {
  CopyText(out, engine->GetInstallDir(), kPathMaxChars);
  AppendText(out, suffix, kPathMaxChars);
}

// A plug-in is named by its bare file name; anything else in the cache could
// make the engine load a library from elsewhere.
bool IsBarePluginName(const char* name) {
  if (!name[0]) return false;
  if (std::strchr(name, '\\') || std::strchr(name, '/')) return false;
  return std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
}

// Reads a block only when the stored size is exactly the field's (or at most
// it, with `upToSize`) and the whole block is there: a cut file reads as cut.
bool ReadFixedBlock(Tvo_FileLoaderChannel* loader, const char* tag, void* field, std::uint32_t size,
                    bool upToSize = false) {
  if (!loader->GetInfoIfTag(tag)) return false;
  const std::uint32_t stored = loader->GetSizeDataBlock(false);
  if (upToSize ? stored > size : stored != size) return false;
  if (!loader->GetTagData()) return false;
  loader->CopyTagDataToPointer(field);
  return true;
}

// One entry: a whole "CHTY" record followed by a whole "C1FN" name. Reading
// stops at the first entry that is not, since nothing after it can be trusted
// to start where it seems to.
bool ReadEntry(Tvo_FileLoaderChannel* loader, ChannelListItem* item) {
  if (!ReadFixedBlock(loader, "CHTY", &item->type, kTypeRecordSize)) return false;
  if (!ReadFixedBlock(loader, "C1FN", item->fileName, kFileNameFieldSize, true)) return false;
  item->type.name[sizeof(item->type.name) - 1] = '\0';
  item->fileName[kFileNameFieldSize - 1] = '\0';
  return true;
}

// Whether the channels folder holds a plain file of this bare name.
bool IsPluginFile(EngineInterface* engine, const char* name) {
  if (!IsBarePluginName(name)) return false;
  char pluginFile[260];
  InstallPath(pluginFile, engine, "\\channels\\");
  AppendText(pluginFile, name, kPathMaxChars);
  return platform::FileExists(pluginFile);
}

ChannelListItem* NewItem() {
  auto* item = new ChannelListItem();
  std::memset(static_cast<void*>(&item->type), 0, sizeof(item->type));  // not the defaults: nothing read yet
  std::memset(item->fileName, 0, sizeof(item->fileName));
  return item;
}

template <typename Channel>
Channel* CreateFromFile(EngineInterface* engine, const char* file) {
  DllInterface* object = engine->engineInterfaceExt->GetDLLInstance(file);
  return object ? static_cast<Channel*>(static_cast<Tvk_Channel*>(object)) : nullptr;
}

}  // namespace

ChannelList::ChannelList(EngineInterface* engine) : channelDir_{}, engineInterface_(engine) {}

ChannelList::~ChannelList() {
  SaveChannelList();
  Release();
  items_.ReleaseItems();
}

bool ChannelList::CreateChannelList() {
  LoadChannelList();
  InstallPath(channelDir_, engineInterface_, "\\channels");
  AddDirectory(channelDir_, -1);
  if (!engineControlHosted) SortChannelList();
  return true;
}

bool ChannelList::LoadChannelList() {
  char loaderFile[260];
  InstallPath(loaderFile, engineInterface_, "\\channels\\");
  AppendText(loaderFile, kFileLoaderFileName, kPathMaxChars);
  auto* loader = CreateFromFile<Tvo_FileLoaderChannel>(engineInterface_, loaderFile);
  if (!loader) return false;

  char listFile[260];
  InstallPath(listFile, engineInterface_, "\\channels.lst");
  std::int32_t version = 0;
  std::int32_t count = 0;
  if (loader->LoadFile(listFile) && ReadFixedBlock(loader, "CHEV", &version, 4) && version == kEngineVersion) {
    ReadFixedBlock(loader, "C1CC", &count, 4);
    // The entries end where their tags do: a count larger than the file is cut.
    for (std::int32_t i = 0; i < count; ++i) {
      ChannelListItem* item = NewItem();
      if (!ReadEntry(loader, item)) {
        delete item;
        break;
      }
      // A cached entry stands in for probing its file, so it is kept only when
      // it could have come from a probe: a type GUID, the bare name of a file of
      // the channels folder, and no entry before it for that file. The scan
      // probes the file of every dropped entry again.
      if (!IsZeroGuid(item->type.guid) && !Named(item->fileName) && IsPluginFile(engineInterface_, item->fileName)) {
        items_.AddItemOrNULL(item);
      } else {
        delete item;
      }
    }
  }
  delete loader;
  return true;
}

void ChannelList::AddDirectory(char* directory, int) {
  char listingFile[260];
  InstallPath(listingFile, engineInterface_, "\\channels\\");
  AppendText(listingFile, kDirectoryFileName, kPathMaxChars);

  const bool editorMode = std::strcmp(engineInterface_->GetEngineClassName(), "Varnel Editor") == 0;
  for (const char* extension : {"DLL", "DLE"}) {
    if (std::strcmp(extension, "DLE") == 0 && !editorMode) break;
    auto* listing = CreateFromFile<Tvo_DirectoryChannel>(engineInterface_, listingFile);
    if (!listing) return;
    char pattern[300];
    CopyText(pattern, directory, 290);
    AppendText(pattern, "\\*.*", 298);
    listing->SetExtensionFilter(extension);
    listing->SetSearchPattern(pattern);
    for (int i = 0; i < listing->GetFileCount(); ++i) {
      const char* name = listing->GetFileName(i);
      if (!name || Named(name)) continue;
      ChannelType type = engineInterface_->engineInterfaceExt->GetDLLType(name);
      if (IsZeroGuid(type.guid)) {
        engineInterface_->showErrorMessage("Error loading file", name);
        continue;
      }
      ChannelListItem* item = NewItem();
      item->type = type;
      CopyText(item->fileName, name, kPathMaxChars);
      items_.AddItem(item);
    }
    delete listing;
  }
}

bool ChannelList::Named(const char* fileName) {
  for (int i = 0; i < items_.GetItemCount(); ++i) {
    auto* item = static_cast<ChannelListItem*>(items_.GetItem(i));
    if (item && TextEqualsSameFirstChar(item->fileName, fileName)) return true;
  }
  return false;
}

bool ChannelList::SaveChannelList() {
  // A list that was never built would replace the cache of the last run with
  // nothing.
  if (!channelDir_[0]) return false;
  Tvk_Channel* channel = engineInterface_->InitChannelFromType(kFileSaverType, nullptr, false);
  if (!channel) return false;
  auto* saver = static_cast<Tvo_FileSaverChannel*>(channel);

  char listFile[260];
  InstallPath(listFile, engineInterface_, "\\channels.lst");
  saver->OpenSaveFile(listFile, false);
  auto writeBlock = [saver](const char* tag, const void* data, std::uint32_t size) {
    saver->SaveTag(tag);
    saver->SaveBlockSize(size);
    saver->SaveDataToFile(data, size);
  };
  const std::int32_t version = kEngineVersion;
  const std::int32_t count = items_.GetItemCount();
  writeBlock("CHEV", &version, 4);
  writeBlock("C1CC", &count, 4);
  for (int i = 0; i < count; ++i) {
    auto* item = static_cast<ChannelListItem*>(items_.GetItem(i));
    writeBlock("CHTY", &item->type, kTypeRecordSize);
    writeBlock("C1FN", item->fileName, kFileNameFieldSize);
  }
  saver->CloseSaveFile();
  delete saver;
  return true;
}

void ChannelList::SortChannelList() {}

void ChannelList::Release() {
  for (int i = 0; i < items_.GetItemCount(); ++i) delete static_cast<ChannelListItem*>(items_.GetItem(i));
  items_.ClearItems();
}

ChannelListItem* ChannelList::GetItem(GUID type) {
  for (int i = 0; i < items_.GetItemCount(); ++i) {
    auto* item = static_cast<ChannelListItem*>(items_.GetItem(i));
    if (item && item->type.guid == type) return item;
  }
  return nullptr;
}

ChannelListItem* ChannelList::GetItem(int index) { return static_cast<ChannelListItem*>(items_.GetItem(index)); }

int ChannelList::GetItemCount() { return items_.GetItemCount(); }

ChannelType ChannelList::GetChannelType(GUID type) {
  if (ChannelListItem* item = GetItem(type)) return item->type;
  ChannelType unknown;
  CopyText(unknown.name, "Unknown type", sizeof(unknown.name) - 1);
  return unknown;
}

void ChannelList::SetChannelDir(char* directory) {
  if (directory) CopyText(channelDir_, directory, kPathMaxChars);
}

void ChannelList::CheckChannelUpdate(Tvk_Channel* channel) {
  if (!channel) return;
  const ChannelType type = channel->GetChannelType();
  if (IsZeroGuid(type.guid)) return;
  for (int i = 0; i < items_.GetItemCount(); ++i) {
    auto* item = static_cast<ChannelListItem*>(items_.GetItem(i));
    if (!item || item->type.guid != type.guid || item->type.baseGuid != type.baseGuid) continue;
    if (std::memcmp(item->type.versionInfo, type.versionInfo, sizeof(type.versionInfo)) == 0) continue;
    item->type = engineInterface_->engineInterfaceExt->GetDLLType(channel->GetDllInstance());
  }
}

void ChannelList::SetVersionInfo(GUID type, int versions[3]) {
  ChannelListItem* item = GetItem(type);
  if (!item || !versions) return;
  for (int i = 0; i < 3; ++i) item->type.versionInfo[i] = versions[i];
}

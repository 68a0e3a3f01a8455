// Saving and loading a group as a tagged channel group file: "TVKG", the group
// GUID, the slot count, one slot per channel index (a hole is a lone index of
// -1), then the start channel, the parameter interface and the pool name.
// Links inside the records are channel indices; they are made only after the
// last slot, when every channel exists.
//
// Files are untrusted: every block is checked against the data that remains
// before it is used, fixed fields are filled only from blocks of their size,
// and no count or index read from a file allocates more than the file itself
// could describe.

#include <cstdint>
#include <cstring>
#include <typeinfo>
#include <vector>

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "TvkFile.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "internal/GroupRecords.h"
#include "internal/RequestLinking.h"

namespace {

// ---- the texts of the group file --------------------------------------------------------

constexpr const char* kReadOnlyWarning =
    "This channel group was loaded as a read-only file. The program will try to save it, but this might fail: ";
constexpr const char* kCouldNotCreate = "Couldn't create channel group file: ";
constexpr const char* kCouldNotLoadFile = "The following channel group file could not be loaded: ";
constexpr const char* kNotAGroup =
    "The selected file is not a channel group. Most channel group files have the \".cgr\" extension. It could also "
    "be that the file is corrupt.";
constexpr const char* kFailedBufferSize = "Failed loading channel group, buffersize: ";
constexpr const char* kNoItemCount = "Tvk_ChannelGroup::LoadChannelGroup: No itemcount";
constexpr const char* kNoIndexHeader = "Tvk_ChannelGroup::LoadChannelGroup: Couldn't find channel index header";
constexpr const char* kLoaderFile = "Loader file : ";
constexpr const char* kNoChannelDll = "Tvk_ChannelGroup::LoadChannelGroup: Couldn't find channel DLL!";
constexpr const char* kCouldNotLoadChannel = "Tvk_ChannelGroup::LoadChannelGroup: Couldn't load channel";
constexpr const char* kBackwardCompatible =
    "Varnel is backward compatible, this means that it can't load files that have been created with newer versions "
    "of Varnel.";
constexpr const char* kChannelNotInstalled =
    "A channel (component) is used in this channel group that is not installed in your version. It could be "
    "created in a newer version of Varnel or with a different set of components installed. Please contact the "
    "creator of the channel group and ask him about his Varnel version.";
constexpr const char* kChangeChannelFailed = "Error change channel can't be initialized";
constexpr const char* kNoPoolName = "No Name Instance";
constexpr const char* kParameterHoleName = "NoInterface";

constexpr std::uint32_t kInt32Bytes = 4;
constexpr std::uint32_t kGuidBytes = sizeof(GUID);
constexpr std::uint32_t kParameterEntryBytes = sizeof(ParameterInterfaceInfo);
// The smallest slot a file can hold: "CHIX", its size and the index.
constexpr int kSmallestSlotBytes = 4 + 4 + 4;

// ---- writing ----------------------------------------------------------------------------

void SaveInt32(TvkFileSaver& saver, const char* tag, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  const unsigned char bytes[kInt32Bytes] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                                            static_cast<unsigned char>(bits >> 16),
                                            static_cast<unsigned char>(bits >> 24)};
  saver.SaveBlock(tag, bytes, kInt32Bytes);
}

// GUIDs are stored in their platform layout, which is little-endian here.
void SaveGuid(TvkFileSaver& saver, const char* tag, const GUID& guid) { saver.SaveBlock(tag, &guid, kGuidBytes); }

void SaveText(TvkFileSaver& saver, const char* tag, const char* text) {
  saver.SaveBlock(tag, text, static_cast<std::uint32_t>(std::strlen(text) + 1));
}

// A public call or parameter channel is written as the base record alone,
// behind the "CHES" marker: its plug-in's own data means nothing while it
// stands for another channel.
void SaveSlotRecord(TvkFileSaver& saver, Tvk_Channel* channel) {
  const int type = channel->GetChannelInterfaceType();
  if (type == TVO_PUBLICCALL || type == TVO_PARAMETER) {
    saver.SaveTag("CHES");
    channel->Tvk_Channel::SaveChannel(saver);
  } else {
    channel->SaveChannel(saver);
  }
}

// The bytes after a name's terminator are whatever an earlier, longer name
// left; the file gets a clean copy.
ParameterInterfaceInfo FileParameterEntry(const ParameterInterfaceInfo* entry) {
  ParameterInterfaceInfo out{};
  out.typeGuid = entry != nullptr ? entry->typeGuid : kZeroGuid;
  CopyText(out.name, entry != nullptr ? entry->name : kParameterHoleName, kParameterNameMaxChars);
  return out;
}

// ---- reading ----------------------------------------------------------------------------

// A 32-bit block of exactly four bytes. A block of another size is stepped
// over when it lies inside the data, so the stream stays in step; the value
// is then left as it was.
bool ReadInt32Block(TvkFileLoader& loader, std::int32_t& value) {
  unsigned char bytes[kInt32Bytes];
  if (loader.GetSizeDataBlock(false) == kInt32Bytes && loader.CopyTagDataToPointer(bytes, kInt32Bytes)) {
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                                      static_cast<std::uint32_t>(bytes[2]) << 16 |
                                      static_cast<std::uint32_t>(bytes[3]) << 24);
    return true;
  }
  loader.SkipDataBlock();
  return false;
}

bool ReadGuidBlock(TvkFileLoader& loader, GUID& value) {
  GUID read;
  if (loader.GetSizeDataBlock(false) == kGuidBytes && loader.CopyTagDataToPointer(&read, kGuidBytes)) {
    value = read;
    return true;
  }
  loader.SkipDataBlock();
  return false;
}

// Whether the tag is next and its 32-bit block was read.
bool ReadInt32Tag(TvkFileLoader& loader, const char* tag, std::int32_t& value) {
  return loader.GetInfoIfTag(tag) && ReadInt32Block(loader, value);
}

void ReadOptionalGuid(TvkFileLoader& loader, const char* tag, GUID& value) {
  if (loader.GetInfoIfTag(tag)) ReadGuidBlock(loader, value);
}

// Content of other writers that this system does not use.
void SkipOptionalBlock(TvkFileLoader& loader, const char* tag) {
  if (loader.GetInfoIfTag(tag)) loader.SkipDataBlock();
}

// A text block, terminated here whether or not the file terminated it; false
// when the block does not lie inside the data.
bool ReadTextBlock(TvkFileLoader& loader, std::vector<char>& text) {
  if (!loader.GetIfBlockInsideData()) return false;
  const std::uint32_t size = loader.GetSizeDataBlock(false);
  text.assign(static_cast<std::size_t>(size) + 1, '\0');
  return loader.CopyTagDataToPointer(text.data(), size);
}

// Where a stored index may put a channel: an existing slot, or one the file
// could plausibly have described, a slot taking at least kSmallestSlotBytes.
// An index beyond that would only make the slot list allocate without need.
int SlotIndexLimit(TvkFileLoader& loader, int currentSlots) {
  const int fileSlots = loader.GetBufferSize() / kSmallestSlotBytes + 1;
  return currentSlots > fileSlots ? currentSlots : fileSlots;
}

}  // namespace

// ---- saving -------------------------------------------------------------------------------

// The saver replaces the file only when the stream is complete, so a save that
// fails at any point leaves the previous file as it was; the group then keeps
// the file name it had.
bool Tvk_ChannelGroup::SaveChannelGroup(const char* fileName) {
  TvkFileSaver saver(engine_);
  if (readOnly_ && engine_ != nullptr) engine_->showUserWarningMessage(kReadOnlyWarning, fileName);
  if (!saver.OpenSaveFile(fileName, false)) {
    if (engine_ != nullptr) engine_->showErrorMessage(kCouldNotCreate, fileName);
    return false;
  }
  // Records compute relative paths against the group's file, so the new name
  // is in place while they are written.
  Tvk_String previousName;
  previousName.SetString(fileName_.GetString());
  fileName_.SetString(fileName);
  const bool written = SaveChannelGroup(saver);
  if (!saver.CloseSaveFile()) {
    fileName_.SetString(previousName.GetString());
    if (engine_ != nullptr) engine_->showErrorMessage(kCouldNotCreate, fileName);
    return false;
  }
  return written;
}

bool Tvk_ChannelGroup::SaveChannelGroup(TvkFileSaver& saver) {
  saver.SaveTag("TVKG");
  SaveGuid(saver, "CGGG", uniqueGroupGuid_);
  const int slotCount = channels_.GetItemCount();
  SaveInt32(saver, "CHCO", slotCount);

  for (int i = 0; i < slotCount; ++i) {
    Tvk_Channel* channel = GetChannel(i);
    if (channel == nullptr) {
      SaveInt32(saver, "CHIX", -1);
      continue;
    }
    SaveInt32(saver, "CHIX", channel->GetChannelIDIndexNr());
    ChannelType type = channel->GetChannelType();

    // The slot may be written as a default channel of another type; the
    // group's own channel stays as it is.
    Tvk_Channel* replacement = nullptr;
    if (i == typeChangeSaveIndex_ && engine_ != nullptr) {
      replacement = engine_->InitChannelFromType(typeChangeSaveGuid_, nullptr, false);
      if (replacement != nullptr) {
        channel = replacement;
        type = replacement->GetChannelType();
      } else {
        engine_->showMessageBox(kChangeChannelFailed);
      }
    }
    SaveGuid(saver, "CHID", type.guid);
    SaveSlotRecord(saver, channel);
    delete replacement;
  }

  SaveInt32(saver, "CHSC", startChannel_);
  const int parameterCount = parameterInfos_.GetItemCount();
  SaveInt32(saver, "CGIC", parameterCount);
  saver.SaveTag("CGII");
  saver.SaveBlockSize(static_cast<std::uint32_t>(parameterCount) * kParameterEntryBytes);
  for (int j = 0; j < parameterCount; ++j) {
    const ParameterInterfaceInfo entry =
        FileParameterEntry(static_cast<const ParameterInterfaceInfo*>(parameterInfos_.GetItem(j)));
    saver.SaveDataToFile(&entry, kParameterEntryBytes);
  }
  const char* poolName = poolName_.GetString();
  SaveText(saver, "CINA", poolName != nullptr ? poolName : kNoPoolName);
  return true;
}

// ---- loading ------------------------------------------------------------------------------

bool Tvk_ChannelGroup::LoadChannelGroupFromFile(const char* fileName, bool asPoolInstance) {
  if (fileName == nullptr) return false;
  TvkFileLoader loader(engine_);
  if (!loader.LoadFile(fileName)) {
    if (engine_ != nullptr) engine_->showUserErrorMessage(kCouldNotLoadFile, fileName);
    return false;
  }
  fileName_.SetString(fileName);
  return LoadChannelGroup(loader, asPoolInstance);
}

// The caller's memory is read in place; it stays valid for the whole load.
bool Tvk_ChannelGroup::LoadChannelGroupFromBuffer(const char* fileName, int size, char* data, bool asPoolInstance) {
  if (fileName == nullptr) return false;
  TvkFileLoader loader(engine_);
  loader.SetBuffer(data, size, false);
  fileName_.SetString(fileName);
  return LoadChannelGroup(loader, asPoolInstance);
}

namespace {

// What a load reports; every text goes through the group's engine, and a
// group without one stays silent.
class LoadReport {
 public:
  explicit LoadReport(EngineInterface* engine) : engine_(engine) {}

  bool NotAGroup(int bufferSize) {
    if (engine_ == nullptr) return false;
    engine_->showUserErrorMessage(kNotAGroup);
    engine_->showErrorMessage(kFailedBufferSize, bufferSize);
    return false;
  }
  bool NoItemCount() {
    if (engine_ != nullptr) engine_->showErrorMessage(kNoItemCount);
    return false;
  }
  bool NoIndexHeader(const GUID& lastType, const char* fileName) {
    if (engine_ == nullptr) return false;
    engine_->showUserErrorMessage(kNotAGroup);
    engine_->showErrorMessage(kNoIndexHeader);
    engine_->showErrorMessage(lastType);
    engine_->showErrorMessage(kLoaderFile, fileName);
    return false;
  }
  // A channel that could not be made or read: most likely a file of a newer
  // installation.
  bool ChannelFailed(const char* text, const GUID& type) {
    if (engine_ == nullptr) return false;
    engine_->showUserInfoMessage(kBackwardCompatible);
    engine_->showUserErrorMessage(kChannelNotInstalled);
    engine_->showErrorMessage(text);
    engine_->showErrorMessage(type);
    return false;
  }

 private:
  EngineInterface* engine_;
};

}  // namespace

// Every failure leaves what was loaded so far in the group, for the caller to
// release.
bool Tvk_ChannelGroup::LoadChannelGroup(TvkFileLoader& loader, bool asPoolInstance) {
  LoadReport report(engine_);
  readOnly_ = (loader.GetAttributes() & 1u) != 0;
  Release();

  EngineInterfaceExt* ext = engine_ != nullptr ? engine_->engineInterfaceExt : nullptr;
  if (loader.CheckHeader("TRNF", false) && ext != nullptr) ext->TranslateFile(&loader);

  if (!loader.GetInfoIfTag("TVKG")) return report.NotAGroup(loader.GetBufferSize());
  ReadOptionalGuid(loader, "CGGG", uniqueGroupGuid_);
  SkipOptionalBlock(loader, "ENVR");

  std::int32_t slotCount = 0;
  if (!ReadInt32Tag(loader, "CHCO", slotCount) || slotCount < 0) return report.NoItemCount();

  GUID type = kZeroGuid;  // kept from slot to slot: a slot may omit "CHID"
  for (std::int32_t i = 0; i < slotCount; ++i) {
    std::int32_t index = 0;
    if (!loader.GotoTag("CHIX", 0) || !ReadInt32Block(loader, index)) {
      return report.NoIndexHeader(type, fileName_.GetString());
    }
    if (index == -1) {
      // An earlier slot may have stored its channel at this index; a hole
      // must not drop it.
      if (channels_.GetItem(i) == nullptr) channels_.SetItem(nullptr, i);
      continue;
    }
    // A negative index, one beyond anything the file could describe, or one
    // that already holds a channel would lose or overrun a channel.
    if (index < 0 || index >= SlotIndexLimit(loader, channels_.GetItemCount()) || channels_.GetItem(index) != nullptr) {
      return report.NoIndexHeader(type, fileName_.GetString());
    }

    if (loader.GetInfoIfTag("CHID")) {
      if (!ReadGuidBlock(loader, type)) type = kZeroGuid;
      SkipOptionalBlock(loader, "CHNM");
      SkipOptionalBlock(loader, "CHVE");
      SkipOptionalBlock(loader, "CHBG");
    }

    ChannelType record;
    record.guid = type;
    Tvk_Channel* channel =
        IsZeroGuid(type) || engine_ == nullptr ? nullptr : engine_->InitChannelFromType(record, nullptr, false);
    if (channel == nullptr) return report.ChannelFailed(kNoChannelDll, type);

    channelInternal.SetChannelIDIndexNr(channel, index);
    channels_.SetItem(channel, index);
    if (GetChannel(index) != channel) {
      // The slot list could not grow: the channel has no place in the group.
      delete channel;
      return report.ChannelFailed(kNoChannelDll, type);
    }
    channelInternal.SetChannelGroup(channel, this);

    const bool baseRecordOnly = loader.GetInfoIfTag("CHES");
    const bool read =
        baseRecordOnly ? channel->Tvk_Channel::LoadChannel(loader, this) : channel->LoadChannel(loader, this);
    if (!read) return report.ChannelFailed(kCouldNotLoadChannel, type);
  }

  // Every channel exists now: make the links the records asked for. A group
  // type of a plug-in may resolve requests its own way, index by index.
  if (typeid(*this) == typeid(Tvk_ChannelGroup)) {
    group_internal::LinkRequestsOfPresentChannels(*this, requests_, engine_);
  } else {
    for (int i = 0; i < channels_.GetItemCount(); ++i) {
      if (GetChannel(i) != nullptr) CheckRequestListForIndex(i);
    }
  }

  ReadInt32Tag(loader, "CHSC", startChannel_);
  std::int32_t parameterCount = 0;
  ReadInt32Tag(loader, "CGIC", parameterCount);
  if (loader.GetInfoIfTag("CGII") && loader.GetIfBlockInsideData()) {
    // The count is the file's word; the block decides how many entries exist.
    const std::uint32_t size = loader.GetSizeDataBlock(true);
    std::uint32_t entries = size / kParameterEntryBytes;
    if (parameterCount < 0) entries = 0;
    if (parameterCount >= 0 && static_cast<std::uint32_t>(parameterCount) < entries) entries = parameterCount;
    const char* data = loader.GetBuffer();
    for (std::uint32_t j = 0; j < entries; ++j) {
      ParameterInterfaceInfo entry;
      std::memcpy(&entry, data + static_cast<std::size_t>(j) * kParameterEntryBytes, kParameterEntryBytes);
      SetParameterInfo(entry, static_cast<int>(j));
    }
    loader.AddBufferPos(static_cast<int>(size));
  }

  std::vector<char> poolName;
  if (loader.GetInfoIfTag("CINA") && ReadTextBlock(loader, poolName) && asPoolInstance) {
    SetPoolName(poolName.data());
    poolNr_ = engine_ != nullptr ? engine_->GetHighInstance(poolName.data()) + 1 : 0;
  }
  ReadOptionalGuid(loader, "CGGG", uniqueGroupGuid_);
  loader.GetInfoIfTag("CBTD");

  group_internal::DeleteRequests(requests_);
  return true;
}

// The channel record: the state every channel has (name, interface type,
// public call or parameter data, public interface, links, pool names), written
// as a fixed series of tags. Plug-ins append their own tags after it. Links
// are stored as the child's index in the group and re-made only after the
// whole group is read, through the group's requests.

#include <cstdint>
#include <cstring>
#include <string>

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "ChannelPools.h"
#include "EngineInterface.h"
#include "FilePathFind.h"
#include "PublicCallInfo.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "Tvk_String.h"
#include "TvkFile.h"
#include "internal/ChannelMessages.h"
#include "internal/LittleEndian.h"
#include "internal/NodeLayout.h"
#include "internal/PublicCallCodec.h"
#include "internal/RecordReader.h"

using channel_record::BlockRead;
using channel_record::RecordReader;

namespace {

constexpr int kPublicCallFileMaxChars = 258;
// What a reader stores in place of a missing public call mode.
constexpr std::uint8_t kDefaultTreeCountMode = 1;

bool IsPublicType(int type) { return type == TVO_PUBLIC || type == TVO_PUBLICCUSTOMCHANNELGET; }
bool IsKnownType(std::int32_t type) { return type >= TVO_PRIVATE && type <= TVO_PUBLICCUSTOMCHANNELGET; }

// ---- writing ------------------------------------------------------------------------------

void SaveInt32(TvkFileSaver& saver, const char* tag, std::int32_t value) {
  unsigned char bytes[4];
  little_endian::PutI32(bytes, value);
  saver.SaveBlock(tag, bytes, sizeof bytes);
}

void SaveByte(TvkFileSaver& saver, const char* tag, std::uint8_t value) { saver.SaveBlock(tag, &value, 1); }

void SaveGuid(TvkFileSaver& saver, const char* tag, const GUID& guid) {
  unsigned char bytes[little_endian::kGuidSize];
  little_endian::PutGuid(bytes, guid);
  saver.SaveBlock(tag, bytes, sizeof bytes);
}

void SaveText(TvkFileSaver& saver, const char* tag, const char* text) {
  saver.SaveBlock(tag, text, static_cast<std::uint32_t>(std::strlen(text) + 1));
}

// An entry without text is kept as a lone tag, so the entry count still holds;
// a reader drops it.
void SaveNames(TvkFileSaver& saver, const Tvk_List& names, const char* countTag, const char* textTag,
               const char* emptyTag) {
  SaveInt32(saver, countTag, names.GetItemCount());
  for (int i = 0; i < names.GetItemCount(); ++i) {
    const Tvk_String* name = static_cast<const Tvk_String*>(names.GetItem(i));
    const char* text = name ? name->GetString() : nullptr;
    if (text && text[0] != '\0') {
      SaveText(saver, textTag, text);
    } else {
      saver.SaveTag(emptyTag);
    }
  }
}

// While a public call's links sit in the placeholder run, a link's place in the
// run is the link position it is meant for, and the run's own position node
// (the last node) is not written.
void SaveLinks(TvkFileSaver& saver, const Tvk_List& children, bool placeholderLinks) {
  int count = children.GetItemCount() - (placeholderLinks ? 1 : 0);
  if (count < 0) count = 0;
  SaveInt32(saver, "CHLC", count);
  for (int i = 0; i < count; ++i) {
    const ChildInfo* node = node_layout::NodeAt(children, i);
    if (!node) {
      SaveInt32(saver, "CHLI", -1);
    } else if (!node->channel) {
      SaveInt32(saver, "CHLI", -1);
      SaveInt32(saver, "CHUL", node->linkPosition);
    } else {
      SaveInt32(saver, "CHLI", node->channel->GetChannelIDIndexNr());
      SaveInt32(saver, "CHUL", placeholderLinks ? i : node->linkPosition);
      SaveInt32(saver, "CHRP", placeholderLinks ? 0 : node->targetIndex);
    }
  }
}

void SavePublicCall(TvkFileSaver& saver, const PublicCallInfo* info, std::uint8_t treeCountMode) {
  unsigned char bytes[public_call_codec::kEncodedSize];
  public_call_codec::Encode(info ? *info : PublicCallInfo(), bytes);
  saver.SaveBlock("CHES", bytes, sizeof bytes);
  SaveByte(saver, "CHTM", treeCountMode);
}

void SavePublicInterface(TvkFileSaver& saver, const PublicInterfaceInfo& interfaceInfo) {
  SaveGuid(saver, "CEPG", interfaceInfo.groupGuid);
  const Tvk_List& items = interfaceInfo.interfaceItems;
  SaveInt32(saver, "CHPC", items.GetItemCount());
  for (int j = 0; j < items.GetItemCount(); ++j)
    SaveInt32(saver, "CHPT", static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(items.GetItem(j))));
}

// The stored file name of an auto-loading public call follows the file of the
// group it resolves to, relative to the caller's own group file, so that a
// project folder can be moved as a whole. Without an own file there is nothing
// to be relative to: the complete name is kept.
void RelativiseFileName(PublicCallInfo& info, Tvk_Channel* target, Tvk_ChannelGroup* ownGroup,
                        EngineInterface* engine, HINSTANCE instance) {
  if (!info.autoLoadGroup && !info.dynamicAutoLoadGroup) return;
  Tvk_ChannelGroup* targetGroup = target ? target->GetChannelGroup() : nullptr;
  const char* targetFile = targetGroup ? targetGroup->GetChannelGroupFileName() : nullptr;
  if (!targetFile || targetFile[0] == '\0') return;
  const char* ownFile = ownGroup ? ownGroup->GetChannelGroupFileName() : nullptr;
  if (!ownFile || ownFile[0] == '\0') {
    CopyText(info.fileName, targetFile, kPublicCallFileMaxChars);
    return;
  }
  FilePathFind paths;
  paths.SetDllInterface(instance, engine);
  paths.SetSourcePath(ownFile);
  CopyText(info.fileName, paths.GetValidRelativeDir(targetFile), kPublicCallFileMaxChars);
}

// ---- reading ------------------------------------------------------------------------------

// Reads entries until `count` is reached or an entry is neither a text nor a
// lone empty tag (nothing later could be one either), so a count larger than
// the data never makes the loop run on.
void ReadNames(RecordReader& reader, std::int32_t count, const char* textTag, const char* emptyTag, Tvk_List& names) {
  for (std::int32_t e = 0; e < count; ++e) {
    std::string text;
    bool hasText = false;
    const BlockRead read = reader.Text(textTag, text, hasText, std::string::npos);
    if (read == BlockRead::kRead && hasText) {
      Tvk_String* name = new Tvk_String;
      name->SetString(text.c_str());
      if (names.AddItem(name) < 0) delete name;
    }
    const bool emptyEntry = reader.Marker(emptyTag);
    if ((read != BlockRead::kRead && !emptyEntry) || reader.Truncated()) return;
  }
}

// A record without "CHRP" came from a writer that stored only the link
// position: the target is counted back from the node's index. Wrapping keeps
// hostile values defined; a target outside the run is refused by SetChild.
std::int32_t TargetFromNodeIndex(std::int32_t index, std::int32_t linkPosition) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(index) - static_cast<std::uint32_t>(linkPosition));
}

}  // namespace

bool Tvk_Channel::SaveChannel(TvkFileSaver& saver) {
  if (interfaceType_ == TVO_PUBLICCALL && publicCallInfo_)
    RelativiseFileName(*publicCallInfo_, channelInternal.GetPublicChannelForPublicCall(this, false), channelGroup_,
                       engine_, dllInstance_);

  SaveByte(saver, "CHIC", ignoreTreeCount_ ? 1 : 0);
  SaveText(saver, "CHNA", channelName_ ? channelName_ : " ");
  SaveInt32(saver, "CHIT", interfaceType_);

  if (interfaceType_ == TVO_PUBLICCALL) {
    SavePublicCall(saver, publicCallInfo_, treeCountMode_);
  } else if (interfaceType_ == TVO_PARAMETER) {
    SaveInt32(saver, "CEXI", parameterInfo_ ? parameterInfo_->parameterNr : 0);
  } else if (IsPublicType(interfaceType_) && publicInterface_) {
    SavePublicInterface(saver, *publicInterface_);
  }

  SaveLinks(saver, children_, placeholderLinks_);
  SaveByte(saver, "CHUP", usePoolChannel_ ? 1 : 0);

  if (channelPoolInfo_) {
    SaveNames(saver, channelPoolInfo_->poolNames, "CHNC", "CHPN", "CHEN");
  } else if (poolNames_) {
    SaveNames(saver, *poolNames_, "CPNC", "CPNP", "CPEN");
  }
  return true;
}

bool Tvk_Channel::LoadChannel(TvkFileLoader& loader, Tvk_ChannelGroup* group) {
  delete publicCallInfo_;
  publicCallInfo_ = nullptr;
  delete parameterInfo_;
  parameterInfo_ = nullptr;

  if (!group) {
    channel_messages::Error(engine_, "Group is NULL");
    return false;
  }
  RecordReader reader(loader, engine_);

  std::uint8_t flag = 0;
  if (reader.Byte("CHIC", flag) == BlockRead::kRead) ignoreTreeCount_ = flag != 0;

  std::string name;
  bool hasName = false;
  if (reader.Text("CHNA", name, hasName, kChannelNameMaxChars) != BlockRead::kRead) {
    channel_messages::Error(engine_, "Couldn't find channel name header");
    return false;
  }
  if (hasName) SetChannelName(name.c_str());

  // Set directly: a record restores its type, it does not change it.
  std::int32_t type = 0;
  if (reader.Int32("CHIT", type) == BlockRead::kRead) {
    if (IsKnownType(type)) {
      interfaceType_ = type;
    } else if (engine_) {
      engine_->showErrorMessage("Tvk_Channel::LoadChannel: unknown interface type ignored:", type);
    }
  }

  if (interfaceType_ == TVO_PUBLICCALL) {
    channelInternal.ReleaseChilderen(this);
    placeholderLinks_ = false;
    publicCallInfo_ = new PublicCallInfo;
    delete interfaceTranslation_;
    interfaceTranslation_ = new Tvk_List;
    unsigned char bytes[public_call_codec::kEncodedSize];
    if (reader.Fixed("CHES", bytes, sizeof bytes) == BlockRead::kRead)
      *publicCallInfo_ = public_call_codec::Decode(bytes);
    std::uint8_t mode = kDefaultTreeCountMode;
    treeCountMode_ = reader.Byte("CHTM", mode) == BlockRead::kRead ? mode : kDefaultTreeCountMode;
  }

  if (interfaceType_ == TVO_PARAMETER) {
    channelInternal.ReleaseChilderen(this);
    placeholderLinks_ = false;
    parameterInfo_ = new ParameterInfo;
    std::int32_t parameterNr = 0;
    if (reader.Int32("CEXI", parameterNr) == BlockRead::kRead) parameterInfo_->parameterNr = parameterNr;
  }

  // An interface is valid only in the group it was made in; one read into
  // another group is read past and dropped. The record's items replace any the
  // channel had.
  GUID interfaceGuid = kZeroGuid;
  if (IsPublicType(interfaceType_) && reader.Guid("CEPG", interfaceGuid) == BlockRead::kRead) {
    const bool otherGroup = interfaceGuid != group->GetUniqueGroupGuid();
    if (otherGroup && engine_)
      engine_->showUserErrorMessage(
          "Public channel with interface loaded in different group. Discarding interface information.");
    if (!publicInterface_) publicInterface_ = new PublicInterfaceInfo;
    publicInterface_->groupGuid = interfaceGuid;
    publicInterface_->interfaceItems.ReleaseItems();
    std::int32_t itemCount = 0;
    reader.Int32("CHPC", itemCount);
    for (std::int32_t j = 0; j < itemCount; ++j) {
      std::int32_t item = 0;
      const BlockRead read = reader.Int32("CHPT", item);
      if (read == BlockRead::kMissing || read == BlockRead::kTruncated) break;
      if (read == BlockRead::kRead)
        publicInterface_->interfaceItems.SetItem(reinterpret_cast<void*>(static_cast<std::intptr_t>(item)), j);
    }
    if (otherGroup) {
      publicInterface_->interfaceItems.ReleaseItems();
      delete publicInterface_;
      publicInterface_ = nullptr;
    }
  }

  std::int32_t linkCount = 0;
  if (reader.Int32("CHLC", linkCount) != BlockRead::kRead) {
    channel_messages::Error(engine_, "Couldn't find channel linkcount header");
    return false;
  }
  // Every node holds at least a "CHLI" block, so the loop ends with the data.
  for (std::int32_t i = 0; i < linkCount; ++i) {
    std::int32_t childIndexNr = -1;
    if (reader.Int32("CHLI", childIndexNr) != BlockRead::kRead) {
      channel_messages::Error(engine_, "Couldn't find channel links header");
      if (engine_) engine_->showErrorMessage(static_cast<int>(linkCount));
      channel_messages::Error(engine_, channelName_ ? channelName_ : "");
      return false;
    }
    std::int32_t linkPosition = -1;
    std::int32_t target = -1;
    reader.Int32("CHUL", linkPosition);
    const bool hasTarget = reader.Int32("CHRP", target) == BlockRead::kRead;
    // A negative index names no channel, so it asks for nothing.
    if (childIndexNr < 0) continue;
    if (!hasTarget) target = TargetFromNodeIndex(i, linkPosition);
    group->AddChannelRequest(ChannelRequestInfo{childIndexNr, target, this, linkPosition});
    if (!linkRequests_) linkRequests_ = new Tvk_List;
    LinkRequest* request = new LinkRequest{childIndexNr, target};
    if (linkRequests_->AddItem(request) < 0) delete request;
  }

  std::uint8_t usePool = 0;
  if (reader.Byte("CHUP", usePool) == BlockRead::kRead) usePoolChannel_ = usePool != 0;

  std::int32_t poolPathCount = 0;
  if (reader.Int32("CHNC", poolPathCount) == BlockRead::kRead) {
    if (!channelPoolInfo_) channelPoolInfo_ = new ChannelPoolInfo;
    ReadNames(reader, poolPathCount, "CHPN", "CHEN", channelPoolInfo_->poolNames);
    channelPoolInfo_->timeStamp = 0;  // the pool channels are looked up again
  }

  std::int32_t membershipCount = 0;
  if (reader.Int32("CPNC", membershipCount) != BlockRead::kRead) return !reader.Truncated();
  if (!poolNames_) poolNames_ = new Tvk_List;
  // The names are kept; joining the pools they name is the pool registry's
  // CreatePoolItem(name, channel), which is not part of the engine yet, so the
  // channel joins no pool on load.
  ReadNames(reader, membershipCount, "CPNP", "CPEN", *poolNames_);
  return !reader.Truncated();
}

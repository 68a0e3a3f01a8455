#include "GroupModel.h"

#include <cstddef>
#include <cstring>

#include "Tvo_FloatChannel.h"
#include "Tvo_Lua.h"

namespace inspect {
namespace {

// The file form of a public call's record and the places of the fields the
// tool shows; the link position from offset 432 is left out.
constexpr std::uint32_t kPublicCallBytes = 696;
constexpr std::size_t kCallChannelName = 0, kCallPoolName = 80, kCallFileName = 160, kCallRequestedNr = 420,
                      kCallAutoLoad = 424, kCallDynamicAutoLoad = 428;
// A parameter entry: a 40-byte name, then the type GUID.
constexpr std::uint32_t kParameterBytes = 56;
constexpr std::size_t kParameterNameBytes = 40;

// A fixed text field; its last byte is room for the terminator, as the
// loader reads it.
std::string FieldText(const unsigned char* field, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(field);
  return std::string(text, strnlen(text, size - 1));
}

std::int32_t FieldInt(const unsigned char* field) { return static_cast<std::int32_t>(LittleEndian32(field)); }

PublicCall ReadPublicCall(const unsigned char* data) {
  PublicCall call;
  call.channelName = FieldText(data + kCallChannelName, kCallPoolName - kCallChannelName);
  call.poolName = FieldText(data + kCallPoolName, kCallFileName - kCallPoolName);
  call.fileName = FieldText(data + kCallFileName, kCallRequestedNr - kCallFileName);
  call.requestedNr = FieldInt(data + kCallRequestedNr);
  call.autoLoad = data[kCallAutoLoad] != 0;
  call.dynamicAutoLoad = FieldInt(data + kCallDynamicAutoLoad);
  return call;
}

// Tags the Lua and value plug-ins write after the base record. Only a
// block of the size the plug-in writes is read; anything else stays unread,
// as the plug-in itself would refuse it.
void ReadTypeData(const TagStream& stream, const TagItem& item, ChannelRecord& record) {
  if (item.Lone()) return;
  const Block& block = item.blocks[0];
  const unsigned char* data = stream.Data(block);
  if (record.typeGuid == kLuaScriptType) {
    if (item.tag == "LUSC") {
      record.script = stream.Text(item);
    } else if (item.tag == "LUWS" && block.size == 16) {
      record.window = std::array<std::int32_t, 4>{FieldInt(data), FieldInt(data + 4), FieldInt(data + 8),
                                                  FieldInt(data + 12)};
    }
  } else if (record.typeGuid == kValueChannelType && item.tag == "FLVA" && block.size == 4) {
    const std::uint32_t bits = LittleEndian32(data);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    record.value = value;
  }
}

const TagItem* FirstContentItem(const TagStream& stream) {
  for (const TagItem& item : stream.items)
    if (item.tag != "TRNF") return &item;
  return nullptr;
}

// Reads one slot's channel record from `at`, which follows its "CHIX", up to
// the next "CHIX". The record's own tags come first; tags a plug-in appends
// after them are passed over, so a plug-in's data cannot pose as links.
std::size_t ReadSlot(const TagStream& stream, std::size_t at, ChannelRecord& record, GroupModel& group) {
  const auto& items = stream.items;
  bool named = false, linksCounted = false, typeRead = false;
  int linksLeft = 0;
  for (; at < items.size() && items[at].tag != "CHIX"; ++at) {
    const TagItem& item = items[at];
    if (item.tag == "CHSC" || item.tag == "CGIC" || item.tag == "CGII" || item.tag == "CINA") break;
    if (!typeRead && !named && item.tag == "CHID") {
      if (const auto guid = stream.Guid(item)) record.typeGuid = *guid;
      record.typeRepeated = false;
      typeRead = true;
    } else if (!named && item.tag == "CHES" && item.Lone()) {
      record.baseRecordOnly = true;
    } else if (!named && item.tag == "CHNA") {
      record.name = stream.Text(item).value_or("");
      named = true;
    } else if (named && !linksCounted && item.tag == "CHIT") {
      record.interfaceType = stream.Int(item);
    } else if (named && !linksCounted && item.tag == "CHES" && !item.Lone() &&
               item.blocks[0].size == kPublicCallBytes) {
      record.publicCall = ReadPublicCall(stream.Data(item.blocks[0]));
    } else if (named && !linksCounted && item.tag == "CHLC") {
      linksLeft = stream.Int(item).value_or(0);
      linksCounted = true;
    } else if (linksLeft > 0 && item.tag == "CHLI") {
      --linksLeft;
      const int child = stream.Int(item).value_or(-1);
      Link link{child, std::nullopt, std::nullopt};
      if (at + 1 < items.size() && items[at + 1].tag == "CHUL") link.linkPosition = stream.Int(items[++at]);
      if (at + 1 < items.size() && items[at + 1].tag == "CHRP") link.target = stream.Int(items[++at]);
      if (child != -1) record.links.push_back(link);
    } else if (linksCounted && linksLeft == 0) {
      ReadTypeData(stream, item, record);
    }
  }
  if (!named)
    group.problems.push_back("channel " + std::to_string(record.index) + ": no \"CHNA\" name: the loader refuses it");
  if (named && !linksCounted)
    group.problems.push_back("channel " + std::to_string(record.index) + ": no \"CHLC\" link count: the loader refuses it");
  if (linksLeft > 0)
    group.problems.push_back("channel " + std::to_string(record.index) + ": " + std::to_string(linksLeft) +
                             " links announced by \"CHLC\" are missing");
  return at;
}

// As the loader reads them: the block decides how many entries exist, the
// count before it can only lower that number.
void ReadParameters(const TagStream& stream, const Block& block, std::optional<int> count, GroupModel& group) {
  const unsigned char* data = stream.Data(block);
  std::uint32_t entries = block.size / kParameterBytes;
  if (count && *count < 0) entries = 0;
  if (count && *count >= 0 && static_cast<std::uint32_t>(*count) < entries) entries = static_cast<std::uint32_t>(*count);
  for (std::uint32_t e = 0; e < entries; ++e) {
    const std::size_t at = static_cast<std::size_t>(e) * kParameterBytes;
    Parameter parameter;
    parameter.name = FieldText(data + at, kParameterNameBytes);
    std::memcpy(&parameter.typeGuid, data + at + kParameterNameBytes, sizeof(GUID));
    group.parameters.push_back(parameter);
  }
}

}  // namespace

FileKind KindOf(const TagStream& stream) {
  const TagItem* first = FirstContentItem(stream);
  if (!first) return FileKind::TagStream;
  if (first->tag == "TVKG") return FileKind::ChannelGroup;
  if (first->tag == "CHEV" || first->tag == "C1CC") return FileKind::ChannelList;
  for (const char* tag : {"VSGR", "VMEV", "VFKR", "VDDC", "VDGC"})
    if (first->tag == tag) return FileKind::Package;
  return FileKind::TagStream;
}

const char* KindName(FileKind kind) {
  switch (kind) {
    case FileKind::ChannelGroup: return "channel group";
    case FileKind::Package: return "project package";
    case FileKind::ChannelList: return "channel list";
    case FileKind::TagStream: break;
  }
  return "tagged stream";
}

const char* InterfaceTypeName(int type) {
  static const char* const names[] = {"private", "public", "public call", "parameter", "custom channel get",
                                      "public custom channel get"};
  return type >= 0 && type < 6 ? names[type] : "unknown";
}

GroupModel ReadGroup(const TagStream& stream) {
  GroupModel group;
  const auto& items = stream.items;
  GUID lastType = kZeroGuid;
  std::optional<int> parameterCount;
  std::size_t at = 0;
  while (at < items.size()) {
    const TagItem& item = items[at];
    if (item.tag == "CHIX") {
      const auto index = stream.Int(item);
      if (!index || *index < -1) group.problems.push_back("\"CHIX\" at offset " + std::to_string(item.offset) + " holds no valid index");
      if (!index || *index < 0) {
        if (index && *index == -1) ++group.holes;
        ++at;
        continue;
      }
      ChannelRecord record;
      record.index = *index;
      record.typeGuid = lastType;
      record.typeRepeated = true;
      at = ReadSlot(stream, at + 1, record, group);
      lastType = record.typeGuid;
      group.channels.push_back(std::move(record));
      continue;
    }
    if (item.tag == "CGGG" && !group.groupGuid) group.groupGuid = stream.Guid(item);
    else if (item.tag == "CHCO") group.slotCount = stream.Int(item);
    else if (item.tag == "CHSC") group.startChannel = stream.Int(item);
    else if (item.tag == "CGIC") parameterCount = stream.Int(item);
    else if (item.tag == "CINA") group.poolName = stream.Text(item);
    else if (item.tag == "CGII" && !item.Lone()) ReadParameters(stream, item.blocks[0], parameterCount, group);
    ++at;
  }
  if (!group.slotCount) group.problems.push_back("no \"CHCO\" slot count: the loader refuses the file");
  return group;
}

}  // namespace inspect

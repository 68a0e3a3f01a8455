#include "GroupModel.h"

#include <cstddef>

namespace inspect {
namespace {

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
    else if (item.tag == "CINA") group.poolName = stream.Text(item);
    ++at;
  }
  if (!group.slotCount) group.problems.push_back("no \"CHCO\" slot count: the loader refuses the file");
  return group;
}

}  // namespace inspect

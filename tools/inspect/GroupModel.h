#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Guid.h"
#include "TagStream.h"

namespace inspect {

// A link of a channel record: the child's index in the group, and where the
// link sits in the parent.
struct Link {
  int child = -1;
  std::optional<int> linkPosition;
  std::optional<int> target;
};

struct ChannelRecord {
  int index = -1;
  GUID typeGuid = kZeroGuid;
  bool typeRepeated = false;  // no "CHID": the slot uses the type of the slot before
  bool baseRecordOnly = false;  // "CHES" marker: no type-specific data follows
  std::string name;
  std::optional<int> interfaceType;
  std::vector<Link> links;
};

// What a channel group file holds, as far as it could be read.
struct GroupModel {
  std::optional<GUID> groupGuid;
  std::optional<int> slotCount;
  int holes = 0;
  std::vector<ChannelRecord> channels;
  std::optional<int> startChannel;
  std::optional<std::string> poolName;
  std::vector<std::string> problems;  // records that do not read as the loader reads them
};

enum class FileKind { ChannelGroup, Package, ChannelList, TagStream };

// The kind by the first tag after any translation headers.
FileKind KindOf(const TagStream& stream);
const char* KindName(FileKind kind);

GroupModel ReadGroup(const TagStream& stream);

const char* InterfaceTypeName(int type);

}  // namespace inspect

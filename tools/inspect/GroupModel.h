#pragma once

#include <array>
#include <cstdint>
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

// What a public call's record names: the public channel, the pool and the
// group file it is looked for in.
struct PublicCall {
  std::string channelName;
  std::string poolName;
  std::string fileName;
  std::int32_t requestedNr = 0;
  bool autoLoad = false;
  std::int32_t dynamicAutoLoad = 0;
};

struct ChannelRecord {
  int index = -1;
  GUID typeGuid = kZeroGuid;
  bool typeRepeated = false;  // no "CHID": the slot uses the type of the slot before
  bool baseRecordOnly = false;  // "CHES" marker: no type-specific data follows
  std::string name;
  std::optional<int> interfaceType;
  std::vector<Link> links;
  std::optional<PublicCall> publicCall;
  // The data of the channel types the tool knows, from the tags their
  // plug-ins write after the record: the Lua channel's script and window,
  // the value channel's value.
  std::optional<std::string> script;
  std::optional<std::array<std::int32_t, 4>> window;
  std::optional<float> value;
};

struct Parameter {
  std::string name;
  GUID typeGuid = kZeroGuid;
};

// What a channel group file holds, as far as it could be read.
struct GroupModel {
  std::optional<GUID> groupGuid;
  std::optional<int> slotCount;
  int holes = 0;
  std::vector<ChannelRecord> channels;
  std::optional<int> startChannel;
  std::optional<std::string> poolName;
  std::vector<Parameter> parameters;
  std::vector<std::string> problems;  // records that do not read as the loader reads them
};

enum class FileKind { ChannelGroup, Package, ChannelList, TagStream };

// The kind by the first tag after any translation headers.
FileKind KindOf(const TagStream& stream);
const char* KindName(FileKind kind);

GroupModel ReadGroup(const TagStream& stream);

const char* InterfaceTypeName(int type);

}  // namespace inspect

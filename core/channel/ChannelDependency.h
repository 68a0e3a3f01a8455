#pragma once

#include "EngineCoreExport.h"
#include "Guid.h"
#include "Tvk_List.h"

// One channel type a channel needs at run time, with the further libraries
// channels of that type need. Owned by whoever collected the list.
class ENGINECORE_API ChannelDependency {
 public:
  ChannelDependency();
  ~ChannelDependency();
  ChannelDependency(const ChannelDependency&) = delete;
  ChannelDependency& operator=(const ChannelDependency&) = delete;

  GUID typeGuid = kZeroGuid;
  Tvk_List dllNames;  // owned Tvk_String*
};

// A channel type whose channels are asked for their private dependencies
// before their base types are followed.
inline constexpr GUID kDependencyFirstBaseType{
    0x3B8E61D4, 0x7C05, 0x4A2F, {0x9E, 0x18, 0xD6, 0x0C, 0x47, 0xB5, 0xA9, 0x2E}};

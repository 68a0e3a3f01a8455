#pragma once

#include <cstdint>

#include "EngineCoreExport.h"
#include "Guid.h"

// The engine version: the only plug-in engine version the core accepts, the
// interface ID and the first value of the channel list file.
inline constexpr int kEngineVersion = 54;

// The 132-byte type record of a channel plug-in. A plug-in's GetType returns a
// pointer to one and the channel list stores it raw, so the layout is fixed.
struct ChannelType {
  char name[80];
  GUID guid;
  GUID baseGuid;
  std::int32_t versionInfo[3];
  std::int32_t userValue1;
  std::int32_t userValue2;

  ChannelType()
      : name{}, guid(kZeroGuid), baseGuid(kZeroGuid), versionInfo{1, kEngineVersion, 1}, userValue1(0), userValue2(0) {}
};
static_assert(sizeof(ChannelType) == 132, "ChannelType is copied byte for byte");

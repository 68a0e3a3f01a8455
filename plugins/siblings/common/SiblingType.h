#pragma once

#include "BoundedText.h"
#include "ChannelType.h"
#include "Guid.h"

// The type record a sibling plug-in's GetType hands out: its own type is also
// its base type, and it was built for this engine version.
inline ChannelType MakeSiblingType(const char* name, const GUID& type) {
  ChannelType record;
  CopyText(record.name, name, sizeof(record.name) - 1);
  record.guid = type;
  record.baseGuid = type;
  record.versionInfo[0] = 1;
  record.versionInfo[1] = kEngineVersion;
  record.versionInfo[2] = 1;
  return record;
}

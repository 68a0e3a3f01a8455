#pragma once

#include <cstdint>

#include "ChildLinks.h"
#include "Guid.h"
#include "Tvk_List.h"

// What a TVO_PUBLICCALL channel calls: a public channel by name, in the group
// of a pool, loaded from a file. Written to group files as a 696-byte block,
// encoded field by field because the embedded link position holds a pointer.
struct ENGINECORE_API PublicCallInfo {
  char channelName[80];
  char poolName[80];
  char fileName[260];
  std::int32_t requestedPublicChannelNr;
  char autoLoadGroup;
  char padding[3];
  std::int32_t dynamicAutoLoadGroup;
  ChildCreation childCreation;

  PublicCallInfo();
};
inline constexpr int kPublicCallInfoFileSize = 696;

// The public interface of a public channel: group parameter numbers in the
// order its public calls offer them, valid only inside the group it was made in.
struct PublicInterfaceInfo {
  GUID groupGuid = kZeroGuid;
  Tvk_List interfaceItems;  // 32-bit values stored in the slots
};

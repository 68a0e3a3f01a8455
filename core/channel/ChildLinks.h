#pragma once

#include <cstdint>

#include "ChannelType.h"
#include "EngineCoreExport.h"
#include "Guid.h"

class Tvk_Channel;
struct ChildInfo;

// One link position of a channel. Plug-ins fill one and pass it by value to
// SetChildCreateType. Its file form (inside a public call's record) is 264
// bytes; in memory the childInfo reference is pointer-sized, so the record is
// encoded field by field when written.
struct ENGINECORE_API ChildCreation {
  ChannelType channelType;
  std::int32_t requestLink;  // -1: a multi-link position
  char reserved;
  char createChild;
  char childName[102];
  GUID childTypeGuid;
  ChildInfo* childInfo;  // the position node; meaningless in a file
  std::int32_t userValue;

  ChildCreation();
};
inline constexpr int kChildCreationFileSize = 264;
inline constexpr int kChildNameMaxChars = 98;

// One child node of a channel.
struct ChildInfo {
  Tvk_Channel* channel = nullptr;  // as linked, not resolved; null: empty node
  std::int32_t linkPosition = -1;
  bool isPositionNode = false;
  bool isMultiLink = false;
  std::int32_t targetIndex = 0;  // on a multi-link position node: the run length
  std::int32_t nodeOffset = 0;   // the node's own index in the child list
  std::int32_t linkData = 0;
  std::int32_t poolChannelCount = 0;
  std::int32_t poolChannelIndex = -1;
};

// A link read from a file whose child may not exist yet.
struct LinkRequest {
  std::int32_t childIndexNr;
  std::int32_t targetChannel;
};

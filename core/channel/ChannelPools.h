#pragma once

#include <cstdint>

#include "Tvk_List.h"

// Records of channel pools; the pool registry itself is ChannelPoolManagement.
struct ChannelPoolItemInfo {
  std::int32_t poolItemIndex;
  std::int32_t channelIndex;
};

struct ChannelPoolInfo {
  Tvk_List poolNames;  // owned Tvk_String*: pool paths the channel uses
  std::uint32_t timeStamp = 0;
  Tvk_List items;  // owned ChannelPoolItemInfo*
};

struct PoolItem {
  Tvk_List subPoolItems;  // owned PoolItem*
  Tvk_List channels;      // Tvk_Channel*, not owned
  char name[20];
  PoolItem* parent;
  std::int32_t index;
};

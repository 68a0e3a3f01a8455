#pragma once

// The channel's side of pool membership, shared by the destructor and the
// pool operations.

#include "ChannelPools.h"
#include "Tvk_List.h"

class EngineInterface;
class Tvk_Channel;

namespace pool_records {

// Leaves every pool the channel was added to and frees the names and the list.
void ReleaseMemberships(EngineInterface* engine, Tvk_Channel* channel, Tvk_List* poolNames);

// Frees a pool user's record with its paths and items.
void DeletePoolInfo(ChannelPoolInfo* info);

}  // namespace pool_records

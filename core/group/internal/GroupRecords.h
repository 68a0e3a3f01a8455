#pragma once

// Helpers shared by the group's source files; nobody outside the group uses
// them.

#include "Tvk_Channel.h"
#include "Tvk_List.h"

namespace group_internal {

inline bool IsPublicInterfaceType(int type) { return type == TVO_PUBLIC || type == TVO_PUBLICCUSTOMCHANNELGET; }

inline bool IsPublicChannel(Tvk_Channel* channel) {
  return channel != nullptr && IsPublicInterfaceType(channel->GetChannelInterfaceType());
}

// Public names are compared on at most this many characters.
inline constexpr int kPublicNameCompareChars = 79;

// Deletes every pending request and releases the list (count and length 0).
void DeleteRequests(Tvk_List& requests);
// Forgets the requests a channel made: once the group deleted it, nothing may
// link into it any more.
void DropRequestsOf(Tvk_List& requests, Tvk_Channel* channel);
// Deletes every parameter entry and releases the list.
void DeleteParameterInfos(Tvk_List& parameterInfos);

}  // namespace group_internal

#pragma once

// The group's link requests after a whole file is read: every request whose
// child index now holds a channel is tried, in ascending child index and,
// for one index, in list order, exactly as calling CheckRequestListForIndex
// for each such index would, but in one pass over the list instead of one
// per index.

class EngineInterface;
class Tvk_ChannelGroup;
class Tvk_List;

namespace group_internal {

void LinkRequestsOfPresentChannels(Tvk_ChannelGroup& group, Tvk_List& requests, EngineInterface* engine);

}  // namespace group_internal

#pragma once

struct lua_State;

namespace lua_channel {

// The channel library: the global table `channel` (GetChild, GetPublic) and
// the methods of "Varnel.channel" references.
void RegisterChannelLibrary(lua_State* L);

// The channel group library: the global table `channelGroup` (GetGroup) and
// the methods of "Varnel.channelGroup" references.
void RegisterChannelGroupLibrary(lua_State* L);

}  // namespace lua_channel

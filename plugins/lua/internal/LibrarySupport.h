#pragma once

// What every function of the script libraries shares: finding its channel,
// handing out and resolving references, raising errors.
//
// The interpreter unwinds errors with longjmp. A library function therefore
// raises only from its own frame and only while it holds no object with a
// destructor; engine work that could throw runs inside Guarded, which turns an
// exception into a failure before any Lua error is raised.

#include <cstdint>

#include <lua.hpp>

#include "internal/Numbers.h"

class Tvk_Channel;
class Tvk_ChannelGroup;
class Tvo_Lua;

namespace lua_channel {

inline constexpr char kChannelTypeName[] = "Varnel.channel";
inline constexpr char kGroupTypeName[] = "Varnel.channelGroup";

struct ChannelReference {
  std::int32_t groupIndex;
  std::int32_t channelIndex;
};

struct GroupReference {
  std::int32_t groupIndex;
};

// Raises `text` as the error, with no position in front of it.
[[noreturn]] void RaiseText(lua_State* L, const char* text);

// The channel the interpreter belongs to. Raises while the script's main
// chunk still runs: the channel registers itself only after it.
Tvo_Lua* OwnChannel(lua_State* L);

// A required number argument, truncated toward zero (TruncatedInt).
int CheckTruncatedInt(lua_State* L, int arg);

// Pushes a reference to `channel` and answers 1, or pushes nothing and
// answers 0 for a null channel or one without a group.
int PushChannelReference(lua_State* L, Tvk_Channel* channel);
void PushGroupReference(lua_State* L, int groupIndex);

// Argument `arg` must be a reference of the type; otherwise Lua's argument
// error with "`channel' expected" or "`channelgroup' expected".
const ChannelReference* CheckChannelReference(lua_State* L, int arg);
const GroupReference* CheckGroupReference(lua_State* L, int arg);

// The channel or group a reference stands for now; null when it is gone.
Tvk_Channel* ResolveChannel(lua_State* L, const ChannelReference& reference);
Tvk_ChannelGroup* ResolveGroup(lua_State* L, int groupIndex);
// CheckChannelReference, then ResolveChannel.
Tvk_Channel* CheckChannel(lua_State* L, int arg);

// Registers a userdata type: its metatable under `typeName`, holding the
// methods and serving as its own __index, and the global table `globalName`
// of plain functions.
void RegisterUserdataLibrary(lua_State* L, const char* typeName, const luaL_Reg* methods, const char* globalName,
                             const luaL_Reg* functions);

// Runs engine work; false when it threw. Call no Lua function inside `work`.
template <class Work>
bool Guarded(Work&& work) noexcept {
  try {
    work();
    return true;
  } catch (...) {
    return false;
  }
}

// Guarded, raising a plain error when the work threw.
template <class Work>
void GuardedOrRaise(lua_State* L, Work&& work) {
  if (!Guarded(work)) RaiseText(L, "Error in channel library: the engine could not complete the request");
}

}  // namespace lua_channel

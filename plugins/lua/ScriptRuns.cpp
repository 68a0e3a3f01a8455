// The protected runs of a script's global functions. The interpreter is C and
// unwinds with longjmp; everything that may raise (allocation, metamethods,
// finalizers) happens inside lua_pcall, so no error ever leaves the channel
// and no C++ frame is jumped over.

#include "internal/ScriptRuns.h"

#include <cstdio>

#include <lua.hpp>

#include "Tvk_String.h"

namespace lua_channel {
namespace {

// Registry keys beside the own channel. luaL_ref would keep its free list
// under key 0, so the channel's entries use fixed keys instead.
constexpr int kGetValueNameKey = -1;
constexpr int kCallChannelNameKey = -2;
constexpr int kLookupKey = -3;

// The full lookup, metamethods included: the name is argument 1.
int LookupGlobal(lua_State* L) {
  lua_gettable(L, LUA_GLOBALSINDEX);
  return 1;
}

int NameKey(ScriptFunction function) {
  return function == ScriptFunction::kGetValue ? kGetValueNameKey : kCallChannelNameKey;
}

}  // namespace

int PrepareRuns(lua_State* L) {
  lua_pushstring(L, "GetValue");
  lua_rawseti(L, LUA_REGISTRYINDEX, kGetValueNameKey);
  lua_pushstring(L, "CallChannel");
  lua_rawseti(L, LUA_REGISTRYINDEX, kCallChannelNameKey);
  lua_pushcfunction(L, LookupGlobal);
  lua_rawseti(L, LUA_REGISTRYINDEX, kLookupKey);
  return 0;
}

int RegisterOwnChannel(lua_State* L) {
  lua_pushvalue(L, 1);
  lua_rawseti(L, LUA_REGISTRYINDEX, kOwnChannelKey);
  return 0;
}

// A raw read of an existing global neither allocates nor runs code, so it
// may happen unprotected; only a missing global needs the full lookup, which
// may run an __index metamethod and so is called protected.
RunStatus CallScriptFunction(lua_State* L, ScriptFunction function, int results) {
  lua_rawgeti(L, LUA_REGISTRYINDEX, NameKey(function));
  lua_pushvalue(L, -1);
  lua_rawget(L, LUA_GLOBALSINDEX);
  if (lua_isnil(L, -1)) {
    lua_pop(L, 1);
    lua_rawgeti(L, LUA_REGISTRYINDEX, kLookupKey);
    lua_insert(L, -2);
    if (lua_pcall(L, 1, 1, 0) != 0) return RunStatus::kFailed;
    if (lua_isnil(L, -1)) {
      lua_pop(L, 1);
      return RunStatus::kNotFound;
    }
  } else {
    lua_remove(L, -2);
  }
  return lua_pcall(L, 0, results, 0) == 0 ? RunStatus::kDone : RunStatus::kFailed;
}

void CopyErrorText(lua_State* L, Tvk_String& text) {
  switch (lua_type(L, -1)) {
    case LUA_TSTRING:
      text.SetString(lua_tostring(L, -1));
      return;
    case LUA_TNUMBER: {
      char number[64];
      std::snprintf(number, sizeof number, LUA_NUMBER_FMT, lua_tonumber(L, -1));
      text.SetString(number);
      return;
    }
    default: {
      char description[80];
      std::snprintf(description, sizeof description, "(error object is a %s value)", lua_typename(L, lua_type(L, -1)));
      text.SetString(description);
    }
  }
}

}  // namespace lua_channel

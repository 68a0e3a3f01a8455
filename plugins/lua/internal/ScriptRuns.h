#pragma once

class Tvk_String;
struct lua_State;

namespace lua_channel {

// Registry entries of an interpreter. The own channel sits under 0, as every
// library function expects; the other keys hold what a run needs, so that a
// run creates no Lua value before it is protected.
inline constexpr int kOwnChannelKey = 0;

enum class ScriptFunction { kGetValue, kCallChannel };

// Stores the run entries. A Lua C function: run it protected on a fresh
// interpreter.
int PrepareRuns(lua_State* L);

// Stores the light userdata on the stack's first slot under kOwnChannelKey.
// A Lua C function for lua_cpcall.
int RegisterOwnChannel(lua_State* L);

enum class RunStatus {
  kDone,      // the results are on the stack
  kNotFound,  // the global is nil; nothing was pushed
  kFailed     // the error object is on top of the stack
};

// Looks the global up by name and calls it without arguments, asking for
// `results` results. Nothing here can raise outside a protected call: a
// metamethod of the globals or a finalizer that fails makes the run fail.
RunStatus CallScriptFunction(lua_State* L, ScriptFunction function, int results);

// Copies the error object on top of the stack into `text` without creating
// Lua values; an object that is neither a string nor a number is described.
void CopyErrorText(lua_State* L, Tvk_String& text);

}  // namespace lua_channel

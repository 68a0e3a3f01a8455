#pragma once

struct lua_State;

namespace lua_channel {

// Opens the standard libraries a script may use and removes everything else,
// so a script reaches exactly the names of the channel's script environment.
// A Lua C function: run it protected (lua_cpcall) on a fresh interpreter.
int OpenScriptEnvironment(lua_State* L);

}  // namespace lua_channel

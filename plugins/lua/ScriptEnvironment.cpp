// The script environment: base (with coroutine), string, math, os and table,
// cut down to the names a script may use. Nothing left reads or writes files,
// starts or ends programs or loads code: every loader is gone, so the output of
// string.dump can never be run again.

#include "internal/ScriptEnvironment.h"

#include <cmath>
#include <cstring>

#include <lua.hpp>

namespace lua_channel {
namespace {

// The names a script may use, table by table; nullptr ends a list. The
// global list also names the library tables, which are kept as tables.
const char* const kGlobalNames[] = {
    "error", "getmetatable", "setmetatable", "getfenv", "setfenv", "next", "ipairs", "pairs",
    "tonumber", "tostring", "type", "assert", "unpack", "rawequal", "rawget", "rawset",
    "pcall", "xpcall", "collectgarbage", "gcinfo", "newproxy", "_G", "_VERSION", "__pow",
    "coroutine", "string", "math", "os", "table", nullptr};
const char* const kCoroutineNames[] = {"create", "wrap", "resume", "yield", "status", nullptr};
const char* const kStringNames[] = {"len", "sub", "lower", "upper", "char", "rep", "byte",
                                    "format", "dump", "find", "gfind", "gsub", nullptr};
const char* const kMathNames[] = {"abs", "sin", "cos", "tan", "asin", "acos", "atan", "atan2",
                                  "ceil", "floor", "mod", "frexp", "ldexp", "sqrt", "min", "max",
                                  "log", "log10", "exp", "deg", "pow", "rad", "random", "randomseed",
                                  "pi", nullptr};
const char* const kOsNames[] = {"clock", "date", "difftime", "exit", "getenv", "time", nullptr};
const char* const kTableNames[] = {"concat", "foreach", "foreachi", "getn", "setn",
                                   "sort", "insert", "remove", nullptr};

struct LibraryNames {
  const char* table;  // nullptr: the globals
  const char* const* names;
};
const LibraryNames kLibraries[] = {
    {nullptr, kGlobalNames}, {"coroutine", kCoroutineNames}, {"string", kStringNames},
    {"math", kMathNames},    {"os", kOsNames},               {"table", kTableNames},
};

bool IsListed(const char* const* names, const char* name) {
  for (; *names; ++names) {
    if (std::strcmp(*names, name) == 0) return true;
  }
  return false;
}

// The table of a library (or the globals) on top of the stack.
void PushLibrary(lua_State* L, const char* table) {
  if (table) {
    lua_getfield(L, LUA_GLOBALSINDEX, table);
  } else {
    lua_pushvalue(L, LUA_GLOBALSINDEX);
  }
}

void OpenLibrary(lua_State* L, lua_CFunction open, const char* name) {
  lua_pushcfunction(L, open);
  lua_pushstring(L, name);
  lua_call(L, 1, 0);
}

// Clearing existing fields while next walks the table is allowed.
void RemoveUnlisted(lua_State* L, const LibraryNames& library) {
  PushLibrary(L, library.table);
  const int table = lua_gettop(L);
  lua_pushnil(L);
  while (lua_next(L, table) != 0) {
    lua_pop(L, 1);
    if (lua_type(L, -1) != LUA_TSTRING || !IsListed(library.names, lua_tostring(L, -1))) {
      lua_pushvalue(L, -1);
      lua_pushnil(L);
      lua_rawset(L, table);
    }
  }
  lua_pop(L, 1);
}

// ---- names this interpreter may lack --------------------------------------------

int Power(lua_State* L) {
  lua_pushnumber(L, std::pow(luaL_checknumber(L, 1), luaL_checknumber(L, 2)));
  return 1;
}

int GetN(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  lua_pushinteger(L, static_cast<lua_Integer>(lua_objlen(L, 1)));
  return 1;
}

// foreach and foreachi: the first non-nil result of f ends the walk.
int ForEach(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_checktype(L, 2, LUA_TFUNCTION);
  lua_pushnil(L);
  while (lua_next(L, 1) != 0) {
    lua_pushvalue(L, 2);
    lua_pushvalue(L, -3);
    lua_pushvalue(L, -3);
    lua_call(L, 2, 1);
    if (!lua_isnil(L, -1)) return 1;
    lua_pop(L, 2);
  }
  return 0;
}

int ForEachI(lua_State* L) {
  luaL_checktype(L, 1, LUA_TTABLE);
  luaL_checktype(L, 2, LUA_TFUNCTION);
  const int count = static_cast<int>(lua_objlen(L, 1));
  for (int i = 1; i <= count; ++i) {
    lua_pushvalue(L, 2);
    lua_pushinteger(L, i);
    lua_rawgeti(L, 1, i);
    lua_call(L, 2, 1);
    if (!lua_isnil(L, -1)) return 1;
    lua_pop(L, 1);
  }
  return 0;
}

int GcInfo(lua_State* L) {
  lua_pushinteger(L, lua_gc(L, LUA_GCCOUNT, 0));
  return 1;
}

// A listed name without a faithful equivalent here: calling it is an error
// that names it.
int Unavailable(lua_State* L) {
  lua_pushfstring(L, "%s is not available in this interpreter", lua_tostring(L, lua_upvalueindex(1)));
  return lua_error(L);
}

// os.exit would end the host with every unsaved change and without its
// release; the name stays for scripts that look for it, but a call is an error
// of the script's run.
int RefusedExit(lua_State* L) { return luaL_error(L, "os.exit is refused: a script does not end its host"); }

bool HasField(lua_State* L, const char* table, const char* name) {
  PushLibrary(L, table);
  lua_getfield(L, -1, name);
  const bool present = !lua_isnil(L, -1);
  lua_pop(L, 2);
  return present;
}

void SetField(lua_State* L, const char* table, const char* name) {
  PushLibrary(L, table);
  lua_insert(L, -2);
  lua_setfield(L, -2, name);
  lua_pop(L, 1);
}

// Gives `table.name` the value of `table.source` when it has none of its own.
void AliasWhenMissing(lua_State* L, const char* table, const char* name, const char* source) {
  if (HasField(L, table, name) || !HasField(L, table, source)) return;
  PushLibrary(L, table);
  lua_getfield(L, -1, source);
  lua_setfield(L, -2, name);
  lua_pop(L, 1);
}

void FunctionWhenMissing(lua_State* L, const char* table, const char* name, lua_CFunction function) {
  if (HasField(L, table, name)) return;
  lua_pushcfunction(L, function);
  SetField(L, table, name);
}

// The names of the older interpreter that this one keeps only under
// compatibility switches, and whatever listed name is still missing after.
void FillMissingNames(lua_State* L) {
  lua_pushcfunction(L, Power);
  lua_setfield(L, LUA_GLOBALSINDEX, "__pow");
  AliasWhenMissing(L, "string", "gfind", "gmatch");
  AliasWhenMissing(L, "math", "mod", "fmod");
  FunctionWhenMissing(L, "table", "getn", GetN);
  FunctionWhenMissing(L, "table", "foreach", ForEach);
  FunctionWhenMissing(L, "table", "foreachi", ForEachI);
  FunctionWhenMissing(L, nullptr, "gcinfo", GcInfo);
  for (const LibraryNames& library : kLibraries) {
    for (const char* const* name = library.names; *name; ++name) {
      if (HasField(L, library.table, *name)) continue;
      lua_pushfstring(L, "%s%s%s", library.table ? library.table : "", library.table ? "." : "", *name);
      lua_pushcclosure(L, Unavailable, 1);
      SetField(L, library.table, *name);
    }
  }
}

}  // namespace

int OpenScriptEnvironment(lua_State* L) {
  OpenLibrary(L, luaopen_base, "");
  OpenLibrary(L, luaopen_string, LUA_STRLIBNAME);
  OpenLibrary(L, luaopen_math, LUA_MATHLIBNAME);
  OpenLibrary(L, luaopen_os, LUA_OSLIBNAME);
  OpenLibrary(L, luaopen_table, LUA_TABLIBNAME);
  FillMissingNames(L);
  lua_pushcfunction(L, RefusedExit);
  SetField(L, "os", "exit");
  for (const LibraryNames& library : kLibraries) RemoveUnlisted(L, library);
  return 0;
}

}  // namespace lua_channel

#include "internal/LibrarySupport.h"

#include "EngineInterface.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "Tvo_Lua.h"
#include "internal/ScriptRuns.h"

namespace lua_channel {
namespace {

// The userdata at `arg` when it carries the metatable registered under
// `typeName` and is large enough for `size` bytes.
void* TestUserdata(lua_State* L, int arg, const char* typeName, std::size_t size) {
  void* data = lua_touserdata(L, arg);
  if (!data || lua_type(L, arg) != LUA_TUSERDATA || !lua_getmetatable(L, arg)) return nullptr;
  lua_getfield(L, LUA_REGISTRYINDEX, typeName);
  const bool sameType = lua_rawequal(L, -1, -2) != 0;
  lua_pop(L, 2);
  return sameType && lua_objlen(L, arg) >= size ? data : nullptr;
}

}  // namespace

void RaiseText(lua_State* L, const char* text) {
  lua_pushstring(L, text);
  lua_error(L);
  __builtin_unreachable();
}

Tvo_Lua* OwnChannel(lua_State* L) {
  lua_rawgeti(L, LUA_REGISTRYINDEX, kOwnChannelKey);
  auto* channel = static_cast<Tvo_Lua*>(lua_touserdata(L, -1));
  lua_pop(L, 1);
  if (!channel) RaiseText(L, "Error channel library used before the script started");
  return channel;
}

int CheckTruncatedInt(lua_State* L, int arg) { return TruncatedInt(luaL_checknumber(L, arg)); }

int PushChannelReference(lua_State* L, Tvk_Channel* channel) {
  ChannelReference reference{};
  bool present = false;
  GuardedOrRaise(L, [&] {
    Tvk_ChannelGroup* group = channel ? channel->GetChannelGroup() : nullptr;
    if (!group) return;
    reference.groupIndex = group->GetGroupIndex();
    reference.channelIndex = channel->GetChannelIDIndexNr();
    present = true;
  });
  if (!present) return 0;
  auto* data = static_cast<ChannelReference*>(lua_newuserdata(L, sizeof(ChannelReference)));
  *data = reference;
  luaL_getmetatable(L, kChannelTypeName);
  lua_setmetatable(L, -2);
  return 1;
}

void PushGroupReference(lua_State* L, int groupIndex) {
  auto* data = static_cast<GroupReference*>(lua_newuserdata(L, sizeof(GroupReference)));
  data->groupIndex = groupIndex;
  luaL_getmetatable(L, kGroupTypeName);
  lua_setmetatable(L, -2);
}

const ChannelReference* CheckChannelReference(lua_State* L, int arg) {
  void* data = TestUserdata(L, arg, kChannelTypeName, sizeof(ChannelReference));
  if (!data) luaL_argerror(L, arg, "`channel' expected");
  return static_cast<const ChannelReference*>(data);
}

const GroupReference* CheckGroupReference(lua_State* L, int arg) {
  void* data = TestUserdata(L, arg, kGroupTypeName, sizeof(GroupReference));
  if (!data) luaL_argerror(L, arg, "`channelgroup' expected");
  return static_cast<const GroupReference*>(data);
}

Tvk_ChannelGroup* ResolveGroup(lua_State* L, int groupIndex) {
  EngineInterface* engine = OwnChannel(L)->GetEngineInterface();
  Tvk_ChannelGroup* group = nullptr;
  GuardedOrRaise(L, [&] {
    if (engine) group = engine->GetChannelGroup(groupIndex);
  });
  return group;
}

Tvk_Channel* ResolveChannel(lua_State* L, const ChannelReference& reference) {
  Tvk_ChannelGroup* group = ResolveGroup(L, reference.groupIndex);
  Tvk_Channel* channel = nullptr;
  GuardedOrRaise(L, [&] {
    if (group) channel = group->GetChannel(reference.channelIndex);
  });
  return channel;
}

Tvk_Channel* CheckChannel(lua_State* L, int arg) { return ResolveChannel(L, *CheckChannelReference(L, arg)); }

void RegisterUserdataLibrary(lua_State* L, const char* typeName, const luaL_Reg* methods, const char* globalName,
                             const luaL_Reg* functions) {
  luaL_newmetatable(L, typeName);
  lua_pushvalue(L, -1);
  lua_setfield(L, -2, "__index");
  luaL_register(L, nullptr, methods);
  lua_pop(L, 1);
  luaL_register(L, globalName, functions);
  lua_pop(L, 1);
}

}  // namespace lua_channel

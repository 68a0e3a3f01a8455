// The channel group library: references to groups found by pool name, and the
// search for a channel of the same base type inside a group.

#include <lua.hpp>

#include "BoundedText.h"
#include "EngineInterface.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "Tvo_Lua.h"
#include "internal/ChannelLibraries.h"
#include "internal/LibrarySupport.h"

namespace lua_channel {
namespace {

constexpr int kAnyPoolNr = -1;

// The lowest-indexed registered group whose pool name equals `name`, ignoring
// the case of ASCII letters, and whose pool number is `poolNr` unless any
// number will do.
Tvk_ChannelGroup* FindGroup(EngineInterface* engine, const char* name, int poolNr) {
  if (!engine || name[0] == '\0') return nullptr;
  const int count = engine->GetChannelGroupCount();
  for (int index = 0; index < count; ++index) {
    Tvk_ChannelGroup* group = engine->GetChannelGroup(index);
    if (!group || !group->GetPoolName()) continue;
    if (poolNr != kAnyPoolNr && group->GetPoolNr() != poolNr) continue;
    if (TextEqualsIgnoreCase(group->GetPoolName(), name)) return group;
  }
  return nullptr;
}

int GetGroup(lua_State* L) {
  const char* name = luaL_checkstring(L, 1);
  const int poolNr = lua_isnumber(L, 2) ? TruncatedInt(lua_tonumber(L, 2)) : kAnyPoolNr;
  EngineInterface* engine = OwnChannel(L)->GetEngineInterface();
  int groupIndex = -1;
  bool found = false;
  GuardedOrRaise(L, [&] {
    Tvk_ChannelGroup* group = FindGroup(engine, name, poolNr);
    if (group) {
      found = true;
      groupIndex = group->GetGroupIndex();
      if (globalEngine) globalEngine->showErrorMessage("Found group:", group->GetChannelGroupFileName());
    } else if (globalEngine) {
      globalEngine->showErrorMessage("Could not get group GetGroup in Lua Script");
    }
  });
  if (!found) return 0;
  PushGroupReference(L, groupIndex);
  return 1;
}

// Same type means the same base type: every value channel matches every
// other, a Lua channel included, and the given channel is a candidate too.
int GetChannelOfSameTypeInGroup(lua_State* L) {
  const GroupReference* reference = CheckGroupReference(L, 1);
  Tvk_ChannelGroup* group = ResolveGroup(L, reference->groupIndex);
  Tvk_Channel* model = CheckChannel(L, 2);
  if (!model || !group) return 0;
  Tvk_Channel* match = nullptr;
  GuardedOrRaise(L, [&] {
    const GUID baseType = model->GetChannelType().baseGuid;
    for (int index = 0; index < group->GetChannelCount() && !match; ++index) {
      Tvk_Channel* candidate = group->GetChannel(index);
      if (candidate && candidate->GetChannelType().baseGuid == baseType) match = candidate;
    }
  });
  return PushChannelReference(L, match);
}

const luaL_Reg kGroupFunctions[] = {{"GetGroup", GetGroup}, {nullptr, nullptr}};

const luaL_Reg kGroupMethods[] = {{"GetChannelOfSameTypeInGroup", GetChannelOfSameTypeInGroup}, {nullptr, nullptr}};

}  // namespace

void RegisterChannelGroupLibrary(lua_State* L) {
  RegisterUserdataLibrary(L, kGroupTypeName, kGroupMethods, "channelGroup", kGroupFunctions);
}

}  // namespace lua_channel

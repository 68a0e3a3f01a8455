// The channel library: references to the channels a script reaches through
// the Lua channel's links, and what a script does with them. Every error text
// is raised as it stands, without a position in front of it.

#include <lua.hpp>

#include "ChannelInternal.h"
#include "Tvk_ChannelGroup.h"
#include "Tvo_Lua.h"
#include "internal/ChannelKinds.h"
#include "internal/ChannelLibraries.h"
#include "internal/LibrarySupport.h"

namespace lua_channel {
namespace {

int GetChild(lua_State* L) {
  const int index = CheckTruncatedInt(L, 1);
  Tvo_Lua* own = OwnChannel(L);
  Tvk_Channel* child = nullptr;
  GuardedOrRaise(L, [&] { child = own->GetChild(index); });
  return PushChannelReference(L, child);
}

// A public call linked at n is told which public channel of its target to
// resolve to before it is resolved.
int GetPublic(lua_State* L) {
  const int index = CheckTruncatedInt(L, 1);
  const int publicNr = CheckTruncatedInt(L, 2);
  Tvo_Lua* own = OwnChannel(L);
  Tvk_Channel* child = nullptr;
  GuardedOrRaise(L, [&] {
    channelInternal.SetRequestedPublicChannelNr(channelInternal.GetInternalChild(own, index), publicNr);
    child = own->GetChild(index);
  });
  return PushChannelReference(L, child);
}

int GetValue(lua_State* L) {
  Tvk_Channel* channel = CheckChannel(L, 1);
  if (!channel) RaiseText(L, "Error in GetValue() channel was NULL");
  Tvo_FloatChannel* valueChannel = nullptr;
  float value = 0.0f;
  GuardedOrRaise(L, [&] {
    valueChannel = AsValueChannel(channel);
    if (valueChannel) value = valueChannel->GetFloat();
  });
  if (!valueChannel) RaiseText(L, "Error in GetValue() channel was not a value channel");
  lua_pushnumber(L, value);
  return 1;
}

int SetValue(lua_State* L) {
  const float value = NarrowToFloat(luaL_checknumber(L, 2));
  Tvk_Channel* channel = CheckChannel(L, 1);
  if (!channel) return 0;
  Tvo_FloatChannel* valueChannel = nullptr;
  GuardedOrRaise(L, [&] {
    valueChannel = AsValueChannel(channel);
    if (valueChannel) valueChannel->SetFloat(value);
  });
  if (!valueChannel) RaiseText(L, "Error in SetValue() channel was not a value channel");
  return 0;
}

int GetText(lua_State* L) {
  Tvk_Channel* channel = CheckChannel(L, 1);
  if (!channel) RaiseText(L, "Error in GetText() channel was NULL");
  Tvo_TextChannel* textChannel = nullptr;
  const char* text = nullptr;
  GuardedOrRaise(L, [&] {
    textChannel = AsTextChannel(channel);
    if (textChannel) text = textChannel->GetText();
  });
  if (!textChannel) RaiseText(L, "Error in GetText() channel was not a text channel");
  lua_pushstring(L, text ? text : "");
  return 1;
}

int SetText(lua_State* L) {
  const char* text = luaL_checkstring(L, 2);
  Tvk_Channel* channel = CheckChannel(L, 1);
  if (!channel) return 0;
  Tvo_TextChannel* textChannel = nullptr;
  GuardedOrRaise(L, [&] {
    textChannel = AsTextChannel(channel);
    if (textChannel) textChannel->SetText(text);
  });
  if (!textChannel) RaiseText(L, "Error in SetText() channel was not a text channel");
  return 0;
}

int SetName(lua_State* L) {
  const char* name = luaL_checkstring(L, 2);
  Tvk_Channel* channel = CheckChannel(L, 1);
  if (!channel || name[0] == '\0') return 0;
  GuardedOrRaise(L, [&] { channel->SetChannelName(name); });
  return 0;
}

// Mode 0 makes the channel private, mode 1 public; a public channel's group
// checks its public names again. Other modes change nothing.
int SetPublic(lua_State* L) {
  const int mode = CheckTruncatedInt(L, 2);
  Tvk_Channel* channel = CheckChannel(L, 1);
  if (!channel || (mode != TVO_PRIVATE && mode != TVO_PUBLIC)) return 0;
  GuardedOrRaise(L, [&] {
    channel->SetChannelInterfaceType(mode);
    if (mode == TVO_PUBLIC && channel->GetChannelGroup()) channel->GetChannelGroup()->CheckPublicChannels();
  });
  return 0;
}

int CallChannel(lua_State* L) {
  Tvk_Channel* channel = CheckChannel(L, 1);
  if (!channel) RaiseText(L, "Error in CallChannel() channel was NULL");
  GuardedOrRaise(L, [&] { channel->CallChannel(); });
  return 0;
}

const luaL_Reg kChannelFunctions[] = {{"GetChild", GetChild}, {"GetPublic", GetPublic}, {nullptr, nullptr}};

const luaL_Reg kChannelMethods[] = {
    {"SetValue", SetValue}, {"GetValue", GetValue}, {"SetText", SetText},         {"GetText", GetText},
    {"SetName", SetName},   {"SetPublic", SetPublic}, {"CallChannel", CallChannel}, {nullptr, nullptr}};

}  // namespace

void RegisterChannelLibrary(lua_State* L) {
  RegisterUserdataLibrary(L, kChannelTypeName, kChannelMethods, "channel", kChannelFunctions);
}

}  // namespace lua_channel

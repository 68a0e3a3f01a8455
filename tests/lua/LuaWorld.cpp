#include "LuaWorld.h"

#include "Platform.h"
#include "Tvo_TextChannel.h"

namespace luatest {

LuaWorld::LuaWorld() : engine_(testsupport::BuildEngineDir()), pool_(engine_->CreateNewGroup("Pool", false, -1)) {}

Tvk_Channel* LuaWorld::NewChannel(const GUID& type, Tvk_ChannelGroup* group) {
  Tvk_Channel* channel = engine_->InitChannelFromType(type, group ? group : pool_, true);
  EXPECT_NE(channel, nullptr) << "type " << GuidText(type) << " is not installed";
  return channel;
}

Tvo_Lua* LuaWorld::NewLua(const char* script) {
  auto* lua = static_cast<Tvo_Lua*>(NewChannel(kLuaScriptType));
  if (lua && script) lua->SetScript(script);
  return lua;
}

// Built the way the engine builds a plug-in channel: the globals name the
// engine and the plug-in's module while the constructor runs.
ProbeLua* LuaWorld::NewProbe(const char* script) {
  HINSTANCE module = NewLua()->GetDllInstance();
  platform::LockPluginInit();
  globalEngine = engine_.Get();
  globalDllInstance = module;
  auto* probe = new ProbeLua();
  platform::UnlockPluginInit();
  probe->SetDllInterface(module, engine_.Get());
  pool_->AddChannel(probe);
  probe->OneTimeInitialize();
  if (script) probe->SetScript(script);
  return probe;
}

Tvo_FloatChannel* LuaWorld::NewValue(float value) {
  auto* channel = static_cast<Tvo_FloatChannel*>(NewChannel(kValueChannelType));
  if (channel) channel->SetFloat(value);
  return channel;
}

Tvo_TextChannel* LuaWorld::NewText(const char* text) {
  auto* channel = static_cast<Tvo_TextChannel*>(NewChannel(kTextChannelType));
  if (channel && text) channel->SetText(text);
  return channel;
}

void LuaWorld::Link(Tvk_Channel* parent, Tvk_Channel* child) { ASSERT_NE(parent->SetChild(child, -1, 0), -1); }

float BalancedGetFloat(ProbeLua* lua) {
  lua_State* L = lua->State();
  const int before = L ? lua_gettop(L) : 0;
  const float value = lua->GetFloat();
  if (L) {
    EXPECT_EQ(lua_gettop(L), before) << "GetValue run left the stack unbalanced";
  }
  return value;
}

}  // namespace luatest

#pragma once

// Lua channels inside a real engine started over the build's engine
// directory, with the real sibling plug-ins (value, frame time, text, file
// loader and saver).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <lua.hpp>

#include "Diagnostics.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "TestSupport.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "Tvo_FloatChannel.h"
#include "Tvo_Lua.h"
#include "Tvo_TextChannel.h"

namespace luatest {

// A Lua channel that shows what a real one hides: the interpreter it started
// (OpenNewLua hands it to Luaopen_VarnelLIB through the virtual slot) and the
// inherited value member.
class ProbeLua : public Tvo_Lua {
 public:
  int Luaopen_VarnelLIB(lua_State* L) override {
    state_ = L;
    return Tvo_Lua::Luaopen_VarnelLIB(L);
  }
  bool OpenNewLua() override {
    const bool started = Tvo_Lua::OpenNewLua();
    if (!started) state_ = nullptr;
    return started;
  }
  // The interpreter of the last successful start, null after a failed one.
  lua_State* State() const { return state_; }
  float StoredValue() const { return value_; }

 private:
  lua_State* state_ = nullptr;
};

class LuaWorld : public ::testing::Test {
 protected:
  LuaWorld();

  // A Lua channel created by type in the pool group, started with `script`
  // unless it is null.
  Tvo_Lua* NewLua(const char* script = nullptr);
  ProbeLua* NewProbe(const char* script = nullptr);
  Tvo_FloatChannel* NewValue(float value);
  Tvo_TextChannel* NewText(const char* text = nullptr);
  Tvk_Channel* NewChannel(const GUID& type, Tvk_ChannelGroup* group = nullptr);
  // Appends `child` to the Lua channel's one multi-link position.
  void Link(Tvk_Channel* parent, Tvk_Channel* child);

  std::vector<std::string> Errors() const { return engine_.sink.TextsOfType(kMessageError); }
  std::vector<std::string> UserErrors() const { return engine_.sink.TextsOfType(kMessageUserError); }

  testsupport::StartedEngine engine_;
  Tvk_ChannelGroup* pool_;
};

// Runs GetValue and checks that the interpreter's stack is as it was.
float BalancedGetFloat(ProbeLua* lua);

}  // namespace luatest

// The value run, the test run and the call run of a script, and how a script
// starts or fails to start.

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "ChannelDependency.h"
#include "ChannelInternal.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"

#include "LuaWorld.h"

namespace luatest {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct ValueCase {
  const char* name;
  const char* script;
  float value;
  const char* error;  // nullptr: the run succeeds and the error text stays
};

const ValueCase kValueCases[] = {
    {"number", "function GetValue() return 2.5 end", 2.5f, nullptr},
    {"numeric string", "function GetValue() return '7' end", 7.0f, nullptr},
    {"beyond float range", "function GetValue() return -1e300 end", -INFINITY, nullptr},
    {"nil", "function GetValue() return nil end", 0.0f, "GetValue did not return a value"},
    {"table", "function GetValue() return {} end", 0.0f, "GetValue did not return a value"},
    {"nothing", "function GetValue() end", 0.0f, "GetValue did not return a value"},
    {"text", "function GetValue() return 'seven' end", 0.0f, "GetValue did not return a value"},
    {"missing", "x = 1", 0.0f, "Error GetValue function not found"},
    {"raises", "function GetValue() error('boom') end", 0.0f, "[string \"Lua Script\"]:1: boom"},
    {"raises a number", "function GetValue() error(42) end", 0.0f, "42"},
    {"raises a table", "function GetValue() error({}) end", 0.0f, "(error object is a table value)"},
    {"not a function", "GetValue = 5", 0.0f, "attempt to call a number value"},
    // A missing global is looked up through the globals' metatable, and a
    // failing __index fails the run instead of the host.
    {"strict globals", "setmetatable(_G, {__index = function(t, k) error('undefined ' .. k, 2) end})", 0.0f,
     "undefined GetValue"},
    {"global by __index", "setmetatable(_G, {__index = function(t, k) return function() return 4 end end})", 4.0f,
     nullptr},
};

void PrintTo(const ValueCase& c, std::ostream* out) { *out << c.name; }

class ValueRun : public LuaWorld, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ValueRun, ReturnsTheScriptValueOrZeroWithItsErrorAndKeepsTheStack) {
  const ValueCase& c = GetParam();
  ProbeLua* lua = NewProbe(c.script);
  ASSERT_NE(lua->State(), nullptr) << lua->GetError();
  for (int run = 0; run < 1000; ++run) {
    ASSERT_FLOAT_EQ(BalancedGetFloat(lua), c.value);
  }
  if (c.error) {
    EXPECT_THAT(lua->GetError(), HasSubstr(c.error));
    EXPECT_FALSE(lua->RunScriptValue());
  } else {
    EXPECT_FLOAT_EQ(lua->StoredValue(), c.value);
    EXPECT_EQ(lua->GetError(), nullptr) << "a good run leaves the error text alone";
    EXPECT_TRUE(lua->RunScriptValue());
  }
  EXPECT_TRUE(Errors().empty()) << "value runs show nothing";
  EXPECT_TRUE(UserErrors().empty());
}

INSTANTIATE_TEST_SUITE_P(Scripts, ValueRun, ::testing::ValuesIn(kValueCases),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST_F(LuaWorld, TestRunReportsTheValueWithFourSignificantDigits) {
  const struct {
    const char* script;
    const char* text;
  } cases[] = {
      {"function GetValue() return 3.14159 end", "Result was 3.142"},
      {"function GetValue() return 1e10 end", "Result was 1e+10"},
      {"function GetValue() return -0.5 end", "Result was -0.5"},
  };
  for (const auto& c : cases) {
    Tvo_Lua* lua = NewLua(c.script);
    EXPECT_TRUE(lua->RunScriptValue());
    EXPECT_STREQ(lua->GetError(), c.text);
  }
}

TEST_F(LuaWorld, GlobalsLiveFromOneRunToTheNextAndTheValueMemberFollows) {
  ProbeLua* lua = NewProbe("n = 0 function GetValue() n = n + 1 return n end function CallChannel() n = n + 10 end");
  EXPECT_FLOAT_EQ(BalancedGetFloat(lua), 1.0f);
  lua->CallChannel();
  EXPECT_FLOAT_EQ(BalancedGetFloat(lua), 12.0f);
  EXPECT_FLOAT_EQ(lua->StoredValue(), 12.0f);
}

TEST_F(LuaWorld, CallRunKeepsTheStackAndReportsWhatWentWrong) {
  const struct {
    const char* script;
    bool done;
    const char* error;
  } cases[] = {
      {"function CallChannel() end", true, nullptr},
      {"function GetValue() return 1 end", false, "Error CallChannel function not found"},
      {"function CallChannel() local x = nil .. 1 end", false, "attempt to concatenate a nil value"},
  };
  for (const auto& c : cases) {
    ProbeLua* lua = NewProbe(c.script);
    lua_State* L = lua->State();
    ASSERT_NE(L, nullptr);
    const int before = lua_gettop(L);
    EXPECT_EQ(lua->RunScriptCall(), c.done) << c.script;
    EXPECT_EQ(lua_gettop(L), before);
    if (c.error) {
      EXPECT_THAT(lua->GetError(), HasSubstr(c.error));
    }
  }
}

TEST_F(LuaWorld, AFailingCallIsShownOncePerStart) {
  const char* script = "function CallChannel() error('call failed') end";
  Tvo_Lua* lua = NewLua(script);
  lua->CallChannel();
  lua->CallChannel();
  ASSERT_EQ(UserErrors().size(), 1u);
  EXPECT_THAT(UserErrors()[0], StartsWith("Error in lua script"));
  EXPECT_THAT(UserErrors()[0], HasSubstr("call failed"));

  ASSERT_TRUE(lua->SetScript(script));
  lua->CallChannel();
  lua->CallChannel();
  EXPECT_EQ(UserErrors().size(), 2u) << "a new start shows the next failure again";
}

TEST_F(LuaWorld, ScriptsThatCannotStartLeaveNoInterpreter) {
  const struct {
    const char* script;
    const char* error;
  } cases[] = {
      {"function GetValue( return 1 end", "[string \"Counter\"]:1:"},
      {"error('main chunk failed')", "main chunk failed"},
      {"local x = channel.GetChild(0)", "Error channel library used before the script started"},
      {"\x1bLua\x51", "precompiled chunks are not accepted as scripts"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    engine_.sink.Clear();
    Tvo_Lua* lua = NewLua();
    lua->SetChannelName("Counter");
    EXPECT_FALSE(lua->SetScript(c.script));
    EXPECT_THAT(lua->GetError(), HasSubstr(c.error));
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_THAT(Errors()[0], StartsWith("cannot run configuration file: "));
    EXPECT_THAT(Errors()[0], HasSubstr(lua->GetError()));
    EXPECT_STREQ(lua->GetScript(), c.script) << "the script is kept for the editor";
    EXPECT_FLOAT_EQ(lua->GetFloat(), 0.0f);
    EXPECT_STREQ(lua->GetError(), "Script not valid Lua not started");
    EXPECT_FALSE(lua->RunScriptCall());
    EXPECT_STREQ(lua->GetError(), "Script not valid Lua not started");
  }
}

TEST_F(LuaWorld, AnEmptyScriptFailsQuietlyAndANullScriptChangesNothing) {
  Tvo_Lua* lua = NewLua("function GetValue() return 3 end");
  EXPECT_FALSE(lua->SetScript(""));
  EXPECT_STREQ(lua->GetError(), "Error no script found");
  EXPECT_STREQ(lua->GetScript(), "");
  EXPECT_TRUE(Errors().empty());
  EXPECT_TRUE(UserErrors().empty());

  ASSERT_TRUE(lua->SetScript("function GetValue() return 3 end"));
  EXPECT_FALSE(lua->SetScript(nullptr));
  EXPECT_EQ(UserErrors(), std::vector<std::string>{"Script not valid"});
  EXPECT_STREQ(lua->GetScript(), "function GetValue() return 3 end");
  EXPECT_FLOAT_EQ(lua->GetFloat(), 3.0f) << "the running script goes on";
}

TEST_F(LuaWorld, TheNextRunTriesAgainAfterAFailure) {
  Tvo_Lua* lua = NewLua("fail = true function GetValue() if fail then fail = false error('once') end return 5 end");
  EXPECT_FLOAT_EQ(lua->GetFloat(), 0.0f);
  EXPECT_THAT(lua->GetError(), HasSubstr("once"));
  EXPECT_FLOAT_EQ(lua->GetFloat(), 5.0f);
}

// Two scripts that call each other without end stop at a depth limit instead
// of using up the host's stack. The innermost call fails and is shown; the
// calls above it succeed, and both channels go on working.
TEST_F(LuaWorld, ScriptsCallingEachOtherEndlesslyFailInsteadOfCrashing) {
  Tvo_Lua* first = NewLua();
  Tvo_Lua* second = NewLua();
  Link(first, second);
  Link(second, first);
  const char* script = "function CallChannel() channel.GetChild(0):CallChannel() end function GetValue() return 1 end";
  ASSERT_TRUE(first->SetScript(script));
  ASSERT_TRUE(second->SetScript(script));
  EXPECT_TRUE(first->RunScriptCall());
  ASSERT_FALSE(UserErrors().empty());
  EXPECT_THAT(UserErrors()[0], HasSubstr("Error script runs nested too deeply"));
  EXPECT_FLOAT_EQ(first->GetFloat(), 1.0f);
  EXPECT_FLOAT_EQ(second->GetFloat(), 1.0f);
}

// A finalizer that raises runs inside whichever run collected its object:
// that run fails, nothing unprotected ever meets it.
TEST_F(LuaWorld, FailingFinalizersNeverEscapeARun) {
  ProbeLua* lua = NewProbe(
      "function GetValue()"
      "  for i = 1, 100 do local p = newproxy(true) getmetatable(p).__gc = function() error('finalizer') end end"
      "  collectgarbage() return 1 end");
  for (int run = 0; run < 50; ++run) BalancedGetFloat(lua);
  EXPECT_TRUE(lua->SetScript("function GetValue() return 2 end")) << "closing runs the remaining finalizers safely";
  EXPECT_FLOAT_EQ(lua->GetFloat(), 2.0f);
}

TEST_F(LuaWorld, ChannelDescribesItselfAsTheLuaScriptType) {
  Tvo_Lua* lua = NewLua();
  const ChannelType type = lua->GetChannelType();
  EXPECT_STREQ(type.name, "Lua Script");
  EXPECT_EQ(type.guid, kLuaScriptType);
  EXPECT_EQ(type.baseGuid, kValueChannelType);
  EXPECT_EQ(type.versionInfo[0], 1);
  EXPECT_EQ(type.versionInfo[1], kEngineVersion);
  EXPECT_EQ(type.versionInfo[2], 0);
  EXPECT_STREQ(lua->GetChannelName(), "Lua Script");
  EXPECT_EQ(lua->GetScript(), nullptr);

  ChildCreation* links = channelInternal.GetChildCreateType(lua, 0);
  ASSERT_NE(links, nullptr);
  EXPECT_EQ(channelInternal.GetChildCreationCount(lua), 1);
  EXPECT_EQ(links->requestLink, -1);
  EXPECT_STREQ(links->childName, "Channels to access");
  EXPECT_EQ(links->createChild, 0);
  EXPECT_EQ(links->channelType.guid, ChildCreation().channelType.guid);

  const LuaWindowPos unset = lua->GetWindowSize();
  EXPECT_EQ(unset.left, -1);
  EXPECT_EQ(unset.bottom, -1);
  lua->SetWindowSize({1, 2, 3, 4});
  EXPECT_EQ(lua->GetWindowSize().right, 3);

  lua->DoTestFunction();
  EXPECT_TRUE(engine_.sink.Contains("Getchannel name Lua Script"));
}

// No plug-in provides the loading queue or the array channel yet: the channel
// works without them.
TEST_F(LuaWorld, WithoutTheSharedLoaderAndArrayChannelsEventsDoNothing) {
  Tvo_Lua* lua = NewLua("function GetValue() return 1 end");
  lua->DoEvent(0, 0);
  lua->DoEvent(1, 0);
  EXPECT_EQ(lua->GetDynamicQueueedLoader(), nullptr);
  EXPECT_EQ(lua->GetArrayUnique(), nullptr);
  lua->DoEvent(0, 0);
  // The two types it asks for are not installed, so only its own type and
  // its base type are needed.
  Tvk_List dependencies;
  channelInternal.GetChannelDepenency(lua, &dependencies);
  std::vector<GUID> types;
  for (int i = 0; i < dependencies.GetItemCount(); ++i) {
    auto* dependency = static_cast<ChannelDependency*>(dependencies.GetItem(i));
    types.push_back(dependency->typeGuid);
    delete dependency;
  }
  EXPECT_EQ(types, (std::vector<GUID>{kLuaScriptType, kValueChannelType}));
  EXPECT_FLOAT_EQ(lua->GetFloat(), 1.0f);
}

TEST_F(LuaWorld, TickCountIsTheFrameTimeChannelsValue) {
  Tvo_Lua* lua = NewLua();
  EXPECT_FLOAT_EQ(lua->GetTickCount(), 0.0f) << "no frame measured yet";
  const std::uint32_t before = platform::GetTickCount();
  engine_->engineInterfaceExt->IncreaseTreeCount();
  const std::uint32_t between = platform::GetTickCount();
  platform::SleepMilliseconds(5);
  const std::uint32_t secondBefore = platform::GetTickCount();
  engine_->engineInterfaceExt->IncreaseTreeCount();
  const std::uint32_t after = platform::GetTickCount();
  const float units = lua->GetTickCount();
  EXPECT_GE(units * 40.0f, static_cast<float>(secondBefore - between) - 0.01f);
  EXPECT_LE(units * 40.0f, static_cast<float>(after - before) + 0.01f);
}

}  // namespace
}  // namespace luatest

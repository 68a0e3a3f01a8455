// The script environment: exactly the listed names, nothing that reaches
// files, programs, loaders or another channel's globals.

#include <string>

#include "LuaWorld.h"

namespace luatest {
namespace {

using ::testing::HasSubstr;

// Each body must fail inside a script. A script sees the failure as an error
// of its run.
const char* const kForbidden[] = {
    "io.open('/etc/passwd')",
    "io.write('x')",
    "os.execute('true')",
    "os.remove('/tmp/never')",
    "os.rename('/tmp/a', '/tmp/b')",
    "os.tmpname()",
    "os.setlocale('C')",
    "require('os')",
    "package.loaded.os = nil",
    "module('m')",
    "dofile('/etc/passwd')",
    "loadfile('/etc/passwd')",
    "loadstring('return 1')",
    "load(function() return nil end)",
    "debug.getinfo(1)",
    "print('x')",
    "select('#', 1)",
    "string.match('a', 'a')",
    "string.gmatch('a', 'a')",
    "string.reverse('ab')",
    "('a'):match('a')",
    "math.fmod(7, 3)",
    "math.modf(1.5)",
    "local h = math.huge + 1",
    "math.cosh(1)",
    "table.maxn({})",
    "coroutine.running()",
    // Bytecode from string.dump has no way back in.
    "local code = string.dump(function() return 1 end) local f = loadstring or load or dofile or loadfile or require "
    "f(code)",
    "local code = string.dump(function() return 1 end) getmetatable('').__index.load(code)",
    "getfenv(0).loadstring('return 1')",
    "getfenv(tostring).require('io')",
};

class Forbidden : public LuaWorld, public ::testing::WithParamInterface<const char*> {};

TEST_P(Forbidden, FailsInsideAScript) {
  const std::string script = std::string("function GetValue() ") + GetParam() + " return 1 end";
  ProbeLua* lua = NewProbe(script.c_str());
  ASSERT_NE(lua->State(), nullptr) << lua->GetError();
  EXPECT_FLOAT_EQ(BalancedGetFloat(lua), 0.0f);
  EXPECT_THAT(lua->GetError(), HasSubstr("attempt to")) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Names, Forbidden, ::testing::ValuesIn(kForbidden));

// The script lists every name it may use (and its own GetValue); any other
// name, and any missing one, makes it answer the name.
constexpr char kEnvironmentCensus[] = R"(
local allowed = {
  _G = {"error", "getmetatable", "setmetatable", "getfenv", "setfenv", "next", "ipairs", "pairs",
        "tonumber", "tostring", "type", "assert", "unpack", "rawequal", "rawget", "rawset", "pcall",
        "xpcall", "collectgarbage", "gcinfo", "newproxy", "_G", "_VERSION", "__pow",
        "coroutine", "string", "math", "os", "table", "channel", "channelGroup", "GetValue"},
  coroutine = {"create", "wrap", "resume", "yield", "status"},
  string = {"len", "sub", "lower", "upper", "char", "rep", "byte", "format", "dump", "find", "gfind", "gsub"},
  math = {"abs", "sin", "cos", "tan", "asin", "acos", "atan", "atan2", "ceil", "floor", "mod", "frexp",
          "ldexp", "sqrt", "min", "max", "log", "log10", "exp", "deg", "pow", "rad", "random",
          "randomseed", "pi"},
  os = {"clock", "date", "difftime", "exit", "getenv", "time"},
  table = {"concat", "foreach", "foreachi", "getn", "setn", "sort", "insert", "remove"},
  channel = {"GetChild", "GetPublic"},
  channelGroup = {"GetGroup"},
}
local function Census()
  for tableName, names in pairs(allowed) do
    local t = tableName == "_G" and _G or _G[tableName]
    local listed = {}
    for _, name in ipairs(names) do
      listed[name] = true
      if t[name] == nil then return "missing " .. tableName .. "." .. name end
    end
    for name in pairs(t) do
      if not listed[name] then return "unlisted " .. tableName .. "." .. tostring(name) end
    end
  end
  return "exact"
end
function GetValue() error(Census()) end
)";

// A script that tries to end the process only fails its own run; this test
// program would not get past it otherwise.
TEST_F(LuaWorld, OsExitIsAnErrorOfTheRunNotTheEndOfTheHost) {
  ProbeLua* lua = NewProbe("function GetValue() os.exit(3) return 1 end");
  ASSERT_NE(lua->State(), nullptr) << lua->GetError();
  EXPECT_FLOAT_EQ(BalancedGetFloat(lua), 0.0f);
  EXPECT_THAT(lua->GetError(), HasSubstr("os.exit is refused"));
  Tvo_Lua* caller = NewLua("function CallChannel() os.exit(0) end");
  caller->CallChannel();
  EXPECT_THAT(caller->GetError(), HasSubstr("os.exit is refused"));
}

TEST_F(LuaWorld, TheEnvironmentHoldsExactlyTheListedNames) {
  Tvo_Lua* lua = NewLua(kEnvironmentCensus);
  ASSERT_TRUE(lua->GetScript() && lua->GetError() == nullptr) << lua->GetError();
  lua->GetFloat();
  EXPECT_THAT(lua->GetError(), HasSubstr("exact"));
}

TEST_F(LuaWorld, KeptNamesOfTheOlderInterpreterWork) {
  const struct {
    const char* expression;
    float value;
  } cases[] = {
      {"__pow(2, 10)", 1024.0f},
      {"2 ^ 10", 1024.0f},
      {"math.mod(7, 3)", 1.0f},
      {"table.getn({4, 5, 6})", 3.0f},
      {"(function() local n = 0 for w in string.gfind('a b c', '%a') do n = n + 1 end return n end)()", 3.0f},
      {"table.foreach({x = 7}, function(k, v) return v end)", 7.0f},
      {"table.foreachi({8, 9}, function(i, v) return v end)", 8.0f},
      {"gcinfo() > 0 and 1 or 0", 1.0f},
      {"type(newproxy(true)) == 'userdata' and 1 or 0", 1.0f},
      {"(_VERSION == 'Lua 5.1') and 1 or 0", 1.0f},
      {"coroutine.resume(coroutine.create(function() coroutine.yield() end)) and 1 or 0", 1.0f},
      {"os.time() > 0 and 1 or 0", 1.0f},
      {"#string.dump(function() end) > 0 and 1 or 0", 1.0f},
  };
  for (const auto& c : cases) {
    const std::string script = std::string("function GetValue() return ") + c.expression + " end";
    Tvo_Lua* lua = NewLua(script.c_str());
    EXPECT_FLOAT_EQ(lua->GetFloat(), c.value) << c.expression << ": " << (lua->GetError() ? lua->GetError() : "");
  }
}

TEST_F(LuaWorld, TwoChannelsNeverShareGlobals) {
  Tvo_Lua* first = NewLua("shared = 5 string.len = nil function GetValue() return shared end");
  Tvo_Lua* second = NewLua(
      "function GetValue() if shared ~= nil or string.len == nil then return -1 end "
      "return getfenv(0) == _G and getfenv(string.len) == _G and 1 or 0 end");
  EXPECT_FLOAT_EQ(first->GetFloat(), 5.0f);
  EXPECT_FLOAT_EQ(second->GetFloat(), 1.0f) << (second->GetError() ? second->GetError() : "");
}

// A channel linked to a script is reached only through the library; its
// script's globals stay out of reach.
TEST_F(LuaWorld, ALinkedScriptsGlobalsStayOutOfReach) {
  Tvo_Lua* target = NewLua("secret = 9 function GetValue() return 1 end");
  Tvo_Lua* lua = NewLua();
  Link(lua, target);
  ASSERT_TRUE(lua->SetScript(
      "function GetValue() local ch = channel.GetChild(0) "
      "if secret ~= nil or rawget(getmetatable(ch), 'secret') ~= nil then return -1 end return ch:GetValue() end"));
  EXPECT_FLOAT_EQ(lua->GetFloat(), 1.0f) << (lua->GetError() ? lua->GetError() : "");
  EXPECT_FLOAT_EQ(target->GetFloat(), 1.0f);
}

}  // namespace
}  // namespace luatest

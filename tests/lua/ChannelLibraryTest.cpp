// The channel and channel group libraries: references by index, value and
// text channels, names, interface types, calls and group searches.

#include <initializer_list>
#include <string>
#include <vector>

#include "LuaWorld.h"

namespace luatest {
namespace {

using ::testing::HasSubstr;

class ChannelLibrary : public LuaWorld {
 protected:
  // Runs `body` as GetValue of a Lua channel linked to `children`.
  float Run(const std::string& body, std::initializer_list<Tvk_Channel*> children = {}) {
    lua_ = NewLua();
    for (Tvk_Channel* child : children) Link(lua_, child);
    const std::string script = "function GetValue() " + body + " end";
    EXPECT_TRUE(lua_->SetScript(script.c_str())) << lua_->GetError();
    return lua_->GetFloat();
  }
  std::string Error() const { return lua_->GetError() ? lua_->GetError() : ""; }

  Tvo_Lua* lua_ = nullptr;
};

TEST_F(ChannelLibrary, ReadsAndWritesValueChannels) {
  Tvo_FloatChannel* value = NewValue(4.5f);
  EXPECT_FLOAT_EQ(Run("local ch = channel.GetChild(0) ch:SetValue(ch:GetValue() * 2) return ch:GetValue()", {value}),
                  9.0f);
  EXPECT_FLOAT_EQ(value->GetFloat(), 9.0f);
  EXPECT_FLOAT_EQ(value->GetOldFloat(), 4.5f);
}

TEST_F(ChannelLibrary, ReadsOtherScriptsAsValueChannels) {
  Tvo_Lua* inner = NewLua("function GetValue() return 6 end");
  EXPECT_FLOAT_EQ(Run("return channel.GetChild(0):GetValue() + 1", {inner}), 7.0f);
}

TEST_F(ChannelLibrary, ReadsAndWritesTextChannels) {
  Tvo_TextChannel* text = NewText();
  EXPECT_FLOAT_EQ(Run("local ch = channel.GetChild(0) if ch:GetText() ~= '' then return -1 end "
                      "ch:SetText('abc') return #ch:GetText()",
                      {text}),
                  3.0f)
      << Error();
  EXPECT_STREQ(text->GetText(), "abc");
  Run("channel.GetChild(0):SetText(12) return 1", {text});
  EXPECT_STREQ(text->GetText(), "12") << "a number is taken as text";
}

TEST_F(ChannelLibrary, EmptyLinksAndOutOfRangeIndicesGiveNil) {
  EXPECT_FLOAT_EQ(Run("return channel.GetChild(0) == nil and channel.GetChild(-3) == nil and "
                      "channel.GetChild(1e300) == nil and channel.GetPublic(5, 0) == nil and 1 or 0"),
                  1.0f)
      << Error();
}

TEST_F(ChannelLibrary, ChildIndicesAreTruncatedTowardZero) {
  Tvo_FloatChannel* first = NewValue(10.0f);
  Tvo_FloatChannel* second = NewValue(20.0f);
  const struct {
    const char* index;
    float value;
  } cases[] = {{"1.9", 20.0f}, {"-0.5", 10.0f}, {"0.99", 10.0f}, {"1", 20.0f}, {"'1'", 20.0f}};
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(Run(std::string("return channel.GetChild(") + c.index + "):GetValue()", {first, second}), c.value)
        << c.index << ": " << Error();
  }
  EXPECT_FLOAT_EQ(Run("return channel.GetPublic(1.7, 0.2):GetValue()", {first, second}), 20.0f)
      << "GetPublic of an ordinary link is GetChild";
}

struct WrongUse {
  const char* body;
  const char* error;  // the whole error text: raised without a position
};

const WrongUse kWrongUses[] = {
    {"channel.GetChild(0):GetText()", "Error in GetText() channel was not a text channel"},
    {"channel.GetChild(0):SetText('x')", "Error in SetText() channel was not a text channel"},
    {"channel.GetChild(1):GetValue()", "Error in GetValue() channel was not a value channel"},
    {"channel.GetChild(1):SetValue(2)", "Error in SetValue() channel was not a value channel"},
};

TEST_F(ChannelLibrary, WrongKindsRaiseTheirTextsWithoutPosition) {
  Tvo_FloatChannel* value = NewValue(1.0f);
  Tvo_TextChannel* text = NewText("t");
  for (const WrongUse& c : kWrongUses) {
    EXPECT_FLOAT_EQ(Run(std::string(c.body) + " return 1", {value, text}), 0.0f);
    EXPECT_EQ(Error(), c.error) << c.body;
  }
  EXPECT_STREQ(text->GetText(), "t");
  EXPECT_FLOAT_EQ(value->GetFloat(), 1.0f);
}

TEST_F(ChannelLibrary, ArgumentsOfTheWrongTypeRaiseTheStandardArgumentError) {
  Tvo_FloatChannel* value = NewValue(1.0f);
  const struct {
    const char* body;
    const char* explanation;
  } cases[] = {
      {"local f = channel.GetChild(0).GetValue f(5)", "`channel' expected"},
      {"channel.GetChild(0).SetValue(newproxy(true), 1)", "`channel' expected"},
      {"channel.GetChild(0):SetValue('many')", "number expected"},
      {"channel.GetChild()", "number expected"},
      {"channelGroup.GetGroup('Pool').GetChannelOfSameTypeInGroup(channel.GetChild(0), channel.GetChild(0))",
       "`channelgroup' expected"},
      {"channelGroup.GetGroup('Pool'):GetChannelOfSameTypeInGroup(7)", "`channel' expected"},
      {"channelGroup.GetGroup()", "string expected"},
  };
  for (const auto& c : cases) {
    EXPECT_FLOAT_EQ(Run(std::string(c.body) + " return 1", {value}), 0.0f);
    EXPECT_THAT(Error(), HasSubstr("bad argument")) << c.body;
    EXPECT_THAT(Error(), HasSubstr(c.explanation)) << c.body;
  }
}

// A reference holds indices: once its channel is gone it resolves to nothing.
// Readers and calls raise, setters do nothing.
TEST_F(ChannelLibrary, ReferencesToDeletedChannelsResolveToNothing) {
  const struct {
    const char* use;
    const char* error;  // nullptr: the run succeeds
  } cases[] = {
      {"kept:GetValue()", "Error in GetValue() channel was NULL"},
      {"kept:GetText()", "Error in GetText() channel was NULL"},
      {"kept:CallChannel()", "Error in CallChannel() channel was NULL"},
      {"kept:SetValue(1) kept:SetText('x') kept:SetName('n') kept:SetPublic(1)", nullptr},
  };
  for (const auto& c : cases) {
    Tvo_FloatChannel* value = NewValue(3.0f);
    Tvo_Lua* lua = NewLua();
    Link(lua, value);
    const std::string script =
        std::string("function CallChannel() kept = channel.GetChild(0) end function GetValue() ") + c.use +
        " return 1 end";
    ASSERT_TRUE(lua->SetScript(script.c_str()));
    ASSERT_TRUE(lua->RunScriptCall());
    ASSERT_TRUE(pool_->RemoveChannel(value));
    if (c.error) {
      EXPECT_FLOAT_EQ(lua->GetFloat(), 0.0f);
      EXPECT_STREQ(lua->GetError(), c.error);
    } else {
      EXPECT_FLOAT_EQ(lua->GetFloat(), 1.0f) << lua->GetError();
    }
  }
}

TEST_F(ChannelLibrary, RenamesOnlyWithAText) {
  Tvo_FloatChannel* value = NewValue(1.0f);
  value->SetChannelName("Old");
  Run("channel.GetChild(0):SetName('') return 1", {value});
  EXPECT_STREQ(value->GetChannelName(), "Old");
  Run("channel.GetChild(0):SetName('New') return 1", {value});
  EXPECT_STREQ(value->GetChannelName(), "New");
}

TEST_F(ChannelLibrary, SetPublicKnowsOnlyPrivateAndPublic) {
  Tvo_FloatChannel* value = NewValue(1.0f);
  value->SetChannelName("Shared");
  const struct {
    int mode;
    int type;
  } steps[] = {{1, TVO_PUBLIC}, {2, TVO_PUBLIC}, {0, TVO_PRIVATE}, {-1, TVO_PRIVATE}, {1, TVO_PUBLIC}};
  for (const auto& step : steps) {
    Run("channel.GetChild(0):SetPublic(" + std::to_string(step.mode) + ") return 1", {value});
    EXPECT_EQ(value->GetChannelInterfaceType(), step.type) << "mode " << step.mode;
  }
}

TEST_F(ChannelLibrary, CallsLinkedChannels) {
  Tvo_Lua* counter = NewLua("calls = 0 function CallChannel() calls = calls + 1 end function GetValue() return calls end");
  EXPECT_FLOAT_EQ(Run("local ch = channel.GetChild(0) ch:CallChannel() ch:CallChannel() return ch:GetValue()", {counter}),
                  2.0f);
}

class ChannelGroupLibrary : public ChannelLibrary {
 protected:
  // Groups by index: 0 Pool (the fixture's), 1 Other, 2..4 the array "Bank"
  // numbered 0..2, each holding a value channel whose value is its index.
  ChannelGroupLibrary() {
    groups_.push_back(pool_);
    groups_.push_back(engine_->CreateNewGroup("Other", false, -1));
    for (int i = 0; i < 3; ++i) groups_.push_back(engine_->CreateNewGroup("Bank", true, -1));
    for (std::size_t i = 1; i < groups_.size(); ++i) {
      auto* value = static_cast<Tvo_FloatChannel*>(NewChannel(kValueChannelType, groups_[i]));
      value->SetFloat(static_cast<float>(i));
    }
  }
  std::vector<Tvk_ChannelGroup*> groups_;
};

TEST_F(ChannelGroupLibrary, FindsTheLowestIndexedGroupByPoolNameIgnoringCase) {
  ASSERT_EQ(groups_[4]->GetPoolNr(), 2);
  Tvo_FloatChannel* model = NewValue(0.0f);
  const struct {
    const char* call;
    float value;  // the found group's value channel; -1: no group
  } cases[] = {
      {"channelGroup.GetGroup('BANK')", 2.0f},
      {"channelGroup.GetGroup('bAnK', 2)", 4.0f},
      {"channelGroup.GetGroup('Bank', '1')", 3.0f},
      {"channelGroup.GetGroup('Bank', 1.8)", 3.0f},
      {"channelGroup.GetGroup('Bank', 7)", -1.0f},
      {"channelGroup.GetGroup('Other', 'x')", 1.0f},
      {"channelGroup.GetGroup('')", -1.0f},
      {"channelGroup.GetGroup('Nowhere')", -1.0f},
  };
  for (const auto& c : cases) {
    engine_.sink.Clear();
    const float found =
        Run(std::string("local g = ") + c.call +
                " if g == nil then return -1 end return g:GetChannelOfSameTypeInGroup(channel.GetChild(0)):GetValue()",
            {model});
    EXPECT_FLOAT_EQ(found, c.value) << c.call << ": " << Error();
    const bool reportedFound = !Errors().empty() && Errors().back().rfind("Found group:", 0) == 0;
    EXPECT_EQ(reportedFound, c.value >= 0.0f) << c.call;
    if (c.value < 0.0f) {
      EXPECT_TRUE(engine_.sink.Contains("Could not get group GetGroup in Lua Script")) << c.call;
    }
  }
}

// Same type means same base type: a Lua channel finds the first value
// channel of the group, itself included as a candidate.
TEST_F(ChannelGroupLibrary, SameTypeSearchComparesBaseTypes) {
  Tvk_ChannelGroup* mixed = engine_->CreateNewGroup("Mixed", false, -1);
  auto* text = static_cast<Tvo_TextChannel*>(NewChannel(kTextChannelType, mixed));
  text->SetText("first text");
  auto* value = static_cast<Tvo_FloatChannel*>(NewChannel(kValueChannelType, mixed));
  value->SetFloat(42.0f);
  auto* script = static_cast<Tvo_Lua*>(NewChannel(kLuaScriptType, mixed));
  ASSERT_TRUE(script->SetScript("function GetValue() return 5 end"));
  Tvo_TextChannel* otherText = NewText("other");

  EXPECT_FLOAT_EQ(Run("local g = channelGroup.GetGroup('Mixed') "
                      "return g:GetChannelOfSameTypeInGroup(channel.GetChild(0)):GetValue()",
                      {script}),
                  42.0f)
      << Error();
  EXPECT_FLOAT_EQ(Run("local g = channelGroup.GetGroup('Mixed') "
                      "return #g:GetChannelOfSameTypeInGroup(channel.GetChild(0)):GetText()",
                      {otherText}),
                  10.0f)
      << Error();
  EXPECT_FLOAT_EQ(Run("local g = channelGroup.GetGroup('Mixed') "
                      "return g:GetChannelOfSameTypeInGroup(channel.GetChild(0)) == nil and 1 or 0",
                      {NewLua()}),
                  0.0f)
      << "a value channel is always found";

  // A reference to a group that was deleted finds nothing.
  Tvo_Lua* keeper = NewLua();
  Link(keeper, NewValue(1.0f));
  ASSERT_TRUE(keeper->SetScript(
      "function CallChannel() g = channelGroup.GetGroup('Mixed') end "
      "function GetValue() return g:GetChannelOfSameTypeInGroup(channel.GetChild(0)) == nil and 1 or 0 end"));
  ASSERT_TRUE(keeper->RunScriptCall());
  EXPECT_FLOAT_EQ(keeper->GetFloat(), 0.0f);
  engine_->DeleteChannelGroup(mixed->GetGroupIndex());
  EXPECT_FLOAT_EQ(keeper->GetFloat(), 1.0f) << keeper->GetError();
}

}  // namespace
}  // namespace luatest

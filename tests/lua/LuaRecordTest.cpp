// The Lua channel's record after the base record: "LUSL", "LUSC", "LUWS".

#include <cstdint>
#include <string>
#include <vector>

#include "LuaWorld.h"
#include "TvkFile.h"

namespace luatest {
namespace {

using ::testing::HasSubstr;

std::string Int32(std::int32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
  return bytes;
}

std::string Block(const char* tag, const std::string& data) { return tag + Int32(static_cast<int>(data.size())) + data; }

std::string WindowPos(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
  return Block("LUWS", Int32(a) + Int32(b) + Int32(c) + Int32(d));
}

class LuaRecord : public LuaWorld {
 protected:
  std::string Save(Tvo_Lua* lua, bool baseOnly = false) {
    TvkFileSaver saver(engine_.Get());
    saver.OpenMemory();
    EXPECT_TRUE(baseOnly ? lua->Tvk_Channel::SaveChannel(saver) : lua->SaveChannel(saver));
    return std::string(saver.GetBuffer() ? saver.GetBuffer() : "", saver.GetBufferSize());
  }

  bool Load(Tvo_Lua* lua, const std::string& bytes) {
    TvkFileLoader loader(engine_.Get());
    std::vector<char> copy(bytes.begin(), bytes.end());
    loader.SetBuffer(copy.data(), static_cast<int>(copy.size()), true);
    return lua->LoadChannel(loader, pool_);
  }

  // The base record of a fresh Lua channel: what every record here starts with.
  std::string BaseRecord() { return Save(NewLua(), true); }
};

TEST_F(LuaRecord, WritesTheScriptAndWindowAfterTheBaseRecord) {
  const struct {
    const char* script;  // nullptr: never set
    std::string tail;
  } cases[] = {
      {nullptr, WindowPos(-1, -1, -1, -1)},
      {"", Block("LUSL", Int32(0)) + WindowPos(-1, -1, -1, -1)},
      {"x = 1", Block("LUSL", Int32(5)) + Block("LUSC", std::string("x = 1", 6)) + WindowPos(-1, -1, -1, -1)},
  };
  const std::string base = BaseRecord();
  ASSERT_FALSE(base.empty());
  for (const auto& c : cases) {
    Tvo_Lua* lua = NewLua(c.script);
    EXPECT_EQ(Save(lua), base + c.tail) << (c.script ? c.script : "never set");
  }
  Tvo_Lua* placed = NewLua();
  placed->SetWindowSize({10, -20, 300, 400});
  EXPECT_EQ(Save(placed), base + WindowPos(10, -20, 300, 400));
}

TEST_F(LuaRecord, LoadingStartsTheScriptAndRestoresTheWindow) {
  std::string large = "-- " + std::string(5 * 1024 * 1024, 'x') + "\nstarted = 8 function GetValue() return started end";
  for (const std::string& script : {std::string("started = 7 function GetValue() return started end"), large}) {
    Tvo_Lua* original = NewLua(script.c_str());
    original->SetWindowSize({1, 2, 3, 4});
    const std::string record = Save(original);

    Tvo_Lua* copy = NewLua();
    ASSERT_TRUE(Load(copy, record));
    EXPECT_EQ(std::string(copy->GetScript()), script);
    EXPECT_FLOAT_EQ(copy->GetFloat(), script.size() > 1000 ? 8.0f : 7.0f) << "the main chunk ran while loading";
    const LuaWindowPos position = copy->GetWindowSize();
    EXPECT_EQ(position.left, 1);
    EXPECT_EQ(position.bottom, 4);
    EXPECT_EQ(Save(copy), record);
  }
}

TEST_F(LuaRecord, ARecordWithoutScriptLeavesNoScript) {
  for (const char* script : {static_cast<const char*>(nullptr), ""}) {
    const std::string record = Save(NewLua(script));
    Tvo_Lua* copy = NewLua();
    ASSERT_TRUE(Load(copy, record));
    EXPECT_EQ(copy->GetScript(), nullptr);
    EXPECT_EQ(copy->GetWindowSize().top, -1);
  }
}

TEST_F(LuaRecord, AScriptThatFailsWhileLoadingStillLoads) {
  const std::string record = Save(NewLua("error('not today')"));
  engine_.sink.Clear();
  Tvo_Lua* copy = NewLua();
  ASSERT_TRUE(Load(copy, record));
  EXPECT_STREQ(copy->GetScript(), "error('not today')");
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_THAT(Errors()[0], HasSubstr("not today"));
  EXPECT_FLOAT_EQ(copy->GetFloat(), 0.0f);
  EXPECT_STREQ(copy->GetError(), "Script not valid Lua not started");
}

// What a reader of untrusted files meets: blocks that do not fit their
// buffer, lengths that promise more than the data holds, odd sizes.
TEST_F(LuaRecord, HostileScriptBlocksAreRefusedWithoutOverflow) {
  const std::string window = WindowPos(5, 6, 7, 8);
  const struct {
    const char* name;
    std::string tail;
    bool loads;
    const char* script;  // expected; nullptr: none
  } cases[] = {
      {"block of stated length", Block("LUSL", Int32(5)) + Block("LUSC", std::string("v = 1", 6)) + window, true,
       "v = 1"},
      {"ten bytes more, no terminator", Block("LUSL", Int32(5)) + Block("LUSC", "v = 1          ") + window, true,
       "v = 1          "},
      {"eleven bytes more", Block("LUSL", Int32(5)) + Block("LUSC", "v = 1           ") + window, false, nullptr},
      {"huge stated length, small block", Block("LUSL", Int32(0x7FFFFFFF)) + Block("LUSC", std::string("v = 1", 6)) + window,
       true, "v = 1"},
      {"negative length", Block("LUSL", Int32(-4)) + Block("LUSC", std::string("v = 1", 6)), true, nullptr},
      {"length block of odd size", Block("LUSL", "abc") + window, true, nullptr},
      {"script block past the end", Block("LUSL", Int32(5)) + "LUSC" + Int32(1000) + "v = 1", false, nullptr},
      {"length block past the end", std::string("LUSL") + Int32(4) + "ab", false, nullptr},
      {"window block of odd size", Block("LUWS", "12345678"), true, nullptr},
  };
  const std::string base = BaseRecord();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Tvo_Lua* lua = NewLua();
    engine_.sink.Clear();
    EXPECT_EQ(Load(lua, base + c.tail), c.loads);
    if (!c.loads) {
      EXPECT_FALSE(Errors().empty()) << "a refused record says why";
    }
    if (c.script) {
      EXPECT_STREQ(lua->GetScript(), c.script);
      EXPECT_EQ(lua->GetWindowSize().left, 5);
    } else {
      EXPECT_EQ(lua->GetScript(), nullptr);
    }
  }
}

// A whole group file: the script starts while its group loads, before the
// links are made, and reads its linked channel once they are.
TEST_F(LuaRecord, AScriptSurvivesAGroupFileRoundTrip) {
  testsupport::TempDir dir;
  Tvk_ChannelGroup* group = engine_->CreateNewGroup("Scripted", false, -1);
  auto* value = static_cast<Tvo_FloatChannel*>(NewChannel(kValueChannelType, group));
  value->SetFloat(2.0f);
  auto* lua = static_cast<Tvo_Lua*>(NewChannel(kLuaScriptType, group));
  Link(lua, value);
  ASSERT_TRUE(lua->SetScript("function GetValue() return channel.GetChild(0):GetValue() * 10 end"));
  const std::string file = dir.File("scripted.cgr");
  ASSERT_TRUE(group->SaveChannelGroup(file.c_str()));
  engine_->DeleteChannelGroup(group->GetGroupIndex());

  Tvk_ChannelGroup* loaded = engine_->LoadChannelGroup(file.c_str(), "Scripted");
  ASSERT_NE(loaded, nullptr);
  Tvo_Lua* script = nullptr;
  for (int i = 0; i < loaded->GetChannelCount(); ++i) {
    Tvk_Channel* channel = loaded->GetChannel(i);
    if (channel && channel->GetChannelType().guid == kLuaScriptType) script = static_cast<Tvo_Lua*>(channel);
  }
  ASSERT_NE(script, nullptr);
  EXPECT_FLOAT_EQ(script->GetFloat(), 20.0f) << script->GetError();
}

}  // namespace
}  // namespace luatest

// The sibling plug-ins the Lua channel works with: the value channel, the
// frame-time channel and the text channel, loaded from the engine directory.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "LuaWorld.h"
#include "Platform.h"
#include "TvkFile.h"

namespace luatest {
namespace {

const GUID kFrameTime{0xC4A19E27, 0x6B3D, 0x4F08, {0xA5, 0xE2, 0x91, 0xD0, 0x7B, 0x3C, 0x6F, 0x84}};

class Siblings : public LuaWorld {
 protected:
  std::string Save(Tvk_Channel* channel) {
    TvkFileSaver saver(engine_.Get());
    saver.OpenMemory();
    EXPECT_TRUE(channel->SaveChannel(saver));
    return std::string(saver.GetBuffer() ? saver.GetBuffer() : "", saver.GetBufferSize());
  }
  bool Load(Tvk_Channel* channel, const std::string& bytes) {
    TvkFileLoader loader(engine_.Get());
    std::vector<char> copy(bytes.begin(), bytes.end());
    loader.SetBuffer(copy.data(), static_cast<int>(copy.size()), true);
    return channel->LoadChannel(loader, pool_);
  }
};

TEST_F(Siblings, TypeRecordsMakeValueAndTextKindsRecognisable) {
  const struct {
    GUID type;
    const char* name;
    GUID base;
  } cases[] = {
      {kValueChannelType, "Value", kValueChannelType},
      {kFrameTime, "Frame Time", kValueChannelType},
      {kTextChannelType, "Text", kTextChannelType},
  };
  for (const auto& c : cases) {
    Tvk_Channel* channel = NewChannel(c.type);
    ASSERT_NE(channel, nullptr);
    const ChannelType type = channel->GetChannelType();
    EXPECT_STREQ(type.name, c.name);
    EXPECT_EQ(type.guid, c.type);
    EXPECT_EQ(type.baseGuid, c.base);
    EXPECT_EQ(type.versionInfo[1], kEngineVersion);
  }
}

TEST_F(Siblings, ValueChannelKeepsValueOldValueAndDefault) {
  Tvo_FloatChannel* value = NewValue(1.5f);
  value->SetFloat(2.5f);
  EXPECT_FLOAT_EQ(value->GetFloat(), 2.5f);
  EXPECT_FLOAT_EQ(value->GetOldFloat(), 1.5f);
  value->SetDefaultFloat(9.0f);
  EXPECT_FLOAT_EQ(value->GetDefaultFloat(), 9.0f);
  EXPECT_FALSE(value->GetDefaultFloatSetting());

  Tvo_FloatChannel* copy = NewValue(0.0f);
  ASSERT_TRUE(Load(copy, Save(value)));
  EXPECT_FLOAT_EQ(copy->GetFloat(), 2.5f);
  EXPECT_FLOAT_EQ(copy->GetDefaultFloat(), 9.0f);

  value->SetDefaultFloatSetting(true);
  Tvo_FloatChannel* reset = NewValue(0.0f);
  ASSERT_TRUE(Load(reset, Save(value)));
  EXPECT_TRUE(reset->GetDefaultFloatSetting());
  EXPECT_FLOAT_EQ(reset->GetFloat(), 9.0f) << "with the default setting a loaded channel starts from its default";
}

TEST_F(Siblings, ValueAndTextRecordsRefuseBlocksPastTheEnd) {
  for (Tvk_Channel* channel : {static_cast<Tvk_Channel*>(NewValue(1.0f)), static_cast<Tvk_Channel*>(NewText("abc"))}) {
    std::string record = Save(channel);
    record.resize(record.size() - 2);
    EXPECT_FALSE(Load(NewChannel(channel->GetChannelType().guid), record));
  }
}

TEST_F(Siblings, TextChannelKeepsNullAndEmptyApart) {
  for (const char* text : {static_cast<const char*>(nullptr), "", "some text"}) {
    Tvo_TextChannel* original = NewText(text);
    Tvo_TextChannel* copy = NewText("overwritten?");
    copy->SetText(nullptr);
    ASSERT_TRUE(Load(copy, Save(original)));
    if (text) {
      EXPECT_STREQ(copy->GetText(), text);
    } else {
      EXPECT_EQ(copy->GetText(), nullptr);
    }
  }
}

// The frame time is the tick difference of two frame events in 1/25 s; a
// set value stands until the next frame measures again.
TEST_F(Siblings, FrameTimeMeasuresTheLastFrame) {
  auto* frameTime = static_cast<Tvo_FloatChannel*>(NewChannel(kFrameTime));
  EXPECT_FLOAT_EQ(frameTime->GetFloat(), 0.0f);
  frameTime->SetFloat(3.0f);
  EXPECT_FLOAT_EQ(frameTime->GetFloat(), 3.0f);

  const std::uint32_t before = platform::GetTickCount();
  engine_->engineInterfaceExt->IncreaseTreeCount();
  const std::uint32_t between = platform::GetTickCount();
  EXPECT_FLOAT_EQ(frameTime->GetFloat(), 3.0f) << "the first frame has nothing to measure against";
  platform::SleepMilliseconds(3);
  const std::uint32_t secondBefore = platform::GetTickCount();
  engine_->engineInterfaceExt->IncreaseTreeCount();
  const std::uint32_t after = platform::GetTickCount();
  const float milliseconds = frameTime->GetFloat() * 40.0f;
  EXPECT_GE(milliseconds, static_cast<float>(secondBefore - between) - 0.01f);
  EXPECT_LE(milliseconds, static_cast<float>(after - before) + 0.01f);
}

// An install holding just these plug-ins and no channel list yet: the engine
// finds every type, and the Lua channel finds the value channel library it
// imports beside itself.
TEST(LuaInstall, AFreshInstallFindsTheScriptChannelAndItsSiblings) {
  namespace fs = std::filesystem;
  testsupport::TempInstallDir install;
  const fs::path built = fs::path(testsupport::BuildEngineDir()) / "channels";
  for (const char* file : {"2B7D40C9-E15A-4F63-9C2E-58A1D3F07B64.dll", "value.dll", "frametime.dll", "text.dll",
                           "tagreader.dll", "tagwriter.dll", "Directory.dll"}) {
    fs::copy_file(built / file, install.Path() / "channels" / file);
  }
  testsupport::StartedEngine engine(install.Path().string());
  Tvk_ChannelGroup* group = engine->CreateNewGroup("Fresh", false, -1);
  auto* value = static_cast<Tvo_FloatChannel*>(engine->InitChannelFromType(kValueChannelType, group, true));
  auto* lua = static_cast<Tvo_Lua*>(engine->InitChannelFromType(kLuaScriptType, group, true));
  ASSERT_NE(value, nullptr);
  ASSERT_NE(lua, nullptr);
  value->SetFloat(0.25f);
  ASSERT_NE(lua->SetChild(value, -1, 0), -1);
  ASSERT_TRUE(lua->SetScript("function GetValue() return channel.GetChild(0):GetValue() * 4 end"));
  EXPECT_FLOAT_EQ(lua->GetFloat(), 1.0f) << lua->GetError();
  for (const std::string& text : engine.sink.TextsOfType(kMessageError)) {
    EXPECT_EQ(text.find("unique channel"), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace luatest

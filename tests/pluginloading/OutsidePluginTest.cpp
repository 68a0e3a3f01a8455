// A plug-in built outside the source tree, against the installed package, works
// in an engine like the engine's own: its ctest test builds it and runs this.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "ChannelList.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "FileChannels.h"
#include "PluginLoadingSupport.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace pluginloading {
namespace {

constexpr GUID kOutsideType{0x0F1E2D3C, 0x4B5A, 0x4978, {0x86, 0x95, 0xA4, 0xB3, 0xC2, 0xD1, 0xE0, 0xF9}};

TEST(OutsidePlugin, AnEngineCreatesAChannelOfItsTypeWithItsChild) {
  const char* built = std::getenv("VARNEL_OUTSIDE_PLUGIN");
  ASSERT_NE(built, nullptr) << "run by the ctest test that builds the outside plug-in";
  PluginInstall install;
  std::filesystem::copy_file(built, install.ChannelFile("OutsideChannel.dll"));
  testsupport::StartedEngine engine(install.Dir());
  EXPECT_STREQ(engine->engineInterfaceExt->GetChannelList()->GetChannelType(kOutsideType).name, "Outside Channel");

  Tvk_ChannelGroup* group = engine->CreateNewGroup("Outside", false, 0);
  Tvk_Channel* channel = engine->InitChannelFromType(kOutsideType, group, true);
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(channel->GetChannelType().guid, kOutsideType);
  Tvk_Channel* reader = channel->GetChild(0);
  ASSERT_NE(reader, nullptr) << "its link position, declared outside, asked for a file loader";
  EXPECT_STREQ(reader->GetChannelName(), "Reader");
  EXPECT_EQ(reader->GetChannelType().guid, kFileLoaderType);

  engine->engineInterfaceExt->IncreaseTreeCount();
  engine->engineInterfaceExt->IncreaseTreeCount();
  EXPECT_STREQ(channel->GetChannelName(), "frames 2") << "it registered for the frame event and got it";
  EXPECT_TRUE(Errors(engine).empty());
}

}  // namespace
}  // namespace pluginloading

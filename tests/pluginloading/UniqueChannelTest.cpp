// Unique channels: one per type and name, shared by everybody who asks.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "PluginLoadingSupport.h"
#include "Tvk_Channel.h"

namespace pluginloading {
namespace {

using testplugin::kLeafType;
using testsupport::StartedEngine;

const char kNotInitialised[] =
    "A unique channel is requested only the Varnel engine is not initialized yet or not initialized anymore, "
    "unique name (GUID on next line): ";

class UniqueChannels : public ::testing::Test {
 protected:
  UniqueChannels() : install({"Leaf.dll", "SharedBaseA.dll", "SharedBaseB.dll"}), engine(install.Dir()) {
    engine.sink.Clear();
  }
  Tvk_Channel* Unique(GUID type, const char* name) { return engine->GetUniqueChannel(type, name); }

  PluginInstall install;
  StartedEngine engine;
};

TEST_F(UniqueChannels, OnePerTypeAndNameIgnoringCase) {
  Tvk_Channel* one = Unique(kLeafType, "One");
  ASSERT_NE(one, nullptr);
  EXPECT_STREQ(one->GetChannelName(), "One");
  EXPECT_EQ(Unique(kLeafType, "One"), one);
  EXPECT_EQ(Unique(kLeafType, "ONE"), one);
  Tvk_Channel* two = Unique(kLeafType, "Two");
  ASSERT_NE(two, nullptr);
  EXPECT_NE(two, one);
  // Without a name the first channel of the type answers, whatever its name.
  EXPECT_EQ(Unique(kLeafType, nullptr), one);
  EXPECT_EQ(Unique(kLeafType, ""), one);
  EXPECT_EQ(engine->engineInterfaceExt->GetUniqueChannelCount(), 2);
  EXPECT_TRUE(Errors(engine).empty());
}

TEST_F(UniqueChannels, WithoutANameTheFirstAskGivesTheChannelEveryLaterAskGets) {
  Tvk_Channel* anonymous = Unique(kLeafType, nullptr);
  ASSERT_NE(anonymous, nullptr);
  EXPECT_EQ(anonymous->GetChannelName(), nullptr);
  EXPECT_EQ(Unique(kLeafType, nullptr), anonymous);
  ChannelType record;
  record.guid = kLeafType;
  EXPECT_EQ(engine->GetUniqueChannel(record, nullptr), anonymous);
  // A name asks for another channel: the anonymous one has none to match.
  Tvk_Channel* named = Unique(kLeafType, "Named");
  EXPECT_NE(named, anonymous);
  EXPECT_EQ(engine->engineInterfaceExt->GetUniqueChannelCount(), 2);
}

TEST_F(UniqueChannels, ALongNameIsKeptAsItsLast59Characters) {
  const std::string name = std::string(11, 'x') + std::string(30, 'a') + std::string(29, 'b');
  ASSERT_EQ(name.size(), 70u);
  Tvk_Channel* channel = Unique(kLeafType, name.c_str());
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(std::string(channel->GetChannelName()), name.substr(11));
  EXPECT_EQ(Unique(kLeafType, name.c_str()), channel);
  EXPECT_EQ(Unique(kLeafType, name.substr(11).c_str()), channel);
  EXPECT_EQ(engine->engineInterfaceExt->GetUniqueChannelCount(), 1);
}

TEST_F(UniqueChannels, TypesThatShareABaseTypeAreDifferentChannels) {
  Tvk_Channel* a = Unique(testplugin::kSharedAType, nullptr);
  Tvk_Channel* b = Unique(testplugin::kSharedBType, nullptr);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(b->GetChannelType().guid, testplugin::kSharedBType);
  EXPECT_EQ(Unique(testplugin::kSharedBase, nullptr), nullptr) << "no plug-in offers the base type itself";
}

TEST_F(UniqueChannels, RefusalsAndTheirMessages) {
  EXPECT_EQ(Unique(kZeroGuid, "Zero"), nullptr);
  EXPECT_EQ(Errors(engine), std::vector<std::string>{"GUID of channel not found!\nCould not add unique channel!"});

  engine.sink.Clear();
  EXPECT_EQ(Unique(testplugin::kMissingType, "Missing"), nullptr);
  EXPECT_TRUE(engine.sink.Messages().empty());

  engine->engineInterfaceExt->Release();
  engine.sink.Clear();
  EXPECT_EQ(Unique(kLeafType, "Late"), nullptr);
  EXPECT_EQ(Errors(engine), (std::vector<std::string>{std::string(kNotInitialised) + " Late", GuidText(kLeafType)}));
}

TEST(UniqueChannelsBeforeStart, AreRefusedWithTheCutNameAndTheGuid) {
  testsupport::RecordingSink sink;
  EngineInterface engine;
  const std::string name = std::string(11, 'x') + std::string(59, 'n');
  EXPECT_EQ(engine.GetUniqueChannel(kLeafType, name.c_str()), nullptr);
  EXPECT_EQ(sink.TextsOfType(kMessageError),
            (std::vector<std::string>{std::string(kNotInitialised) + " " + name.substr(11), GuidText(kLeafType)}));
}

}  // namespace
}  // namespace pluginloading

// Channels that come with children: a Parent makes a Child (which makes a Leaf,
// its grandchild) and a SharedBaseA, all in the parent's group.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineInterface.h"
#include "PluginLoadingSupport.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace pluginloading {
namespace {

using testsupport::StartedEngine;

class AutomaticChildren : public ::testing::Test {
 protected:
  AutomaticChildren()
      : install({"Parent.dll", "Child.dll", "Leaf.dll", "SharedBaseA.dll", "Orphan.dll", "Recursive.dll"}),
        engine(install.Dir()),
        group(engine->CreateNewGroup("Family", false, 0)) {
    log.Clear();  // what the start's scan did
    engine.sink.Clear();
  }

  PluginInstall install;
  ProbeLog log;
  StartedEngine engine;
  Tvk_ChannelGroup* group;
};

TEST_F(AutomaticChildren, AreNamedLinkedAndInTheParentsGroup) {
  Tvk_Channel* parent = engine->InitChannelFromType(testplugin::kParentType, group, true);
  ASSERT_NE(parent, nullptr);
  Tvk_Channel* child = parent->GetChild(0);
  Tvk_Channel* shared = parent->GetChild(1);
  ASSERT_NE(child, nullptr);
  ASSERT_NE(shared, nullptr);
  Tvk_Channel* grandchild = child->GetChild(0);
  ASSERT_NE(grandchild, nullptr);

  EXPECT_EQ(child->GetChannelType().guid, testplugin::kChildType);
  EXPECT_EQ(shared->GetChannelType().guid, testplugin::kSharedAType) << "linked through its base type";
  EXPECT_EQ(grandchild->GetChannelType().guid, testplugin::kLeafType);
  EXPECT_STREQ(child->GetChannelName(), testplugin::kChildName);
  EXPECT_STREQ(shared->GetChannelName(), testplugin::kSharedChildName);
  EXPECT_STREQ(grandchild->GetChannelName(), testplugin::kGrandchildName);
  EXPECT_EQ(parent->GetChannelName(), nullptr);

  EXPECT_EQ(group->GetChannelCount(), 4);
  for (Tvk_Channel* channel : {parent, child, grandchild, shared}) EXPECT_EQ(channel->GetChannelGroup(), group);
  EXPECT_TRUE(Errors(engine).empty());
}

TEST_F(AutomaticChildren, AreCompleteBeforeTheirParentInitialisesAfterJoiningTheGroup) {
  Tvk_Channel* parent = engine->InitChannelFromType(testplugin::kParentType, group, true);
  ASSERT_NE(parent, nullptr);
  // Index numbers tell the order in which the channels joined the group.
  EXPECT_EQ(parent->GetChannelIDIndexNr(), 0);
  EXPECT_EQ(parent->GetChild(0)->GetChannelIDIndexNr(), 1);
  EXPECT_EQ(parent->GetChild(0)->GetChild(0)->GetChannelIDIndexNr(), 2);
  EXPECT_EQ(parent->GetChild(1)->GetChannelIDIndexNr(), 3);
  EXPECT_EQ(log.Events({"InitDLL", "OneTimeInitialize"}), (std::vector<std::string>{
                                                              "InitDLL Parent",
                                                              "InitDLL Child",
                                                              "InitDLL Leaf",
                                                              "OneTimeInitialize Leaf inGroup=1 linked=0",
                                                              "OneTimeInitialize Child inGroup=1 linked=1",
                                                              "InitDLL SharedBaseA",
                                                              "OneTimeInitialize SharedBaseA inGroup=1 linked=0",
                                                              "OneTimeInitialize Parent inGroup=1 linked=2",
                                                          }));
}

TEST_F(AutomaticChildren, AreNotMadeWhenNotAskedFor) {
  Tvk_Channel* parent = engine->InitChannelFromType(testplugin::kParentType, group, false);
  ASSERT_NE(parent, nullptr);
  EXPECT_EQ(group->GetChannelCount(), 1);
  EXPECT_EQ(parent->GetChild(0), nullptr);
  EXPECT_EQ(log.Events({"OneTimeInitialize"}), std::vector<std::string>{"OneTimeInitialize Parent inGroup=1 linked=0"});
}

TEST_F(AutomaticChildren, AMissingChildTypeLeavesItsLinkEmptyAndTheOthersAreMade) {
  Tvk_Channel* orphan = engine->InitChannelFromType(testplugin::kOrphanType, group, true);
  ASSERT_NE(orphan, nullptr);
  EXPECT_EQ(Errors(engine), std::vector<std::string>{"Couldn't initialize child"});
  EXPECT_EQ(orphan->GetChild(0), nullptr);
  ASSERT_NE(orphan->GetChild(1), nullptr);
  EXPECT_STREQ(orphan->GetChild(1)->GetChannelName(), testplugin::kFoundChildName);
  EXPECT_EQ(group->GetChannelCount(), 2);
}

// Without a stop a type whose child is of its own type would recurse until the
// stack runs out.
TEST_F(AutomaticChildren, AChildOfTheTypeBeingCompletedIsRefused) {
  Tvk_Channel* recursive = engine->InitChannelFromType(testplugin::kRecursiveType, group, true);
  ASSERT_NE(recursive, nullptr);
  EXPECT_EQ(Errors(engine), std::vector<std::string>{"Couldn't initialize child"});
  EXPECT_EQ(recursive->GetChild(0), nullptr);
  EXPECT_EQ(group->GetChannelCount(), 1);
}

}  // namespace
}  // namespace pluginloading

// What a link position accepts, and what refused links report through which
// emitter.

#include <cstring>
#include <functional>

#include "ChannelTestSupport.h"

namespace channeltest {
namespace {

using Messages = std::vector<std::pair<int, std::string>>;

std::vector<std::pair<int, std::string>> Recorded(const testsupport::RecordingSink& sink) {
  std::vector<std::pair<int, std::string>> recorded;
  for (const auto& message : sink.Messages()) recorded.emplace_back(message.type, message.text);
  return recorded;
}

class ChildLinkRulesTest : public ChannelTest {};

TEST_F(ChildLinkRulesTest, TypeRuleLooksAtGuidAndOneBaseLevel) {
  struct Case {
    const char* what;
    GUID positionGuid;
    GUID positionBase;
    bool accepted;
  };
  const Case cases[] = {
      {"wildcard", kWildcardGuid, kZeroGuid, true},
      {"the child's own type", kTypeA, kZeroGuid, true},
      {"the child's base type", kBaseOfA, kZeroGuid, true},
      {"another type", kTypeB, kZeroGuid, false},
      {"the position's own base guid plays no part", kTypeB, kTypeA, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestChannel* parent = Make<TestChannel>("p");
    ChildCreation creation = Position(c.positionGuid, 0);
    creation.channelType.baseGuid = c.positionBase;
    parent->SetChildCreateType(creation, 0);
    TestChannel* child = Make<TestChannel>("a");
    Sink().Clear();
    EXPECT_EQ(parent->SetChild(child, 0, 0), c.accepted ? 0 : -1);
    EXPECT_EQ(parent->GetInternalChild(0), c.accepted ? child : nullptr);
    EXPECT_EQ(Sink().Messages().size(), c.accepted ? 0u : 1u);
  }
}

// Each case builds its parent, makes one call and compares the answer and the
// messages with their types (1 error, 4 user information).
TEST_F(ChildLinkRulesTest, RefusalsAndTheirMessages) {
  struct Case {
    const char* what;
    std::function<int(ChildLinkRulesTest&, TestChannel&)> call;
    int expected;
    Messages messages;
  };
  auto withPositions = [](TestChannel& parent) {
    parent.SetChildCreateType(Position(kTypeB, -1), 0);
    parent.SetChildCreateType(Position(kWildcardGuid, 1), 1);
  };
  const std::vector<Case> cases = {
      {"no channel", [](ChildLinkRulesTest&, TestChannel& p) { return p.SetChild(nullptr, -1, 0); }, -1, {}},
      {"the parent itself", [](ChildLinkRulesTest&, TestChannel& p) { return p.SetChild(&p, -1, 0); }, -1,
       {{1, "SetChild channel==this"}}},
      {"type refused",
       [&](ChildLinkRulesTest& t, TestChannel& p) {
         withPositions(p);
         return p.SetChild(t.Make<TestChannel>("a"), -1, 0);
       },
       -1,
       {{4, "This channel was unable to be linked. The type of the channel was not accepted at this link position"}}},
      {"target channel below -1 is reported, then appended",
       [](ChildLinkRulesTest& t, TestChannel& p) {
         p.SetChildCreateType(Position(kWildcardGuid, -1), 0);
         return p.SetChild(t.Make<TestChannel>("a"), -2, 0);
       },
       0, {{4, "Tvk_Channel::SetChild targetChannel<-1 is out of range"}}},
      {"a target channel no run can reach",
       [](ChildLinkRulesTest& t, TestChannel& p) {
         p.SetChildCreateType(Position(kWildcardGuid, -1), 0);
         return p.SetChild(t.Make<TestChannel>("a"), 1 << 30, 0);
       },
       -1, {{4, "Tvk_Channel::SetChild targetChannel is out of range"}}},
      {"a hole among the positions",
       [](ChildLinkRulesTest& t, TestChannel& p) {
         p.SetChildCreateType(Position(kWildcardGuid, -1), 0);
         p.SetChildCreateType(Position(kWildcardGuid, -1), 2);
         return p.SetChild(t.Make<TestChannel>("a"), 0, 1);
       },
       -1, {{4, "Tvk_Channel::SetChild childCreation==NULL for this target type"}}},
      {"an unknown position links by type, silently",
       [&](ChildLinkRulesTest& t, TestChannel& p) {
         withPositions(p);
         p.SetChild(t.Make<TestChannel>("s"), 0, 1);
         return p.SetChild(t.Make<TestChannel>("a"), -1, 7);
       },
       -1, {}},
      {"a position below -1 links by type",
       [&](ChildLinkRulesTest& t, TestChannel& p) {
         withPositions(p);
         return p.SetChild(t.Make<TestChannel>("a"), -1, -3);
       },
       1, {}},
      {"public channel switches refuse parameter channels",
       [](ChildLinkRulesTest& t, TestChannel& p) {
         p.SetChildCreateType(Position(kWildcardGuid, -1), 0);
         p.SetChannelInterfaceType(TVO_PUBLICCUSTOMCHANNELGET);
         TestChannel* parameter = t.Make<TestChannel>("q");
         parameter->SetChannelInterfaceType(TVO_PARAMETER);
         t.Sink().Clear();
         return p.SetChild(parameter, -1, 0);
       },
       -1, {{4, "Parameter channels are not allowed to be linked to public ChannelSwitches"}}},
      {"public channel switches take private channels",
       [](ChildLinkRulesTest& t, TestChannel& p) {
         p.SetChildCreateType(Position(kWildcardGuid, -1), 0);
         p.SetChannelInterfaceType(TVO_PUBLICCUSTOMCHANNELGET);
         t.Sink().Clear();
         return p.SetChild(t.Make<TestChannel>("a"), -1, 0);
       },
       0, {}},
      {"two positions with one request link",
       [](ChildLinkRulesTest&, TestChannel& p) {
         p.SetChildCreateType(Position(kWildcardGuid, 3), 0);
         p.SetChildCreateType(Position(kWildcardGuid, 3), 1);
         p.SetChildCreateType(Position(kWildcardGuid, -1), 1);
         p.SetChildCreateType(Position(kWildcardGuid, -1), 2);
         return channelInternal.GetChildCreationCount(&p);
       },
       3, {{1, "Can't add child creation with the same request link!"}}},
      {"a negative position is not declared",
       [](ChildLinkRulesTest&, TestChannel& p) {
         p.SetChildCreateType(Position(kWildcardGuid, -1), -1);
         return p.GetChildCount();
       },
       0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestChannel* parent = Make<TestChannel>("p");
    Sink().Clear();
    EXPECT_EQ(c.call(*this, *parent), c.expected);
    EXPECT_EQ(Recorded(Sink()), c.messages);
    EXPECT_TRUE(HasValidNodeLayout(*parent));
  }
}

TEST_F(ChildLinkRulesTest, ChildNameOfAPositionIsCutTo98Characters) {
  TestChannel* parent = Make<TestChannel>("p");
  ChildCreation creation = Position(kWildcardGuid, -1);
  std::memset(creation.childName, 'n', sizeof(creation.childName));  // not even terminated
  creation.reserved = 7;
  creation.userValue = 42;
  parent->SetChildCreateType(creation, 0);
  const ChildCreation* stored = channelInternal.GetChildCreateType(parent, 0);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(std::string(stored->childName), std::string(98, 'n'));
  EXPECT_EQ(stored->reserved, 0);
  EXPECT_EQ(stored->userValue, 42);
  EXPECT_EQ(stored->childInfo, parent->GetChildInfo(0));
}

TEST(ChildCreationRecord, ConstructorValues) {
  const ChildCreation creation;
  EXPECT_EQ(creation.channelType.guid, kWildcardGuid);
  EXPECT_EQ(creation.channelType.baseGuid, kWildcardGuid);
  EXPECT_EQ(creation.channelType.versionInfo[0], 1);
  EXPECT_EQ(creation.channelType.versionInfo[1], 54);
  EXPECT_EQ(creation.channelType.versionInfo[2], 1);
  EXPECT_EQ(creation.requestLink, -1);
  EXPECT_EQ(creation.createChild, 0);
  EXPECT_EQ(creation.childName[0], '\0');
  EXPECT_EQ(creation.childTypeGuid, kZeroGuid);
  EXPECT_EQ(creation.childInfo, nullptr);
  EXPECT_EQ(creation.userValue, 1);

  const ChildInfo node;
  EXPECT_EQ(node.linkPosition, -1);
  EXPECT_EQ(node.poolChannelIndex, -1);
  EXPECT_FALSE(node.isPositionNode);
}

}  // namespace
}  // namespace channeltest

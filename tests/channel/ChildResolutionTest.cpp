// What GetChild answers for each interface type of the linked channel, and the
// lookups by type that look through custom-get channels.

#include "ChannelTestSupport.h"

namespace channeltest {
namespace {

class ChildResolutionTest : public ChannelTest {
 protected:
  // A channel with one multi-link position taking any type.
  template <class T = TestChannel, class... Args>
  T* MakeLinking(Args&&... args) {
    T* channel = Make<T>(std::forward<Args>(args)...);
    channel->SetChildCreateType(ChildCreation(), 0);
    return channel;
  }
};

TEST_F(ChildResolutionTest, EachInterfaceTypeResolvesItsOwnWay) {
  TestChannel* parent = MakeLinking("p");
  TestChannel* plain = Make<TestChannel>("plain");
  TestChannel* published = Make<TestChannel>("published");
  published->SetChannelInterfaceType(TVO_PUBLIC);
  TestChannel* target = Make<TestChannel>("target");
  ForwardingChannel* forward = Make<ForwardingChannel>("forward", target);
  ForwardingChannel* forwardNowhere = Make<ForwardingChannel>("nowhere");
  TestChannel* call = Make<TestChannel>("call");
  call->SetChannelInterfaceType(TVO_PUBLICCALL);
  TestChannel* parameter = Make<TestChannel>("parameter");
  parameter->SetChannelInterfaceType(TVO_PARAMETER);

  struct Case {
    Tvk_Channel* linked;
    Tvk_Channel* resolved;
    bool external;
  };
  const Case cases[] = {
      {plain, plain, false},
      {published, published, false},
      {forward, target, true},
      {forwardNowhere, nullptr, true},
      {call, nullptr, true},       // no public channel found for it
      {parameter, nullptr, true},  // the parent belongs to no group
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.linked->GetChannelName());
    const int index = parent->SetChild(c.linked, -1, 0);
    ASSERT_GE(index, 0);
    EXPECT_EQ(parent->GetChild(index), c.resolved);
    EXPECT_EQ(parent->GetInternalChild(index), c.linked);
    EXPECT_EQ(channelInternal.GetIfExternalChild(parent, index), c.external);
  }
  EXPECT_EQ(forward->lastCaller, parent);
  EXPECT_FALSE(channelInternal.GetIfExternalChild(parent, parent->GetChildCount() - 1)) << "empty position node";
}

// Inside a group, a parameter channel answers what the group's caller linked
// for that parameter.
TEST_F(ChildResolutionTest, ParameterAnswersTheCallersLink) {
  Tvk_ChannelGroup* component = RegisteredGroup("component");
  Tvk_ChannelGroup* user = RegisteredGroup("user");
  auto* inside = new TestChannel("inside");
  inside->SetChildCreateType(ChildCreation(), 0);
  auto* parameter = new TestChannel("parameter");
  component->AddChannel(inside);
  component->AddChannel(parameter);
  parameter->SetChannelInterfaceType(TVO_PARAMETER);
  channelInternal.SetParameterInfo(parameter, 1);
  EXPECT_EQ(channelInternal.GetParameterInfo(parameter)->parameterNr, 1);
  const int node = inside->SetChild(parameter, -1, 0);

  auto* caller = new TestChannel("caller");
  caller->SetChildCreateType(ChildCreation(), 0);
  auto* first = new TestChannel("first");
  auto* second = new TestChannel("second");
  for (Tvk_Channel* c : {static_cast<Tvk_Channel*>(caller), static_cast<Tvk_Channel*>(first),
                         static_cast<Tvk_Channel*>(second)})
    user->AddChannel(c);
  caller->SetChild(first, -1, 0);
  caller->SetChild(second, -1, 0);

  EXPECT_EQ(inside->GetChild(node), nullptr) << "no caller yet";
  component->SetParameterChannel(caller);
  EXPECT_EQ(inside->GetChild(node), second);
  EXPECT_EQ(channelInternal.TranslateGroupInterfaceNr(caller, 1), 1);
}

// A group whose parameters are supplied by one of its own channels that links
// the parameter: resolution would never end.
TEST_F(ChildResolutionTest, ParameterLoopEndsWithAMessage) {
  Tvk_ChannelGroup* group = RegisteredGroup("loop");
  auto* inside = new TestChannel("inside");
  inside->SetChildCreateType(ChildCreation(), 0);
  auto* parameter = new TestChannel("parameter");
  group->AddChannel(inside);
  group->AddChannel(parameter);
  parameter->SetChannelInterfaceType(TVO_PARAMETER);
  channelInternal.SetParameterInfo(parameter, 0);
  ASSERT_EQ(inside->SetChild(parameter, -1, 0), 0);
  group->SetParameterChannel(inside);
  Sink().Clear();
  EXPECT_EQ(inside->GetChild(0), nullptr);
  EXPECT_EQ(Sink().TextsOfType(kMessageError),
            std::vector<std::string>{"Tvk_Channel::GetChild parameter channels stand for each other in a loop"});
}

TEST_F(ChildResolutionTest, TypeLookupsSeeThroughCustomGetChannels) {
  TestChannel* parent = MakeLinking("p");
  TestChannel* a = Make<TestChannel>("a");
  TestChannel* x = Make<TestChannel>("x", MakeType(kTypeB, kTypeB));
  ForwardingChannel* forward = Make<ForwardingChannel>("forward", x);
  ForwardingChannel* nowhere = Make<ForwardingChannel>("nowhere");
  TestChannel* parameter = Make<TestChannel>("parameter");
  parameter->SetChannelInterfaceType(TVO_PARAMETER);
  for (Tvk_Channel* c : std::vector<Tvk_Channel*>{a, x, forward, nowhere, parameter}) parent->SetChild(c, -1, 0);
  parent->SetChild(a, 7, 0);  // pads the run with empty nodes

  EXPECT_EQ(parent->GetChildTypeCount(kTypeA), 3) << "a twice and the parameter channel as linked";
  EXPECT_EQ(parent->GetChildTypeCount(kBaseOfA), 3);
  EXPECT_EQ(parent->GetChildTypeCount(kTypeB), 2) << "x and the channel that names x";
  EXPECT_EQ(parent->GetChildTypeCount(kWildcardGuid), 0);
  EXPECT_EQ(parent->GetChildFromLinkGuid(kTypeB, 0), x);
  EXPECT_EQ(parent->GetChildFromLinkGuid(kTypeB, 1), x) << "resolved through the forwarding channel";
  EXPECT_EQ(parent->GetChildFromLinkGuid(kTypeB, 2), nullptr);
  EXPECT_EQ(parent->GetChildFromLinkGuid(kTypeA, 1), nullptr) << "the parameter resolves to nothing here";
  EXPECT_EQ(parent->GetChildFromLinkGuid(kTypeA, 2), a);
}

}  // namespace
}  // namespace channeltest

// SmartChannel and GChannel notice a channel that left its place, without
// being told.

#include <functional>

#include "ChannelHandles.h"
#include "ChannelTestSupport.h"

namespace channeltest {
namespace {

class ChannelHandlesTest : public ChannelTest {};

TEST_F(ChannelHandlesTest, HandlesGoStaleWhenTheChannelLeavesItsPlace) {
  struct Case {
    const char* what;
    std::function<void(ChannelHandlesTest&, Tvk_ChannelGroup*, Tvk_Channel*)> leave;
  };
  const Case cases[] = {
      {"removed by its group", [](ChannelHandlesTest&, Tvk_ChannelGroup* g, Tvk_Channel* c) {
         g->RemoveChannel(c->GetChannelIDIndexNr());
       }},
      {"transferred to another group",
       [](ChannelHandlesTest& t, Tvk_ChannelGroup* g, Tvk_Channel* c) {
         g->TransferChannel(c->GetChannelIDIndexNr(), t.RegisteredGroup("elsewhere"));
       }},
      {"its group deleted",
       [](ChannelHandlesTest& t, Tvk_ChannelGroup* g, Tvk_Channel*) {
         t.engine->DeleteChannelGroup(g->GetGroupIndex());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Tvk_ChannelGroup* group = RegisteredGroup("handles");
    ASSERT_NE(group, nullptr);
    group->AddChannel(new TestChannel("padding"));
    auto* channel = new TestChannel("held");
    group->AddChannel(channel);

    SmartChannel smart(engine.Get());
    GChannel plain;
    EXPECT_TRUE(smart.SetChannel(channel));
    plain.SetChannel(channel);
    EXPECT_EQ(smart.GetInternalChannel(), channel);
    EXPECT_EQ(smart.GetChannel(), channel);
    EXPECT_EQ(plain.GetChannel(), channel);

    c.leave(*this, group, channel);
    EXPECT_EQ(smart.GetInternalChannel(), nullptr);
    EXPECT_EQ(smart.GetChannel(), nullptr);
    EXPECT_EQ(plain.GetChannel(), nullptr);
  }
}

TEST_F(ChannelHandlesTest, ChannelWithoutGroup) {
  TestChannel* loose = Make<TestChannel>("loose");
  SmartChannel smart;  // takes globalEngine
  EXPECT_FALSE(smart.SetChannel(loose));
  EXPECT_EQ(smart.GetInternalChannel(), loose) << "answered unchecked";
  GChannel plain;
  plain.SetChannel(loose);
  EXPECT_EQ(plain.GetChannel(), nullptr);

  EXPECT_FALSE(smart.SetChannel(nullptr));
  EXPECT_EQ(smart.GetInternalChannel(), nullptr);
  plain.SetChannel(nullptr);
  EXPECT_EQ(plain.GetChannel(), nullptr);
}

TEST_F(ChannelHandlesTest, SmartChannelResolvesByInterfaceType) {
  TestChannel* target = Make<TestChannel>("target");
  ForwardingChannel* forward = Make<ForwardingChannel>("forward", target);
  TestChannel* parameter = Make<TestChannel>("parameter");
  parameter->SetChannelInterfaceType(TVO_PARAMETER);
  TestChannel* call = Make<TestChannel>("call");
  call->SetChannelInterfaceType(TVO_PUBLICCALL);
  TestChannel* published = Make<TestChannel>("published");
  published->SetChannelInterfaceType(TVO_PUBLIC);

  const std::pair<Tvk_Channel*, Tvk_Channel*> cases[] = {
      {target, target}, {published, published}, {forward, target}, {parameter, nullptr}, {call, nullptr}};
  for (const auto& [held, resolved] : cases) {
    SCOPED_TRACE(held->GetChannelName());
    SmartChannel smart(engine.Get());
    smart.SetChannel(held);
    EXPECT_EQ(smart.GetInternalChannel(), held);
    EXPECT_EQ(smart.GetChannel(), resolved);
  }
  EXPECT_EQ(forward->lastCaller, nullptr) << "asked without a caller";
}

}  // namespace
}  // namespace channeltest

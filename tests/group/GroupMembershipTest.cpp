#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "GroupFixture.h"

namespace grouptest {
namespace {

using Removals = std::vector<std::pair<std::string, int>>;

Removals RemovalsOf(const ChannelLog& log) {
  Removals result;
  for (const auto& r : log.removals) result.emplace_back(r.channel, r.indexNr);
  return result;
}

TEST_F(GroupTest, IndicesStayStableAndTheLowestHoleIsReused) {
  LinkingChannel* a = Add("A");
  LinkingChannel* b = Add("B");
  LinkingChannel* c = Add("C");
  EXPECT_EQ(a->GetChannelIDIndexNr(), 0);
  EXPECT_EQ(b->GetChannelIDIndexNr(), 1);
  EXPECT_EQ(c->GetChannelIDIndexNr(), 2);
  EXPECT_EQ(b->GetChannelGroup(), group.get());

  EXPECT_TRUE(group->RemoveChannel(b));
  EXPECT_EQ(group->GetChannelCount(), 3);
  EXPECT_EQ(group->GetChannel(1), nullptr);
  EXPECT_EQ(log.deleted, std::vector<std::string>{"B"});

  LinkingChannel* d = Add("D");
  EXPECT_EQ(d->GetChannelIDIndexNr(), 1);
  EXPECT_EQ(group->GetChannel(1), d);
  EXPECT_EQ(c->GetChannelIDIndexNr(), 2);
  EXPECT_EQ(group->GetChannel(2), c);
}

TEST_F(GroupTest, AddingAChannelTwiceReturnsItsIndexAndAddsNothing) {
  Add("A");
  LinkingChannel* b = Add("B");
  EXPECT_EQ(group->AddChannel(b), 1);
  EXPECT_EQ(group->GetChannelCount(), 2);
  EXPECT_EQ(group->AddChannel(nullptr), -1);
  EXPECT_EQ(group->GetChannelCount(), 2);
}

TEST_F(GroupTest, RemovalOfWhatIsNotThereChangesNothing) {
  Add("A");
  Add("B");
  group->RemoveChannel(1);  // leaves a hole at 1
  LinkingChannel outsider("Outsider");

  EXPECT_FALSE(group->RemoveChannel(-1));
  EXPECT_FALSE(group->RemoveChannel(1));
  EXPECT_FALSE(group->RemoveChannel(2));
  EXPECT_FALSE(group->RemoveChannel(static_cast<Tvk_Channel*>(nullptr)));
  EXPECT_FALSE(group->RemoveChannel(&outsider));
  EXPECT_EQ(group->GetChannelCount(), 2);
  EXPECT_NE(group->GetChannel(0), nullptr);
  EXPECT_EQ(log.deleted, std::vector<std::string>{"B"});
}

// Every channel, the removed one included, is told in index order, and each
// drops exactly its links to that index; the other links keep their target
// channel indices.
TEST_F(GroupTest, RemovalMakesEveryChannelDropItsLinksToTheIndex) {
  LinkingChannel* a = Add("A");
  LinkingChannel* b = Add("B");
  LinkingChannel* hole = Add("Hole");
  LinkingChannel* c = Add("C");
  group->RemoveChannel(hole);
  log.removals.clear();

  a->Link(c);
  a->Link(b);
  a->Link(c);
  b->Link(c);
  c->Link(a);

  EXPECT_TRUE(group->RemoveChannel(3));
  EXPECT_EQ(RemovalsOf(log), (Removals{{"A", 3}, {"B", 3}, {"C", 3}}));
  EXPECT_EQ(a->Links(), (std::vector<Tvk_Channel*>{nullptr, b, nullptr}));
  EXPECT_EQ(b->Links(), (std::vector<Tvk_Channel*>{nullptr}));
}

TEST_F(GroupTest, DestructionDeletesEveryChannelWithoutNotifyingTheOthers) {
  LinkingChannel* a = Add("A");
  LinkingChannel* b = Add("B");
  Add("C");
  a->Link(b);
  group.reset();
  EXPECT_TRUE(log.removals.empty());
  EXPECT_EQ(log.deleted, (std::vector<std::string>{"A", "B", "C"}));
}

// Release empties the group but keeps its slots and its identity.
TEST_F(GroupTest, ReleaseLeavesOnlyHolesAndKeepsTheGroupsIdentity) {
  for (const char* name : {"A", "B", "C", "D", "E"}) Add(name);
  group->SetChannelGroupFileName("C:\\work\\cars.cgr");
  group->SetPoolName("Cars");
  group->SetPoolNr(2);
  group->SetStartChannel(3);
  ParameterInterfaceInfo parameter{};
  group->AddParameterInfo(parameter);
  GUID guid = group->GetUniqueGroupGuid();

  group->Release();

  EXPECT_EQ(group->GetChannelCount(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(group->GetChannel(i), nullptr) << i;
  EXPECT_EQ(log.deleted.size(), 5u);
  EXPECT_EQ(group->GetParameterCount(), 0);
  EXPECT_EQ(group->GetStartChannel(), 0);
  EXPECT_STREQ(group->GetChannelGroupFileName(), "C:\\work\\cars.cgr");
  EXPECT_STREQ(group->GetPoolName(), "Cars");
  EXPECT_EQ(group->GetPoolNr(), 2);
  EXPECT_EQ(group->GetUniqueGroupGuid(), guid);

  EXPECT_EQ(Add("F")->GetChannelIDIndexNr(), 0);
}

TEST_F(GroupTest, TransferMovesAChannelToTheLowestHoleOrTheEndOfTheOtherGroup) {
  Tvk_ChannelGroup other(engine.Get());
  Add("A");
  LinkingChannel* b = Add("B");
  LinkingChannel* c = Add("C");
  Add("X", &other);
  Add("Y", &other);
  other.RemoveChannel(0);
  log.deleted.clear();
  log.removals.clear();

  EXPECT_TRUE(group->TransferChannel(1, &other));
  EXPECT_EQ(other.GetChannel(0), b);
  EXPECT_EQ(b->GetChannelIDIndexNr(), 0);
  EXPECT_EQ(b->GetChannelGroup(), &other);
  EXPECT_EQ(group->GetChannel(1), nullptr);
  EXPECT_EQ(group->GetChannelCount(), 3);

  EXPECT_TRUE(group->TransferChannel(2, &other));
  EXPECT_EQ(c->GetChannelIDIndexNr(), 2);
  EXPECT_EQ(other.GetChannel(2), c);

  EXPECT_TRUE(log.deleted.empty());
  EXPECT_TRUE(log.removals.empty());
}

TEST_F(GroupTest, TransferRefusesHolesIndicesOutsideAndNoTarget) {
  Tvk_ChannelGroup other(engine.Get());
  LinkingChannel* a = Add("A");
  Add("B");
  group->RemoveChannel(1);

  EXPECT_FALSE(group->TransferChannel(1, &other));
  EXPECT_FALSE(group->TransferChannel(-1, &other));
  EXPECT_FALSE(group->TransferChannel(2, &other));
  EXPECT_FALSE(group->TransferChannel(0, nullptr));
  EXPECT_EQ(other.GetChannelCount(), 0);
  EXPECT_EQ(group->GetChannel(0), a);
}

// Transferring a channel to its own group must not turn its slot into a hole:
// the group would lose it.
TEST_F(GroupTest, TransferToTheSameGroupKeepsTheChannel) {
  LinkingChannel* a = Add("A");
  EXPECT_TRUE(group->TransferChannel(0, group.get()));
  EXPECT_EQ(group->GetChannel(0), a);
  EXPECT_EQ(a->GetChannelIDIndexNr(), 0);
}

TEST_F(GroupTest, ChannelsAreFoundByNameIgnoringCase) {
  Add(nullptr);
  LinkingChannel* speed = Add("Speed");
  Add("SPEED");
  LinkingChannel* wheel = Add("wheel");

  struct Case {
    const char* asked;
    Tvk_Channel* expected;
  };
  const Case cases[] = {
      {"Speed", speed}, {"sPEED", speed}, {"WHEEL", wheel}, {"Spee", nullptr}, {"", nullptr}, {nullptr, nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(group->GetChannel(c.asked), c.expected) << (c.asked ? c.asked : "null");
}

TEST_F(GroupTest, SetChannelStoresThePointerOnly) {
  Add("A");
  auto* loaded = new LinkingChannel("Loaded", &log);
  group->SetChannel(loaded, 4);
  EXPECT_EQ(group->GetChannelCount(), 5);
  EXPECT_EQ(group->GetChannel(4), loaded);
  EXPECT_EQ(group->GetChannel(2), nullptr);
  EXPECT_EQ(loaded->GetChannelGroup(), nullptr);
  EXPECT_TRUE(group->GetIfChannelInGroup(loaded));
  EXPECT_FALSE(group->GetIfChannelInGroup(nullptr));
  EXPECT_EQ(group->GetChannel(-1), nullptr);
  EXPECT_EQ(group->GetChannel(5), nullptr);
}

}  // namespace
}  // namespace grouptest

// One parent goes through a sequence of link operations; after every step the
// node layout must be intact and read as expected.

#include <functional>

#include "ChannelTestSupport.h"

namespace channeltest {
namespace {

struct Cast {
  TestChannel* parent;
  TestChannel *a, *b, *c, *d, *e, *f;
  TestChannel* x;  // of type B
};

struct Step {
  const char* what;
  std::function<int(Cast&)> op;
  int expected;
  const char* layout;
};

class ChildLinkLayoutTest : public ChannelTest {
 protected:
  Cast MakeCast() {
    Cast cast{};
    cast.parent = Make<TestChannel>("p");
    cast.parent->SetChildCreationCount(3);
    cast.parent->SetChildCreateType(Position(kWildcardGuid, -1), 0);
    cast.parent->SetChildCreateType(Position(kWildcardGuid, 1), 1);
    cast.parent->SetChildCreateType(Position(kTypeA, -1), 2);
    cast.a = Make<TestChannel>("a");
    cast.b = Make<TestChannel>("b");
    cast.c = Make<TestChannel>("c");
    cast.d = Make<TestChannel>("d");
    cast.e = Make<TestChannel>("e");
    cast.f = Make<TestChannel>("f");
    cast.x = Make<TestChannel>("x", MakeType(kTypeB, kTypeB));
    return cast;
  }

  void Run(Cast& cast, const std::vector<Step>& steps) {
    ASSERT_EQ(LayoutOf(*cast.parent), "M0 S1 M2");
    for (const Step& step : steps) {
      SCOPED_TRACE(step.what);
      EXPECT_EQ(step.op(cast), step.expected);
      EXPECT_EQ(LayoutOf(*cast.parent), step.layout);
      ASSERT_TRUE(HasValidNodeLayout(*cast.parent));
    }
  }
};

int Count(Cast& cast) { return cast.parent->GetChildCount(); }

TEST_F(ChildLinkLayoutTest, LinkingAndRemovalKeepTheLayout) {
  Cast cast = MakeCast();
  const std::vector<Step> steps = {
      {"append a to the run", [](Cast& k) { return k.parent->SetChild(k.a, -1, 0); }, 0, "a M0 S1 M2"},
      {"append b", [](Cast& k) { return k.parent->SetChild(k.b, -1, 0); }, 1, "a b M0 S1 M2"},
      {"single-link position", [](Cast& k) { return k.parent->SetChild(k.c, 0, 1); }, 3, "a b M0 S1=c M2"},
      {"single-link replaced", [](Cast& k) { return k.parent->SetChild(k.d, 0, 1); }, 3, "a b M0 S1=d M2"},
      {"target beyond the run pads it", [](Cast& k) { return k.parent->SetChild(k.e, 4, 0); }, 4,
       "a b _ _ e M0 S1=d M2"},
      {"target inside the run replaces", [](Cast& k) { return k.parent->SetChild(k.f, 1, 0); }, 1,
       "a f _ _ e M0 S1=d M2"},
      {"typed position takes type A", [](Cast& k) { return k.parent->SetChild(k.a, -1, 2); }, 7,
       "a f _ _ e M0 S1=d a M2"},
      {"typed position refuses type B", [](Cast& k) { return k.parent->SetChild(k.x, -1, 2); }, -1,
       "a f _ _ e M0 S1=d a M2"},
      {"target below -1 appends", [](Cast& k) { return k.parent->SetChild(k.c, -5, 0); }, 5,
       "a f _ _ e c M0 S1=d a M2"},
      {"unknown position links by type into the first hole",
       [](Cast& k) { return k.parent->SetChild(k.x, -1, 7); }, 2, "a f x _ e c M0 S1=d a M2"},
      {"RemoveChild empties, the node stays",
       [](Cast& k) {
         k.parent->RemoveChild(4);
         return Count(k);
       },
       10, "a f x _ _ c M0 S1=d a M2"},
      {"SortChilderen closes the gaps",
       [](Cast& k) {
         channelInternal.SortChilderen(k.parent);
         return Count(k);
       },
       8, "a f x c M0 S1=d a M2"},
      {"RemoveChildPosition drops a run node",
       [](Cast& k) {
         channelInternal.RemoveChildPosition(k.parent, 1);
         return Count(k);
       },
       7, "a x c M0 S1=d a M2"},
      {"RemoveChildPosition only empties a position node",
       [](Cast& k) {
         channelInternal.RemoveChildPosition(k.parent, 4);
         return Count(k);
       },
       7, "a x c M0 S1 a M2"},
      {"removals outside the list change nothing",
       [](Cast& k) {
         channelInternal.RemoveChildPosition(k.parent, 99);
         channelInternal.RemoveChildPosition(k.parent, -1);
         k.parent->RemoveChild(-1);
         k.parent->RemoveChild(7);
         return Count(k);
       },
       7, "a x c M0 S1 a M2"},
      {"replace inside the shortened run", [](Cast& k) { return k.parent->SetChild(k.d, 1, 0); }, 1,
       "a d c M0 S1 a M2"},
      {"redeclaring a position with links replaces it where it stood",
       [](Cast& k) {
         k.parent->SetChildCreateType(Position(kWildcardGuid, 2), 2);
         return Count(k);
       },
       6, "a d c M0 S1 S2"},
      {"the redeclared position links", [](Cast& k) { return k.parent->SetChild(k.e, 0, 2); }, 5,
       "a d c M0 S1 S2=e"},
      {"a position declared after links goes behind the next position node",
       [](Cast& k) {
         k.parent->SetChildCreateType(Position(kWildcardGuid, -1), 3);
         return Count(k);
       },
       7, "a d c M0 M3 S1 S2=e"},
      {"and takes a run", [](Cast& k) { return k.parent->SetChild(k.f, -1, 3); }, 4, "a d c M0 f M3 S1 S2=e"},
      {"RemoveChildren leaves one empty node per position",
       [](Cast& k) {
         k.parent->RemoveChildren();
         return Count(k);
       },
       4, "M0 M3 S1 S2"},
      {"ReleaseChilderen drops the positions too",
       [](Cast& k) {
         channelInternal.ReleaseChilderen(k.parent);
         return channelInternal.GetChildCreationCount(k.parent);
       },
       0, ""},
  };
  Run(cast, steps);
}

TEST_F(ChildLinkLayoutTest, LinkingByTypeFillsTheFirstFreePlace) {
  Cast cast = MakeCast();
  TestChannel& parent = *cast.parent;
  parent.SetChildCreationCount(0);
  parent.SetChildCreateType(Position(kTypeA, 0), 0);
  parent.SetChildCreateType(Position(kWildcardGuid, -1), 1);
  parent.SetChildCreateType(Position(kWildcardGuid, 2), 2);
  ASSERT_EQ(LayoutOf(parent), "S0 M1 S2");

  const std::vector<Step> steps = {
      {"empty single-link position first", [](Cast& k) { return channelInternal.SetChildByType(k.parent, k.a, -1); },
       0, "S0=a M1 S2"},
      {"occupied single-link position is passed over",
       [](Cast& k) { return channelInternal.SetChildByType(k.parent, k.b, -1); }, 1, "S0=a b M1 S2"},
      {"a target channel goes to the first multi-link position",
       [](Cast& k) { return channelInternal.SetChildByType(k.parent, k.c, 3); }, 4, "S0=a b _ _ c M1 S2"},
      {"the run's first empty node before appending",
       [](Cast& k) { return channelInternal.SetChildByType(k.parent, k.d, -1); }, 2, "S0=a b d _ c M1 S2"},
      {"a refusing position is skipped", [](Cast& k) { return channelInternal.SetChildByType(k.parent, k.x, -1); }, 3,
       "S0=a b d x c M1 S2"},
      {"then the run grows", [](Cast& k) { return channelInternal.SetChildByType(k.parent, k.e, -1); }, 5,
       "S0=a b d x c e M1 S2"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    EXPECT_EQ(step.op(cast), step.expected);
    EXPECT_EQ(LayoutOf(parent), step.layout);
    ASSERT_TRUE(HasValidNodeLayout(parent));
  }
  EXPECT_TRUE(Sink().Messages().empty()) << "linking by type is silent";
}

// The worked example of two positions: lookups by position and target channel.
TEST_F(ChildLinkLayoutTest, LookupsByPositionAndTargetChannel) {
  TestChannel* parent = Make<TestChannel>("p");
  parent->SetChildCreateType(Position(kWildcardGuid, -1), 0);
  parent->SetChildCreateType(Position(kWildcardGuid, 1), 1);
  TestChannel* a = Make<TestChannel>("a");
  TestChannel* b = Make<TestChannel>("b");
  TestChannel* c = Make<TestChannel>("c");
  EXPECT_EQ(parent->GetChildCount(), 2);
  EXPECT_EQ(parent->SetChild(a, -1, 0), 0);
  EXPECT_EQ(parent->GetChildInfo(1)->linkPosition, 0);
  EXPECT_EQ(parent->GetChildInfo(2)->linkPosition, 1);
  EXPECT_EQ(parent->SetChild(b, -1, 0), 1);
  EXPECT_EQ(parent->SetChild(c, 0, 1), 3);

  EXPECT_EQ(parent->GetChildLinkPositionCount(0), 2);
  EXPECT_EQ(parent->GetChildLinkPositionCount(1), 0);
  EXPECT_EQ(parent->GetChildLinkPositionCount(9), 0);
  EXPECT_EQ(parent->GetChildFromLinkPosition(0, 0), a);
  EXPECT_EQ(parent->GetChildFromLinkPosition(0, 1), b);
  EXPECT_EQ(parent->GetChildFromLinkPosition(0, 2), nullptr) << "the position node itself";
  EXPECT_EQ(parent->GetChildFromLinkPosition(0, 3), nullptr);
  EXPECT_EQ(parent->GetChildFromLinkPosition(0, -1), nullptr);
  EXPECT_EQ(parent->GetChildFromLinkPosition(1, 0), c);
  EXPECT_EQ(parent->GetChildFromLinkPosition(1, 1), nullptr);
  EXPECT_EQ(parent->GetChildFromLinkPosition(5, 0), nullptr);

  EXPECT_EQ(channelInternal.GetChildLinkPosition(parent, 1), 0);
  EXPECT_EQ(channelInternal.GetChildLinkPosition(parent, 3), 1);
  EXPECT_EQ(channelInternal.GetChildLinkPosition(parent, 4), -1);
  EXPECT_EQ(parent->GetChildInfo(-1), nullptr);
  EXPECT_EQ(parent->GetChildInfo(4), nullptr);
  EXPECT_EQ(parent->GetInternalChild(4), nullptr);
  EXPECT_EQ(parent->GetChild(4), nullptr);
  EXPECT_EQ(parent->GetChild(2), nullptr) << "empty position node";
}

}  // namespace
}  // namespace channeltest

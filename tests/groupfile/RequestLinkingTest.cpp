// The link requests a record leaves in its group: CheckRequestListForIndex
// links the requests for one index in list order and keeps the others, and a
// whole load links them index by index.

#include "GroupFileSupport.h"
#include "TvkFile.h"

namespace groupfiletest {
namespace {

class RequestLinkingTest : public GroupFileTest {
 protected:
  // A parent at index 0 whose record asks for index 2 at targets 0 and 2 and
  // for index 1 at target 1; nothing is linked yet.
  Tvk_Channel* LoadParent() {
    Tvk_Channel* parent = Make(kLinkerType, "Parent");
    Bytes record = RecordStart("Parent", TVO_PRIVATE).Int("CHLC", 3);
    LinkedNode(record, 2, 0, 0);
    LinkedNode(record, 1, 0, 1);
    LinkedNode(record, 2, 0, 2);
    std::vector<char> bytes = record.Vector();
    TvkFileLoader loader(engine.Get());
    loader.SetBuffer(bytes.data(), static_cast<int>(bytes.size()), true);
    EXPECT_TRUE(parent->LoadChannel(loader, group.get()));
    return parent;
  }

  std::vector<Tvk_Channel*> RunOf(Tvk_Channel* channel) {
    std::vector<Tvk_Channel*> run;
    for (int t = 0; t < channel->GetChildLinkPositionCount(0); ++t)
      run.push_back(channel->GetChildFromLinkPosition(0, t));
    return run;
  }
};

TEST_F(RequestLinkingTest, AnIndexLinksEveryRequestForItAndKeepsTheRest) {
  Tvk_Channel* parent = LoadParent();
  // A request the parent holds no pair for links nothing and stays.
  group->AddChannelRequest(ChannelRequestInfo{2, 5, parent, 0});
  group->CheckRequestListForIndex(1);  // no channel there yet: nothing happens
  EXPECT_TRUE(RunOf(parent).empty());

  Tvk_Channel* one = Make(kLinkerType, "One");
  Tvk_Channel* two = Make(kLinkerType, "Two");
  group->CheckRequestListForIndex(2);
  EXPECT_EQ(RunOf(parent), (std::vector<Tvk_Channel*>{two, nullptr, two}));
  group->CheckRequestListForIndex(2);  // used up: linking again changes nothing
  group->CheckRequestListForIndex(1);
  EXPECT_EQ(RunOf(parent), (std::vector<Tvk_Channel*>{two, one, two}));
  EXPECT_TRUE(Messages(kMessageError).empty());
}

}  // namespace
}  // namespace groupfiletest

// Collecting the channel types and libraries a channel needs.

#include "ChannelDependency.h"
#include "ChannelTestSupport.h"
#include "Tvk_String.h"

namespace channeltest {
namespace {

inline constexpr GUID kUnknownType{0x0BADC0DE, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};

// Records what a channel type would create or load while it runs.
class DependentChannel : public TestChannel {
 public:
  DependentChannel(ChannelType type, std::vector<const char*> libraries)
      : TestChannel("dependent", type), libraries_(std::move(libraries)) {}
  void DoDependencyInit(Tvk_List* dependencies) override {
    ++initCalls;
    for (const char* library : libraries_) AddDLLDepend(library, dependencies);
    AddChannelGuidDepend(kUnknownType, dependencies);
  }
  int initCalls = 0;

 private:
  std::vector<const char*> libraries_;
};

// The list as "GUIDTEXT:lib,lib" entries, and deletes its records.
class DependencyList {
 public:
  ~DependencyList() {
    for (int i = 0; i < list.GetItemCount(); ++i) delete static_cast<ChannelDependency*>(list.GetItem(i));
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    for (int i = 0; i < list.GetItemCount(); ++i) {
      const auto* dependency = static_cast<ChannelDependency*>(list.GetItem(i));
      std::string entry = GuidText(dependency->typeGuid) + ":";
      for (int n = 0; n < dependency->dllNames.GetItemCount(); ++n) {
        if (n) entry += ",";
        entry += static_cast<Tvk_String*>(dependency->dllNames.GetItem(n))->GetString();
      }
      entries.push_back(entry);
    }
    return entries;
  }
  Tvk_List list;
};

class ChannelDependencyTest : public ChannelTest {};

TEST_F(ChannelDependencyTest, EachTypeOnceInOrderWithItsLibraries) {
  auto* first = Make<DependentChannel>(MakeType(kTypeA, kBaseOfA), std::vector<const char*>{"x.dll", "x.dll"});
  auto* second = Make<DependentChannel>(MakeType(kTypeB, kTypeB), std::vector<const char*>{"y.dll"});
  DependencyList deps;
  channelInternal.GetChannelDepenency(first, &deps.list);
  channelInternal.GetChannelDepenency(second, &deps.list);
  channelInternal.GetChannelDepenency(first, &deps.list);
  const std::vector<std::string> expected = {GuidText(kTypeA) + ":x.dll,x.dll", GuidText(kTypeB) + ":y.dll"};
  EXPECT_EQ(deps.Entries(), expected) << "a library named twice is recorded twice; an unknown type not at all";
  EXPECT_EQ(first->initCalls, 1) << "a recorded type is not asked again";
}

// Channels of this base type are asked before their own record exists too.
TEST_F(ChannelDependencyTest, SpecialBaseTypeIsAskedFirst) {
  auto* channel = Make<DependentChannel>(MakeType(kTypeA, kDependencyFirstBaseType), std::vector<const char*>{"z.dll"});
  DependencyList deps;
  channelInternal.GetChannelDepenency(channel, &deps.list);
  EXPECT_EQ(channel->initCalls, 2);
  EXPECT_EQ(deps.Entries(), std::vector<std::string>{GuidText(kTypeA) + ":z.dll"});
}

TEST_F(ChannelDependencyTest, NothingToCollectInto) {
  auto* channel = Make<DependentChannel>(MakeType(kTypeA, kBaseOfA), std::vector<const char*>{"x.dll"});
  channelInternal.GetChannelDepenency(channel, nullptr);
  EXPECT_EQ(channel->initCalls, 0);
  DependencyList deps;
  channel->AddDLLDepend("x.dll", &deps.list);
  channel->AddDLLDepend(nullptr, &deps.list);
  channel->AddChannelGuidDepend(kUnknownType, &deps.list);
  EXPECT_TRUE(deps.Entries().empty()) << "no record of the channel's own type to add to";
}

}  // namespace
}  // namespace channeltest

// A channel asks its library for its type record once and keeps that copy.

#include "ChannelTestSupport.h"
#include "Platform.h"

namespace channeltest {
namespace {

class ChannelTypeRecordTest : public ChannelTest {
 protected:
  ChannelTypeRecordTest() : library(platform::LoadLibraryFile(VARNEL_TYPE_PROBE_PATH)) {}
  ~ChannelTypeRecordTest() override {
    if (library) platform::UnloadLibrary(library);
  }

  // A channel of the probe library, as the engine stores it after creation.
  Tvk_Channel* ProbeChannel() {
    Tvk_Channel* channel = Make<Tvk_Channel>();
    channel->SetDllInterface(library, engine.Get());
    return channel;
  }

  void Rename(const char* name) {
    auto rename = reinterpret_cast<void (*)(const char*)>(platform::FindLibrarySymbol(library, "RenameProbeType"));
    ASSERT_NE(rename, nullptr);
    rename(name);
  }

  HINSTANCE library;
};

TEST_F(ChannelTypeRecordTest, RecordIsFetchedOncePerChannel) {
  ASSERT_NE(library, nullptr) << platform::LastLibraryErrorText();
  Tvk_Channel* first = ProbeChannel();
  Tvk_Channel* second = ProbeChannel();
  const ChannelType a = first->GetChannelType();
  const ChannelType b = second->GetChannelType();
  EXPECT_STREQ(a.name, "Probe");
  EXPECT_EQ(std::memcmp(&a, &b, sizeof(ChannelType)), 0);
  EXPECT_EQ(a.baseGuid, a.guid);

  Rename("Renamed");
  EXPECT_STREQ(first->GetChannelType().name, "Probe") << "the first copy is kept";
  EXPECT_STREQ(ProbeChannel()->GetChannelType().name, "Renamed") << "a new channel asks again";
  Rename("Probe");
}

}  // namespace
}  // namespace channeltest

// The fuzzer's seeds are real group files of the build's own plug-in types:
// each loads in the build's engine directory and saves again.

#include <filesystem>

#include "GroupFileSupport.h"
#include "TvkFile.h"

namespace groupfiletest {
namespace {

TEST(SeedCorpusTest, EverySeedIsAGroupFileOfTheBuildsPlugins) {
  testsupport::StartedEngine engine(testsupport::BuildEngineDir());
  globalEngine = engine.Get();
  const std::filesystem::path corpus = std::filesystem::path(VARNEL_SOURCE_DIR) / "tests" / "fuzz" / "corpus";
  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    SCOPED_TRACE(entry.path().filename().string());
    ++seeds;
    Tvk_ChannelGroup group(engine.Get());
    ASSERT_TRUE(group.LoadChannelGroupFromFile(entry.path().c_str(), true));
    EXPECT_EQ(group.GetChannelGroupFileName(), entry.path().string());
    TvkFileSaver saver(engine.Get());
    saver.OpenMemory();
    EXPECT_TRUE(group.SaveChannelGroup(saver));
    EXPECT_GT(saver.GetBufferSize(), 0u);
  }
  EXPECT_GE(seeds, 5);
  globalEngine = nullptr;
}

}  // namespace
}  // namespace groupfiletest

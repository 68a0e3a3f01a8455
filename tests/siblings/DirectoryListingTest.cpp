// The directory listing channel as the channel list drives it.

#include <filesystem>
#include <string>
#include <vector>

#include "FileTestHelpers.h"
#include "SiblingPlugins.h"

namespace siblingtest {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class DirectoryListing : public ::testing::Test {
 protected:
  void SetUp() override {
    listing = LoadPlugin<Tvo_DirectoryChannel>(engine.Get(), kDirectoryFileName);
    ASSERT_NE(listing, nullptr);
    for (const char* name : {"c.Dll", "a.dll", "B.DLL", "d.dle", "e.txt", "dll", "f.dll.txt"}) {
      WriteText(dir.Path() / name, "x");
    }
    fs::create_directory(dir.Path() / "sub.dll");
    WriteText(dir.Path() / "sub.dll" / "inner.dll", "x");
  }
  std::string Pattern() const { return EnginePath(dir.Path().string()) + "\\*.*"; }
  Names Listed() {
    Names names;
    for (int i = 0; i < listing->GetFileCount(); ++i) names.push_back(listing->GetFileName(i));
    return names;
  }

  testsupport::StartedEngine engine;
  testsupport::TempDir dir;
  std::unique_ptr<Tvo_DirectoryChannel> listing;
};

TEST_F(DirectoryListing, PlainFilesOfTheExtensionIgnoringCaseInNameOrder) {
  listing->SetExtensionFilter("DLL");
  listing->SetSearchPattern(Pattern().c_str());
  EXPECT_EQ(Listed(), (Names{"B.DLL", "a.dll", "c.Dll"}));
  EXPECT_EQ(listing->GetFileName(-1), nullptr);
  EXPECT_EQ(listing->GetFileName(3), nullptr);

  listing->SetExtensionFilter("dle");
  EXPECT_EQ(Listed(), Names{"d.dle"}) << "the filter may change after the pattern";
}

TEST_F(DirectoryListing, WithoutAFilterEveryPlainFileIsListed) {
  listing->SetSearchPattern(Pattern().c_str());
  EXPECT_EQ(Listed(), (Names{"B.DLL", "a.dll", "c.Dll", "d.dle", "dll", "e.txt", "f.dll.txt"}));
}

TEST_F(DirectoryListing, AMissingDirectoryListsNothing) {
  listing->SetExtensionFilter("DLL");
  listing->SetSearchPattern(Pattern().c_str());
  listing->SetSearchPattern((EnginePath(dir.Path().string()) + "\\missing\\*.*").c_str());
  EXPECT_EQ(listing->GetFileCount(), 0);
  EXPECT_EQ(listing->GetFileName(0), nullptr);
  listing->SetSearchPattern(nullptr);
  EXPECT_EQ(listing->GetFileCount(), 0);
}

}  // namespace
}  // namespace siblingtest

// Reading a package: what it asks of the engine, its start group, and the
// boxes a viewer shows when the package cannot be read.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FileChannels.h"
#include "PackageFixture.h"
#include "ProjectPackageLoader.h"
#include "TestPluginTypes.h"

using packagetest::PackageTest;
using packagetest::PackageWriter;
using testplugin::kMissingType;

namespace {

struct ReadCase {
  const char* what;
  void (*build)(PackageWriter&);
  int result;
  std::vector<std::string> boxes;
};

TEST_F(PackageTest, ResultsAndBoxesFollowWhatThePackageNeeds) {
  const std::vector<ReadCase> cases = {
      {"a start group only", [](PackageWriter& p) { p.Text("VSGR", "start.cgr"); }, 0, {}},
      {"library entries without needed channels are not looked at",
       [](PackageWriter& p) { p.Int("VDGC", 1).Text("VDDF", "missing.so"); },
       0,
       {}},
      {"an engine version above this one", [](PackageWriter& p) { p.Int("VMEV", 55); }, 2, {packagetest::kVersionText}},
      {"this engine's version", [](PackageWriter& p) { p.Int("VMEV", 54).Int("VDDC", 0); }, 0, {}},
      {"an empty entry and an installed channel",
       [](PackageWriter& p) { p.Int("VDDC", 2).Tag("VFDB").NeededChannel(kFileLoaderType, 1, 54, 1); },
       0,
       {}},
      {"a missing channel that carries a size but no bytes",
       [](PackageWriter& p) {
         p.Int("VDDC", 1).NeededChannel(kMissingType, 1, 54, 1).Text("VCAN", "Missing.dll").Int("VCAS", 10);
       },
       2,
       {packagetest::NotFoundText(kMissingType)}},
      {"a missing channel that also needs a newer build",
       [](PackageWriter& p) { p.Int("VDDC", 1).NeededChannel(kMissingType, 1, 54, 2); },
       2,
       {packagetest::NotFoundText(kMissingType), packagetest::TooOldText(kMissingType)}},
      {"a needed library that is missing and not carried",
       [](PackageWriter& p) { p.Int("VDDC", 0).Int("VDGC", 1).Text("VDDF", "missing.so"); },
       2,
       {packagetest::kLibraryText}},
      {"an empty library entry", [](PackageWriter& p) { p.Int("VDDC", 0).Int("VDGC", 1).Tag("VDFF"); }, 0, {}},
      {"entries that begin with neither tag are passed over, the libraries still read",
       [](PackageWriter& p) { p.Int("VDDC", 3).Tag("VFDB").Int("VDGC", 1).Text("VDDF", "missing.so"); },
       2,
       {packagetest::kLibraryText}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.Clear();
    PackageWriter writer = Writer();
    c.build(writer);
    EXPECT_EQ(Read(writer.WriteTo(packages.File("case.vnl"))), c.result);
    EXPECT_EQ(BoxTexts(), c.boxes);
    for (const auto& box : boxes.Boxes()) {
      EXPECT_EQ(box.caption, "Varnel Error");
      EXPECT_EQ(box.icon, platform::MessageBoxIcon::Error);
      EXPECT_EQ(box.buttons, platform::MessageBoxButtons::Ok);
      EXPECT_EQ(box.owner, nullptr);
    }
  }
}

TEST_F(PackageTest, KeepRunningMarkerReachesTheEngine) {
  EXPECT_FALSE(engine->engineInterfaceExt->GetIfKeepRunningApplication());
  EXPECT_EQ(Read(Writer().Int("VMEV", 1).Tag("VFKR").WriteTo(packages.File("run.vnl"))), 0);
  EXPECT_TRUE(engine->engineInterfaceExt->GetIfKeepRunningApplication());
}

TEST_F(PackageTest, StartGroupIsTheNameInThePackagesDirectory) {
  ProjectPackageLoader loader(engine.Get());
  const std::string path = Writer().Text("VSGR", "groups\\start.cgr").WriteTo(packages.File("pkg.vnl"));
  ASSERT_EQ(loader.InitializeVNLFile(path.c_str()), 0);
  EXPECT_EQ(std::string(loader.GetStartGroupFile()), packages.Path().string() + "/groups\\start.cgr");

  // Without a separator the directory is empty and the name stays relative.
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(packages.Path());
  EXPECT_EQ(loader.InitializeVNLFile("pkg.vnl"), 0);
  std::filesystem::current_path(previous);
  EXPECT_STREQ(loader.GetStartGroupFile(), "groups\\start.cgr");
}

// A name block too long for the field leaves the name empty; the package goes
// on being read after it.
TEST_F(PackageTest, OverlongStartGroupNameIsDroppedAndTheRestStillRead) {
  ProjectPackageLoader loader(engine.Get());
  const std::string longest(398, 'g');
  ASSERT_EQ(loader.InitializeVNLFile(Writer().Text("VSGR", longest).WriteTo(packages.File("a.vnl")).c_str()), 0);
  const std::string directory = packages.Path().string() + "/";
  EXPECT_EQ(std::string(loader.GetStartGroupFile()), (directory + longest).substr(0, 399));

  const std::string path = Writer().Text("VSGR", std::string(399, 'g')).Int("VMEV", 55).WriteTo(packages.File("b.vnl"));
  EXPECT_EQ(Read(path), 2) << "the version after the name was read";
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{packagetest::kVersionText});

  boxes.Clear();
  ASSERT_EQ(Read(Writer().Text("VSGR", std::string(399, 'g')).WriteTo(path)), 0);
  EXPECT_EQ(engine->engineInterfaceExt->GetVNLStartGroup(), nullptr);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Unable to load startup channelgroup : " + directory});
}

TEST_F(PackageTest, LoadFailureOffersRetryUntilCancelled) {
  const HWND window = reinterpret_cast<HWND>(0x5150);
  engine->engineInterfaceExt->SetWindowHandle(window);
  struct {
    std::string path;
    std::string text;
  } cases[] = {
      {packages.File("absent.vnl"), "There was an error loading the vnl file : "},
      {"http://127.0.0.1:9/absent.vnl", "There was an error downloading the vnl file : "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    boxes.Clear();
    for (int i = 0; i < 3; ++i) boxes.QueueAnswer(platform::MessageBoxAnswer::Retry);
    boxes.QueueAnswer(platform::MessageBoxAnswer::Cancel);
    EXPECT_EQ(Read(c.path), 1);
    ASSERT_EQ(boxes.Boxes().size(), 4u) << "one box per load: four loads in all";
    for (const auto& box : boxes.Boxes()) {
      EXPECT_EQ(box.text, c.text + c.path);
      EXPECT_EQ(box.caption, "Warning");
      EXPECT_EQ(box.icon, platform::MessageBoxIcon::Exclamation);
      EXPECT_EQ(box.buttons, platform::MessageBoxButtons::RetryCancel);
      EXPECT_EQ(box.owner, window);
    }
  }
}

TEST_F(PackageTest, RetryLoadsAgainAndSucceedsOnceTheFileIsThere) {
  const std::string path = packages.File("late.vnl");
  PackageWriter writer = Writer();
  writer.Int("VMEV", 54);
  // The file appears while the first box is up.
  platform::MessageBoxHandler recording = platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest&) {
    writer.WriteTo(path);
    return platform::MessageBoxAnswer::Retry;
  });
  EXPECT_EQ(Read(path), 0);
  platform::SetMessageBoxHandler(recording);
}

TEST_F(PackageTest, NullPathIsRefused) {
  EXPECT_EQ(engine->engineInterfaceExt->InitializeVNLFile(nullptr), 1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Invalid filename of vnl file"});
}

TEST(PackageWithoutLoader, MissingFileLoaderIsReportedToTheWindow) {
  testsupport::TempInstallDir bare;
  testsupport::StartedEngine engine(bare.Path().string());
  testsupport::RecordingMessageBoxes boxes;
  const HWND window = reinterpret_cast<HWND>(0x77);
  engine->engineInterfaceExt->SetWindowHandle(window);
  EXPECT_EQ(engine->engineInterfaceExt->InitializeVNLFile("any.vnl"), 1);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text,
            "The varnel viewer was unable to start the file loading module. Please re-install the viewer package.");
  EXPECT_EQ(boxes.Boxes()[0].caption, "Varnel Error");
  EXPECT_EQ(boxes.Boxes()[0].icon, platform::MessageBoxIcon::Error);
  EXPECT_EQ(boxes.Boxes()[0].owner, window);
}

}  // namespace

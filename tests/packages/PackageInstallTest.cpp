// Installing what a package carries: plug-ins for channels the installation
// lacks or has too old, libraries its 3rd folder lacks, and a real plug-in
// that the next engine start finds and a start group uses.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ChannelList.h"
#include "DllInterface.h"
#include "EngineControl.h"
#include "PackageFixture.h"
#include "TestPluginTypes.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

using packagetest::PackageInstall;
using packagetest::PackageWriter;
using testplugin::kLeafType;
using testplugin::kNullInitType;

namespace {

std::vector<int> Versions(const ChannelType& type) {
  return {type.versionInfo[0], type.versionInfo[1], type.versionInfo[2]};
}

// An installation that already holds two test plug-ins when the engine starts.
class LeafInstall : public PackageInstall {
 public:
  LeafInstall() {
    AddTestPlugin("Leaf.dll");
    AddTestPlugin("NullInit.dll");
  }
};

class InstalledLeafTest : public ::testing::Test {
 protected:
  int Read(const std::string& path) { return engine->engineInterfaceExt->InitializeVNLFile(path.c_str()); }
  ChannelList* List() { return engine->engineInterfaceExt->GetChannelList(); }

  LeafInstall install;
  testsupport::StartedEngine engine{install.Dir()};
  testsupport::RecordingMessageBoxes boxes;
  testsupport::TempDir packages;
};

TEST_F(InstalledLeafTest, TooOldChannelGetsTheCarriedPluginAndTheRequiredVersions) {
  ASSERT_EQ(Versions(List()->GetChannelType(kLeafType)), (std::vector<int>{1, 54, 1}));
  const std::vector<char> bytes = packagetest::TestPluginBytes("Updated.dll");
  PackageWriter writer(engine.Get());
  writer.Int("VDDC", 1).NeededChannel(kLeafType, 1, 54, 2).Carried("VCAN", "VCAS", "VCAF", "LeafUpdate.dll", bytes);
  EXPECT_EQ(Read(writer.WriteTo(packages.File("update.vnl"))), 0);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, packagetest::TooOldText(kLeafType));
  EXPECT_EQ(packagetest::ReadBytes(install.ChannelFile("LeafUpdate.dll")), bytes);
  EXPECT_EQ(Versions(List()->GetChannelType(kLeafType)), (std::vector<int>{1, 54, 2}));
}

// A plug-in file spoilt after the scan fails its first use.
TEST_F(InstalledLeafTest, ChannelThatFailedToInitializeIsReinstalled) {
  packagetest::WriteBytes(install.ChannelFile("NullInit.dll"), {'b', 'a', 'd'});
  ASSERT_EQ(engine->InitChannelFromType(kNullInitType, nullptr, false), nullptr);
  ASSERT_TRUE(List()->GetItem(kNullInitType)->loadFailed);
  const std::vector<char> bytes = packagetest::TestPluginBytes("NullInit.dll");
  PackageWriter writer(engine.Get());
  writer.Int("VDDC", 1).NeededChannel(kNullInitType, 1, 54, 1).Carried("VCAN", "VCAS", "VCAF", "NullInit.dll", bytes);
  EXPECT_EQ(Read(writer.WriteTo(packages.File("fix.vnl"))), 0);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, packagetest::FailedText(kNullInitType));
  EXPECT_EQ(packagetest::ReadBytes(install.ChannelFile("NullInit.dll")), bytes) << "replaced whole";
}

TEST_F(InstalledLeafTest, SatisfiedPackageShowsNothingAndWritesNothing) {
  const std::vector<std::string> before = install.AllFiles();
  packagetest::WriteBytes(install.ThirdFile("libhere.so"), {'x'});
  PackageWriter writer(engine.Get());
  writer.Int("VDDC", 2).NeededChannel(kLeafType, 1, 54, 1).Text("VCAN", "Leaf.dll").Int("VCAS", 3);
  writer.Block("VCAF", "new", 3);
  writer.Tag("VFDB").Int("VDGC", 1).Text("VDDF", "libhere.so").Text("VDLN", "libhere.so").Int("VDLS", 3);
  writer.Block("VDLF", "new", 3);
  EXPECT_EQ(Read(writer.WriteTo(packages.File("ok.vnl"))), 0);
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_EQ(packagetest::ReadBytes(install.ThirdFile("libhere.so")), std::vector<char>{'x'});
  EXPECT_EQ(packagetest::ReadBytes(install.ChannelFile("Leaf.dll")), packagetest::TestPluginBytes("Leaf.dll"));
}

TEST_F(InstalledLeafTest, MissingLibraryIsInstalledIntoThirdAndFoundNextTime) {
  PackageWriter writer(engine.Get());
  writer.Int("VDDC", 0).Int("VDGC", 1).Text("VDDF", "libneeded.so");
  writer.Carried("VDLN", "VDLS", "VDLF", "libneeded.so", {'l', 'i', 'b'});
  const std::string path = writer.WriteTo(packages.File("lib.vnl"));
  EXPECT_EQ(Read(path), 0);
  EXPECT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(packagetest::ReadBytes(install.ThirdFile("libneeded.so")), (std::vector<char>{'l', 'i', 'b'}));
  boxes.Clear();
  EXPECT_EQ(Read(path), 0);
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(InstalledLeafTest, UnwritableTargetRefusesThePackageAndKeepsWhatIsThere) {
  std::filesystem::create_directory(install.ChannelFile("Taken.dll"));
  PackageWriter writer(engine.Get());
  writer.Int("VDDC", 1).NeededChannel(testplugin::kMissingType, 1, 54, 1);
  writer.Carried("VCAN", "VCAS", "VCAF", "Taken.dll", {'n', 'e', 'w'});
  EXPECT_EQ(Read(writer.WriteTo(packages.File("taken.vnl"))), 2);
  EXPECT_TRUE(std::filesystem::is_directory(install.ChannelFile("Taken.dll")));
}

// The whole road: a package carrying a real plug-in installs it, the next
// engine start finds it, and the package's start group made of it loads.
TEST(PackageRoundTrip, CarriedPluginIsFoundAtTheNextStartAndItsStartGroupLoads) {
  testsupport::ScopedSettingsRoot settings;
  testsupport::RecordingMessageBoxes boxes;
  testsupport::TempDir project;
  const std::string groupFile = project.File("start.cgr");
  {
    PackageInstall authoring;
    authoring.AddTestPlugin("Leaf.dll");
    testsupport::StartedEngine editor(authoring.Dir());
    globalEngine = editor.Get();
    Tvk_ChannelGroup* group = editor->CreateNewGroup("Start", false, -1);
    ASSERT_NE(group, nullptr);
    ASSERT_NE(editor->InitChannelFromType(kLeafType, group, false), nullptr);
    group->SetStartChannel(0);
    ASSERT_TRUE(group->SaveChannelGroup(groupFile.c_str()));
    PackageWriter writer(editor.Get());
    writer.Text("VSGR", "start.cgr").Int("VMEV", 54).Int("VDDC", 1).NeededChannel(kLeafType, 1, 54, 1);
    writer.Carried("VCAN", "VCAS", "VCAF", "Leaf.dll", packagetest::TestPluginBytes("Leaf.dll"));
    writer.WriteTo(project.File("project.vnl"));
    globalEngine = nullptr;
  }

  PackageInstall viewer;
  std::string commandLine = project.File("project.vnl");
  auto startViewer = [&]() {
    EngineControl* control = GetEngineControlInstance();
    control->SetInstallDir(viewer.Dir().c_str());
    control->SetVarnelRegKey("Software\\Varnel\\PackageRoundTrip");
    control->SetCommandLine(commandLine.data());
    char className[] = "Varnel Viewer";
    EXPECT_TRUE(control->InitEngine(nullptr, className, nullptr));
    globalEngine = control->GetEngineInterface();
    return control;
  };

  EngineControl* first = startViewer();
  first->LoadProject();
  EXPECT_EQ(boxes.Boxes().front().text, packagetest::NotFoundText(kLeafType));
  EXPECT_EQ(packagetest::ReadBytes(viewer.ChannelFile("Leaf.dll")), packagetest::TestPluginBytes("Leaf.dll"));
  delete first;

  boxes.Clear();
  EngineControl* second = startViewer();
  EXPECT_EQ(second->LoadProject(), 0);
  EXPECT_TRUE(boxes.Boxes().empty());
  Tvk_ChannelGroup* start = second->GetStartGroupOfLastFrame();
  ASSERT_NE(start, nullptr);
  Tvk_Channel* channel = start->GetChannel(start->GetStartChannel());
  ASSERT_NE(channel, nullptr);
  EXPECT_EQ(channel->GetChannelType().guid, kLeafType);
  delete second;
  globalEngine = nullptr;
}

}  // namespace

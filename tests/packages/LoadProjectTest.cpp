// LoadProject from the host's side: the package named on the command line or
// chosen in the file dialog, the result codes, and the groups of the previous
// project going first.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "DllInterface.h"
#include "EngineControl.h"
#include "PackageFixture.h"
#include "Platform.h"
#include "Tvk_ChannelGroup.h"

using packagetest::PackageInstall;
using packagetest::PackageWriter;

namespace {

constexpr const char* kKey = "Software\\Varnel\\LoadProjectTests";
constexpr const char* kOpenFile = "VARNEL_OPEN_FILE";

// Sets an environment variable for the object's lifetime.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name), previous_(platform::GetEnvironmentValue(name)) {
    platform::SetEnvironmentValue(name, value);
  }
  ~ScopedVariable() { platform::SetEnvironmentValue(name_, previous_ ? previous_->c_str() : nullptr); }

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

class LoadProjectTest : public ::testing::Test {
 protected:
  void SetUp() override { StartEngine(); }
  void TearDown() override {
    delete control;
    globalEngine = nullptr;
  }
  void StartEngine() {
    control = GetEngineControlInstance();
    control->SetInstallDir(install.Dir().c_str());
    control->SetVarnelRegKey(kKey);
    char className[] = "Varnel Viewer";
    ASSERT_TRUE(control->InitEngine(nullptr, className, nullptr));
    globalEngine = Engine();
  }
  EngineInterface* Engine() { return control->GetEngineInterface(); }
  void SetCommandLine(const std::string& text) {
    std::string copy = text;
    control->SetCommandLine(copy.data());
  }
  // A package whose start group is an empty group saved beside it.
  std::string ProjectWithStartGroup() {
    Tvk_ChannelGroup* group = Engine()->CreateNewGroup("Authoring", false, -1);
    EXPECT_TRUE(group->SaveChannelGroup(project.File("start.cgr").c_str()));
    Engine()->DeleteChannelGroup(group->GetGroupIndex());
    return PackageWriter(Engine()).Text("VSGR", "start.cgr").WriteTo(project.File("project.vnl"));
  }
  bool GroupNamed(const char* poolName) {
    for (int i = 0; i < Engine()->GetChannelGroupCount(); ++i) {
      Tvk_ChannelGroup* group = Engine()->GetChannelGroup(i);
      if (group && std::string(group->GetPoolName()) == poolName) return true;
    }
    return false;
  }

  testsupport::ScopedSettingsRoot settings;
  PackageInstall install{"filedialog.dll"};
  testsupport::TempDir project;
  testsupport::RecordingMessageBoxes boxes;
  EngineControl* control = nullptr;
};

TEST_F(LoadProjectTest, ResultCodesForPackagesOnTheCommandLine) {
  const std::string loads = ProjectWithStartGroup();
  struct Case {
    const char* what;
    std::string path;
    int result;
  } cases[] = {
      {"package and start group load", loads, kProjectLoaded},
      {"package cannot be read", project.File("absent.vnl"), kProjectUnreadable},
      {"package needs a newer engine", PackageWriter(Engine()).Int("VMEV", 55).WriteTo(project.File("newer.vnl")),
       kProjectRefused},
      {"start group missing", PackageWriter(Engine()).Text("VSGR", "absent.cgr").WriteTo(project.File("nogroup.vnl")),
       kProjectStartGroupFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.Clear();
    SetCommandLine(c.path);
    EXPECT_EQ(control->LoadProject(), c.result);
    if (c.result == kProjectLoaded) {
      EXPECT_NE(control->GetStartGroupOfLastFrame(), nullptr);
    }
    if (c.result == kProjectStartGroupFailed) {
      EXPECT_EQ(control->GetStartGroupOfLastFrame(), nullptr);
    }
  }
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, "Unable to load startup channelgroup : " + project.File("absent.cgr"));
}

TEST_F(LoadProjectTest, GroupsOfThePreviousProjectGoBeforeTheNewOneLoads) {
  SetCommandLine(ProjectWithStartGroup());
  Engine()->CreateNewGroup("Previous", false, -1);
  ASSERT_EQ(control->LoadProject(), kProjectLoaded);
  EXPECT_FALSE(GroupNamed("Previous"));
  Tvk_ChannelGroup* start = control->GetStartGroupOfLastFrame();
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start->GetGroupIndex(), 0) << "the first group after the release is the default start group";
}

TEST_F(LoadProjectTest, CancelledDialogAnswersNoFileAfterTheGroupsWent) {
  ScopedVariable none(kOpenFile, nullptr);
  Engine()->CreateNewGroup("Previous", false, -1);
  EXPECT_EQ(control->LoadProject(), kProjectNoFile);
  EXPECT_FALSE(GroupNamed("Previous"));
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(LoadProjectTest, DialogAnswersFromTheEnvironmentOrTheSettings) {
  const std::string path = ProjectWithStartGroup();
  {
    ScopedVariable chosen(kOpenFile, path.c_str());
    EXPECT_EQ(control->LoadProject(), kProjectLoaded);
  }
  ScopedVariable none(kOpenFile, nullptr);
  ASSERT_TRUE(Engine()->engineInterfaceExt->SetRegData("OpenFile", path.c_str()));
  EXPECT_EQ(control->LoadProject(), kProjectLoaded);
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(LoadProjectWithoutDialog, MissingDialogModuleAnswersUnreadableAndKeepsTheGroups) {
  testsupport::ScopedSettingsRoot settings;
  testsupport::RecordingMessageBoxes boxes;
  PackageInstall install;
  EngineControl* control = GetEngineControlInstance();
  control->SetInstallDir(install.Dir().c_str());
  control->SetVarnelRegKey(kKey);
  char className[] = "Varnel Viewer";
  ASSERT_TRUE(control->InitEngine(nullptr, className, nullptr));
  EngineInterface* engine = control->GetEngineInterface();
  engine->CreateNewGroup("Previous", false, -1);
  EXPECT_EQ(control->LoadProject(), kProjectUnreadable);
  EXPECT_EQ(engine->GetChannelGroupCount(), 1);
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text,
            "The varnel viewer was unable to start the file dialog module. Please re-install the viewer package.");
  EXPECT_EQ(boxes.Boxes()[0].caption, "Varnel Error");
  EXPECT_EQ(boxes.Boxes()[0].icon, platform::MessageBoxIcon::Error);
  delete control;
  globalEngine = nullptr;
}

}  // namespace

// The headless file dialog: the environment, then the settings, then cancel.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "FileDialogChannel.h"
#include "PackageSupport.h"
#include "Platform.h"

namespace {

struct DialogCase {
  const char* what;
  std::optional<std::string> environment;
  std::optional<std::string> setting;
  std::string path;
};

TEST(FileDialog, ChoosesTheEnvironmentThenTheSettingThenNothing) {
  packagetest::PackageInstall install{"filedialog.dll"};
  testsupport::StartedEngine engine(install.Dir());
  const std::optional<std::string> previous = platform::GetEnvironmentValue("VARNEL_OPEN_FILE");
  const std::string longest(259, 'p');
  const DialogCase cases[] = {
      {"environment only", "/data/a.vnl", std::nullopt, "/data/a.vnl"},
      {"environment before setting", "/data/a.vnl", "/data/b.vnl", "/data/a.vnl"},
      {"setting only", std::nullopt, "/data/b.vnl", "/data/b.vnl"},
      {"empty environment is not set", "", "/data/b.vnl", "/data/b.vnl"},
      {"nothing chosen", std::nullopt, "", ""},
      {"the longest path that fits", longest, std::nullopt, longest},
      {"a path that does not fit is not cut", longest + "p", "/data/b.vnl", ""},
      {"a setting that does not fit is not cut", std::nullopt, longest + "p", ""},
  };
  for (const DialogCase& c : cases) {
    SCOPED_TRACE(c.what);
    platform::SetEnvironmentValue("VARNEL_OPEN_FILE", c.environment ? c.environment->c_str() : nullptr);
    ASSERT_TRUE(engine->engineInterfaceExt->SetRegData("OpenFile", c.setting ? c.setting->c_str() : ""));
    auto* dialog = static_cast<Tvo_FileDialogChannel*>(engine->InitChannelFromType(kFileDialogType, nullptr, false));
    ASSERT_NE(dialog, nullptr);
    char path[kFileDialogPathSize];
    std::memset(path, 'x', sizeof path);
    EXPECT_EQ(dialog->OpenFileDialog("Varnel file (*.vnl)", "vnl", path), !c.path.empty());
    EXPECT_EQ(std::string(path), c.path);
    delete dialog;
  }
  platform::SetEnvironmentValue("VARNEL_OPEN_FILE", previous ? previous->c_str() : nullptr);
}

}  // namespace

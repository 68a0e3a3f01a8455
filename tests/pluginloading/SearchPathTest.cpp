// The engine puts its plug-in directories on the library search path once, so
// plug-ins are found by their bare names.

#include <gtest/gtest.h>

#include <string>

#include "ChannelList.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"
#include "PluginLoadingSupport.h"

namespace pluginloading {
namespace {

std::string SearchPath() { return platform::GetEnvironmentValue(platform::LibrarySearchPathVariable()).value_or(""); }

std::string PluginDirectories(const PluginInstall& install) {
  const char separator = platform::LibrarySearchPathSeparator();
  return install.Dir() + "/channels" + separator + install.Dir() + "/3rd" + separator;
}

TEST(SearchPath, GetsThePluginDirectoriesInFrontOnceAndKeepsThemThere) {
  PluginInstall install({"Leaf.dll"});
  ScopedEnvironment environment;
  environment.Set(platform::LibrarySearchPathVariable(), "/opt/elsewhere/lib");
  {
    testsupport::StartedEngine first(install.Dir());
    EXPECT_EQ(SearchPath(), PluginDirectories(install) + "/opt/elsewhere/lib");
  }
  testsupport::StartedEngine second(install.Dir());
  EXPECT_EQ(SearchPath(), PluginDirectories(install) + "/opt/elsewhere/lib") << "a later engine finds them there";
  EXPECT_NE(second->engineInterfaceExt->GetChannelList()->GetItem(testplugin::kLeafType), nullptr);
}

// Another directory whose name merely starts with the install directory's
// does not put the plug-ins on the path.
TEST(SearchPath, ADirectoryThatOnlyContainsTheInstallNameDoesNotCount) {
  PluginInstall install({"Leaf.dll"});
  ScopedEnvironment environment;
  const std::string lookalike = install.Dir() + "-old/channels";
  environment.Set(platform::LibrarySearchPathVariable(), lookalike);
  testsupport::StartedEngine engine(install.Dir());
  EXPECT_EQ(SearchPath(), PluginDirectories(install) + lookalike);
  EXPECT_NE(engine->engineInterfaceExt->GetChannelList()->GetItem(testplugin::kLeafType), nullptr);
  EXPECT_TRUE(Errors(engine).empty());
}

}  // namespace
}  // namespace pluginloading

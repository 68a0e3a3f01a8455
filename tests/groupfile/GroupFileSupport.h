#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DllInterface.h"
#include "EngineInterface.h"
#include "GroupFileBytes.h"
#include "GroupFileTypes.h"
#include "TestSupport.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace groupfiletest {

// An install directory with the sibling plug-ins of the build and the group
// file test plug-ins.
class GroupFileInstall : public testsupport::TempInstallDir {
 public:
  GroupFileInstall();
};

// A started engine on that install, and one unregistered group of it.
class GroupFileTest : public ::testing::Test {
 protected:
  GroupFileTest();
  ~GroupFileTest() override;

  // A channel of a test type made through the engine in `target` (the test's
  // group by default), named when a name is given.
  Tvk_Channel* Make(const GUID& type, const char* name, Tvk_ChannelGroup* target = nullptr);
  std::unique_ptr<Tvk_ChannelGroup> NewGroup() { return std::make_unique<Tvk_ChannelGroup>(engine.Get()); }

  // The bytes the group writes into a memory saver.
  std::vector<char> SavedBytes(Tvk_ChannelGroup& source);
  // Loads bytes from memory under the name "memory.cgr".
  bool Load(Tvk_ChannelGroup& target, const std::vector<char>& bytes, bool asPoolInstance = false);
  bool Load(Tvk_ChannelGroup& target, const Bytes& bytes, bool asPoolInstance = false) {
    return Load(target, bytes.Vector(), asPoolInstance);
  }

  std::vector<std::string> Messages(int type) const { return engine.sink.TextsOfType(type); }

  GroupFileInstall install;
  testsupport::StartedEngine engine{install.Path().string()};
  testsupport::TempDir files;
  std::unique_ptr<Tvk_ChannelGroup> group{new Tvk_ChannelGroup(engine.Get())};
};

std::vector<char> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<char>& bytes);

// Fails with the first differing offset and the bytes around it.
::testing::AssertionResult SameBytes(const std::vector<char>& actual, const std::vector<char>& expected);

}  // namespace groupfiletest

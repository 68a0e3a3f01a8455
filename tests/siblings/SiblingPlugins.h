#pragma once

// Loads the sibling plug-ins the build put into its engine directory, the way
// the engine's channel list loads its utility channels: by file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "DirectoryChannel.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "FileChannels.h"
#include "TestSupport.h"

namespace siblingtest {

inline std::string PluginPath(const char* file) { return testsupport::BuildEngineDir() + "/channels/" + file; }

// The engine form of a native path: backslash-separated, as engine texts are.
inline std::string EnginePath(std::string native) {
  std::replace(native.begin(), native.end(), '/', '\\');
  return native;
}

template <typename Interface>
std::unique_ptr<Interface> LoadPlugin(EngineInterface* engine, const char* file) {
  DllInterface* object = engine->engineInterfaceExt->GetDLLInstance(PluginPath(file).c_str());
  return std::unique_ptr<Interface>(object ? static_cast<Interface*>(static_cast<Tvk_Channel*>(object)) : nullptr);
}

// A started engine with one file loader and one file saver channel. The
// engine is declared first: it unloads the plug-ins, so it must go last.
class SiblingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loader = NewLoader();
    saver = NewSaver();
    ASSERT_NE(loader, nullptr);
    ASSERT_NE(saver, nullptr);
  }
  std::unique_ptr<Tvo_FileLoaderChannel> NewLoader() {
    return LoadPlugin<Tvo_FileLoaderChannel>(engine.Get(), kFileLoaderFileName);
  }
  std::unique_ptr<Tvo_FileSaverChannel> NewSaver() {
    return LoadPlugin<Tvo_FileSaverChannel>(engine.Get(), "tagwriter.dll");
  }

  // A tag and its block, as every writer of the engine writes them.
  void SaveBlock(const char* tag, const void* data, std::uint32_t size) {
    saver->SaveTag(tag);
    saver->SaveBlockSize(size);
    saver->SaveDataToFile(data, size);
  }
  // Hands what the memory saver holds to the loader, copied.
  void LoadSaverBuffer() { loader->SetBuffer(saver->GetBuffer(), static_cast<int>(saver->GetBufferSize()), true); }

  testsupport::StartedEngine engine;
  std::unique_ptr<Tvo_FileLoaderChannel> loader;
  std::unique_ptr<Tvo_FileSaverChannel> saver;
};

}  // namespace siblingtest

#pragma once

// Install directories with chosen plug-ins, the probe log the test plug-ins
// write, and the bytes of "channels.lst".

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "ChannelType.h"
#include "ScopedEnvironment.h"
#include "TestPluginTypes.h"
#include "TestSupport.h"

namespace pluginloading {

// The plug-ins every start needs: the channel list reads, lists and writes with them.
inline const std::vector<std::string> kSiblingFiles = {"Directory.dll", "tagreader.dll", "tagwriter.dll"};

// A fresh install directory holding the sibling plug-ins and the named test
// plug-ins ("Leaf.dll"), copied from the build.
class PluginInstall : public testsupport::TempInstallDir {
 public:
  explicit PluginInstall(std::initializer_list<const char*> testPlugins = {});
  // Copies a test plug-in into channels/, under another name when one is given.
  void AddTestPlugin(const std::string& file, const std::string& asName = std::string());
  void RemovePlugin(const std::string& file);
  std::string Dir() const { return Path().string(); }
  std::string ChannelFile(const std::string& file) const { return (Path() / "channels" / file).string(); }
  std::string ListFile() const { return (Path() / "channels.lst").string(); }
};

// Points the test plug-ins' probe log at a fresh file for the object's lifetime.
class ProbeLog {
 public:
  ProbeLog();
  std::vector<std::string> Lines() const;
  // The lines whose first word is one of these events, in order.
  std::vector<std::string> Events(std::initializer_list<const char*> events) const;
  int Count(const std::string& line) const;
  void Clear();

 private:
  testsupport::TempDir dir_;
  std::string path_;
  ScopedEnvironment environment_;
};

// One entry of "channels.lst".
struct ListEntry {
  ChannelType type;
  std::string fileName;
};

// The type record a test plug-in's GetType reports.
ChannelType TestRecord(const char* name, GUID type, GUID base, int build = 1);
ChannelType TestRecord(const char* name, GUID type);

// "channels.lst" as the engine writes it.
std::string TagBlock(const char* tag, const void* data, std::uint32_t size);
std::string IntBlock(const char* tag, std::int32_t value);
std::string EntryBlocks(const ListEntry& entry);
std::string ListFileBytes(std::int32_t version, const std::vector<ListEntry>& entries);
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// Reads "channels.lst" strictly: "CHEV" 54, "C1CC" N, N pairs of "CHTY" (132
// bytes) and "C1FN" (260 bytes), nothing after. Empty when the bytes deviate.
std::optional<std::vector<ListEntry>> ReadListFile(const std::string& path);

// The file names of the engine's channel list, in list order.
std::vector<std::string> ListedFiles(EngineInterface* engine);

// Releases the engine now and answers its "Libraries loaded : " count (-1
// without that message).
int ReleaseAndCountLibraries(testsupport::StartedEngine& engine);

// The error messages recorded since the sink was last cleared.
std::vector<std::string> Errors(const testsupport::StartedEngine& engine);

// The text form of the engine pointer a plug-in's constructor logs.
std::string PointerText(const void* pointer);

}  // namespace pluginloading

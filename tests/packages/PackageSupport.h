#pragma once

// Install directories for package tests, and packages built with the engine's
// own saver the way the editor writes them.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "Guid.h"
#include "TestSupport.h"
#include "TvkFile.h"

class EngineInterface;

namespace packagetest {

// An install directory holding the plug-ins every engine start needs (the
// channel list reads, lists and writes with them) and any others named.
class PackageInstall : public testsupport::TempInstallDir {
 public:
  explicit PackageInstall(std::initializer_list<const char*> extraSiblings = {});
  void AddSibling(const std::string& file);
  void AddTestPlugin(const std::string& file);
  std::string Dir() const { return Path().string(); }
  std::string ChannelFile(const std::string& file) const { return (Path() / "channels" / file).string(); }
  std::string ThirdFile(const std::string& file) const { return (Path() / "3rd" / file).string(); }
  // Every file below the install directory and beside it, for "nothing was
  // written" checks; the settings and logs the engine keeps are left out.
  std::vector<std::string> AllFiles() const;
};

// The bytes of a test plug-in of the build.
std::vector<char> TestPluginBytes(const std::string& file);

// Builds a package in memory with the file saver channel.
class PackageWriter {
 public:
  explicit PackageWriter(EngineInterface* engine);
  PackageWriter& Tag(const char* tag);
  PackageWriter& Block(const void* data, std::uint32_t size);
  // A size field and bytes written apart, so they can disagree.
  PackageWriter& Size(std::uint32_t size);
  PackageWriter& Raw(const void* data, std::uint32_t size);
  PackageWriter& Block(const char* tag, const void* data, std::uint32_t size);
  PackageWriter& Int(const char* tag, std::int32_t value);
  PackageWriter& Text(const char* tag, const std::string& text);

  // A needed-channel entry: "VNDB" with the type and the lowest versions, and
  // a carried plug-in when a name is given.
  PackageWriter& NeededChannel(const GUID& type, std::int32_t v0, std::int32_t v1, std::int32_t v2);
  PackageWriter& Carried(const char* nameTag, const char* sizeTag, const char* dataTag, const std::string& name,
                         const std::vector<char>& bytes);

  std::vector<char> Bytes();
  // Writes the bytes to a file; the path comes back.
  std::string WriteTo(const std::string& path);

 private:
  TvkFileSaver saver_;
};

void WriteBytes(const std::string& path, const std::vector<char>& bytes);
std::vector<char> ReadBytes(const std::string& path);

}  // namespace packagetest

// Packages nobody vouches for: names that point outside the install folders,
// sizes and counts that disagree with the data, packages cut short. Each is
// refused with a box, writes nothing outside channels\ and 3rd\, and never
// replaces a file with a piece of one.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "PackageFixture.h"
#include "TestPluginTypes.h"

using packagetest::PackageTest;
using packagetest::PackageWriter;
using testplugin::kMissingType;

namespace {

const std::vector<char> kPluginBytes(64, 'P');
const std::vector<char> kLibraryBytes(32, 'L');

// A package whose one channel or library is missing and carried under `name`.
void CarryPlugin(PackageWriter& p, const std::string& name) {
  p.Int("VDDC", 1).NeededChannel(kMissingType, 1, 54, 1).Carried("VCAN", "VCAS", "VCAF", name, kPluginBytes);
}
void CarryLibrary(PackageWriter& p, const std::string& name) {
  p.Int("VDDC", 0).Int("VDGC", 1).Text("VDDF", "missing.so").Carried("VDLN", "VDLS", "VDLF", name, kLibraryBytes);
}

TEST_F(PackageTest, NamesThatLeaveTheInstallFoldersAreRefused) {
  const std::vector<std::string> names = {
      "..\\evil.dll",
      "../evil.dll",
      "..\\..\\evil.dll",
      "../../evil.dll",
      "sub\\evil.dll",
      "sub/evil.dll",
      "C:evil.dll",
      "C:\\evil.dll",
      "/tmp/evil.dll",
      "\\evil.dll",
      "..",
      ".",
      "evil..dll",
      "",
  };
  const std::vector<std::string> before = install.AllFiles();
  for (auto carry : {CarryPlugin, CarryLibrary}) {
    for (const std::string& name : names) {
      SCOPED_TRACE("name \"" + name + "\"");
      boxes.Clear();
      PackageWriter writer = Writer();
      carry(writer, name);
      EXPECT_EQ(Read(writer.WriteTo(packages.File("hostile.vnl"))), 2);
      ASSERT_FALSE(boxes.Boxes().empty());
      const std::string& text = boxes.Boxes().back().text;
      EXPECT_NE(text.find("The vnl file may not install a file under this name : " + name + " ("), std::string::npos)
          << text;
      EXPECT_EQ(install.AllFiles(), before) << "nothing was written";
    }
  }
}

TEST_F(PackageTest, PlainNamesAreInstalledIntoTheirFolders) {
  for (auto carry : {CarryPlugin, CarryLibrary}) {
    PackageWriter writer = Writer();
    carry(writer, "plain-name.v2.dll");
    EXPECT_EQ(Read(writer.WriteTo(packages.File("plain.vnl"))), 0);
  }
  EXPECT_EQ(packagetest::ReadBytes(install.ChannelFile("plain-name.v2.dll")), kPluginBytes);
  EXPECT_EQ(packagetest::ReadBytes(install.ThirdFile("plain-name.v2.dll")), kLibraryBytes);
}

struct DamagedCase {
  const char* what;
  void (*build)(PackageWriter&);
};

// The stated size, the carried block and the counts must agree with each
// other and with the data; the package is refused before anything is written.
TEST_F(PackageTest, SizesAndCountsThatDisagreeWithTheDataAreRefused) {
  const DamagedCase cases[] = {
      {"a stated plug-in size above the carried block",
       [](PackageWriter& p) {
         p.Int("VDDC", 1).NeededChannel(kMissingType, 1, 54, 1).Text("VCAN", "Keep.dll").Int("VCAS", 65);
         p.Block("VCAF", kPluginBytes.data(), 64);
       }},
      {"a stated plug-in size below the carried block",
       [](PackageWriter& p) {
         p.Int("VDDC", 1).NeededChannel(kMissingType, 1, 54, 1).Text("VCAN", "Keep.dll").Int("VCAS", 16);
         p.Block("VCAF", kPluginBytes.data(), 64);
       }},
      {"the largest stated size",
       [](PackageWriter& p) {
         p.Int("VDDC", 1).NeededChannel(kMissingType, 1, 54, 1).Text("VCAN", "Keep.dll").Int("VCAS", INT32_MAX);
         p.Block("VCAF", kPluginBytes.data(), 64);
       }},
      {"a negative stated size",
       [](PackageWriter& p) {
         p.Int("VDDC", 1).NeededChannel(kMissingType, 1, 54, 1).Text("VCAN", "Keep.dll").Int("VCAS", -64);
         p.Block("VCAF", kPluginBytes.data(), 64);
       }},
      {"a stated library size that disagrees",
       [](PackageWriter& p) {
         p.Int("VDDC", 0).Int("VDGC", 1).Text("VDDF", "missing.so").Text("VDLN", "keep.so").Int("VDLS", 31);
         p.Block("VDLF", kLibraryBytes.data(), 32);
       }},
      {"a carried block running past the end",
       [](PackageWriter& p) {
         p.Int("VDDC", 1).NeededChannel(kMissingType, 1, 54, 1).Text("VCAN", "Keep.dll").Int("VCAS", 1000);
         p.Tag("VCAF").Size(1000).Raw(kPluginBytes.data(), 64);
       }},
      {"more needed channels than the data can hold", [](PackageWriter& p) { p.Int("VDDC", INT32_MAX).Tag("VFDB"); }},
      {"a negative channel count", [](PackageWriter& p) { p.Int("VDDC", -1); }},
      {"more libraries than the data can hold",
       [](PackageWriter& p) { p.Int("VDDC", 0).Int("VDGC", 0x40000000).Tag("VDFF"); }},
      {"a short engine version", [](PackageWriter& p) { p.Block("VMEV", "\x37", 1); }},
      {"a short channel type",
       [](PackageWriter& p) {
         const std::int32_t versions[3] = {1, 54, 1};
         p.Int("VDDC", 1).Block("VNDB", &kMissingType, 15).Block(versions, sizeof versions);
       }},
      {"a plug-in name longer than a path",
       [](PackageWriter& p) {
         p.Int("VDDC", 1).NeededChannel(kMissingType, 1, 54, 1).Text("VCAN", std::string(300, 'n'));
       }},
  };
  const std::string keep = install.ChannelFile("Keep.dll");
  const std::string keepLibrary = install.ThirdFile("keep.so");
  packagetest::WriteBytes(keep, {'o', 'l', 'd'});
  packagetest::WriteBytes(keepLibrary, {'o', 'l', 'd'});
  const std::vector<std::string> before = install.AllFiles();
  for (const DamagedCase& c : cases) {
    SCOPED_TRACE(c.what);
    boxes.Clear();
    PackageWriter writer = Writer();
    c.build(writer);
    const std::string path = writer.WriteTo(packages.File("damaged.vnl"));
    EXPECT_EQ(Read(path), 1);
    ASSERT_FALSE(boxes.Boxes().empty());
    EXPECT_EQ(boxes.Boxes().back().text, packagetest::DamagedText(path));
    EXPECT_EQ(install.AllFiles(), before);
    EXPECT_EQ(packagetest::ReadBytes(keep), (std::vector<char>{'o', 'l', 'd'}));
    EXPECT_EQ(packagetest::ReadBytes(keepLibrary), (std::vector<char>{'o', 'l', 'd'}));
  }
}

// Every way of cutting a package short: no crash, no read outside the data,
// and a carried file is either written whole or not at all.
TEST_F(PackageTest, PackageCutShortAnywhereNeverWritesAPieceOfAFile) {
  PackageWriter writer = Writer();
  writer.Text("VSGR", "start.cgr").Int("VMEV", 54);
  CarryPlugin(writer, "Cut.dll");
  writer.Int("VDGC", 1).Text("VDDF", "missing.so").Carried("VDLN", "VDLS", "VDLF", "cut.so", kLibraryBytes);
  const std::vector<char> whole = writer.Bytes();
  const std::string path = packages.File("cut.vnl");
  for (std::size_t length = 0; length < whole.size(); ++length) {
    SCOPED_TRACE("cut at " + std::to_string(length));
    boxes.Clear();
    packagetest::WriteBytes(path, std::vector<char>(whole.begin(), whole.begin() + static_cast<long>(length)));
    const int result = Read(path);
    EXPECT_TRUE(result == 0 || result == 1 || result == 2) << result;
    if (result != 0) {
      EXPECT_FALSE(boxes.Boxes().empty());
    }
    EXPECT_FALSE(std::filesystem::exists(install.ThirdFile("cut.so"))) << "the library entry is never complete";
    if (std::filesystem::exists(install.ChannelFile("Cut.dll"))) {
      EXPECT_EQ(packagetest::ReadBytes(install.ChannelFile("Cut.dll")), kPluginBytes);
    }
  }
  packagetest::WriteBytes(path, whole);
  EXPECT_EQ(Read(path), 0);
  EXPECT_EQ(packagetest::ReadBytes(install.ThirdFile("cut.so")), kLibraryBytes);
}

}  // namespace

// Loading whole files: engine paths, attributes, and what cannot be loaded.

#include <filesystem>
#include <string>

#include "FileTestHelpers.h"
#include "SiblingPlugins.h"

namespace siblingtest {
namespace {

namespace fs = std::filesystem;

class FileLoader : public SiblingTest {
 protected:
  testsupport::TempDir dir;
};

TEST_F(FileLoader, LoadsTheWholeFileFromAnEnginePath) {
  const fs::path file = dir.Path() / "start.cgr";
  WriteText(file, std::string("TVKGCHIX\4\0\0\0\x2a\0\0\0", 16));
  ASSERT_TRUE(loader->LoadFile(EnginePath(file.string()).c_str()));
  EXPECT_EQ(loader->GetBufferSize(), 16);
  EXPECT_TRUE(loader->GetInfoIfTag("TVKG"));
  EXPECT_TRUE(loader->GetInfoIfTag("CHIX"));
  std::int32_t index = 0;
  loader->CopyTagDataToPointer(&index);
  EXPECT_EQ(index, 42);
}

TEST_F(FileLoader, AReadOnlyFileReportsBitZero) {
  const fs::path file = dir.Path() / "locked.cgr";
  WriteText(file, "TVKG");
  ASSERT_TRUE(loader->LoadFile(file.c_str()));
  EXPECT_EQ(loader->GetAttributes() & platform::kFileAttributeReadOnly, 0u);

  if (!PermissionsBindThisProcess()) GTEST_SKIP() << kRootSkip;
  fs::permissions(file, fs::perms::owner_read);
  ASSERT_TRUE(loader->LoadFile(file.c_str()));
  EXPECT_EQ(loader->GetAttributes() & platform::kFileAttributeReadOnly, platform::kFileAttributeReadOnly);
  loader->SetBuffer(const_cast<char*>("TVKG"), 4, true);
  EXPECT_EQ(loader->GetAttributes(), 0u) << "a buffer has no attributes";
}

// A failed load leaves nothing loaded, so no stale bytes pass for the file.
TEST_F(FileLoader, WhatCannotBeLoadedLeavesTheLoaderEmpty) {
  const fs::path good = dir.Path() / "good.cgr";
  WriteText(good, "TVKG");
  fs::create_directory(dir.Path() / "folder.cgr");
  const struct {
    const char* name;
    std::string path;
  } cases[] = {
      {"missing file", (dir.Path() / "missing.cgr").string()},
      {"a directory", (dir.Path() / "folder.cgr").string()},
      {"empty path", ""},
      // Downloading is not part of this loader yet.
      {"http address", "http://example.invalid/start.cgr"},
      {"https address in capitals", "HTTPS://example.invalid/start.cgr"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(loader->LoadFile(good.c_str()));
    EXPECT_FALSE(loader->LoadFile(c.path.c_str()));
    EXPECT_EQ(loader->GetBufferSize(), 0);
    EXPECT_FALSE(loader->GetInfoIfTag("TVKG"));
    EXPECT_EQ(loader->GetAttributes(), 0u);
  }
  EXPECT_FALSE(loader->LoadFile(nullptr));
}

}  // namespace
}  // namespace siblingtest

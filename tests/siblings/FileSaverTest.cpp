// Saving to files: the target is replaced only by a complete stream, and
// every failure leaves the previous file as it was.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "FileTestHelpers.h"
#include "SiblingPlugins.h"

namespace siblingtest {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class FileSaver : public SiblingTest {
 protected:
  void SaveVersionBlock() {
    const std::int32_t version = 54;
    SaveBlock("CHEV", &version, 4);
  }

  testsupport::TempDir dir;
};

TEST_F(FileSaver, ReplacesTheTargetOnlyWhenClosedAndLeavesNoTemporaryFile) {
  const fs::path target = dir.Path() / "channels.lst";
  WriteText(target, "old");
  const std::string path = EnginePath(target.string());

  ASSERT_TRUE(saver->OpenSaveFile(path.c_str(), false));
  EXPECT_STREQ(saver->GetSaveingFileName(), path.c_str());
  SaveVersionBlock();
  EXPECT_EQ(ReadText(target), "old") << "the previous file stays until the stream is complete";
  EXPECT_EQ(saver->GetBuffer(), nullptr) << "a file stream has no memory buffer";
  ASSERT_TRUE(saver->CloseSaveFile());

  EXPECT_EQ(Entries(dir.Path()), Names{"channels.lst"});
  ASSERT_TRUE(loader->LoadFile(path.c_str()));
  ASSERT_TRUE(loader->GetInfoIfTag("CHEV"));
  std::int32_t version = 0;
  loader->CopyTagDataToPointer(&version);
  EXPECT_EQ(version, 54);
  EXPECT_TRUE(loader->GetIfEndOfFile());
}

// The project package installer writes plug-in files this way.
TEST_F(FileSaver, RawDataWithoutTagsIsAPlainFile) {
  const std::string bytes("\177ELF\0\1\2", 7);
  const fs::path target = dir.Path() / "plugin.dll";
  ASSERT_TRUE(saver->OpenSaveFile(target.c_str(), false));
  saver->SaveDataToFile(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  ASSERT_TRUE(saver->CloseSaveFile());
  EXPECT_EQ(ReadText(target), bytes);
}

TEST_F(FileSaver, OpenRefusesATargetThatCannotBeCreated) {
  fs::create_directory(dir.Path() / "sub");
  const struct {
    const char* name;
    std::string path;
  } cases[] = {
      {"directory missing", (dir.Path() / "missing" / "f.cgr").string()},
      {"target is a directory", (dir.Path() / "sub").string()},
      {"path ends in a separator", EnginePath((dir.Path() / "sub").string()) + "\\"},
      {"empty path", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(saver->OpenSaveFile(c.path.c_str(), false));
    SaveVersionBlock();
    EXPECT_FALSE(saver->CloseSaveFile());
    EXPECT_EQ(Entries(dir.Path()), Names{"sub"});
    EXPECT_TRUE(fs::is_directory(dir.Path() / "sub"));
    EXPECT_TRUE(fs::is_empty(dir.Path() / "sub"));
  }
  EXPECT_FALSE(saver->OpenSaveFile(nullptr, false));
}

TEST_F(FileSaver, ACloseThatCannotWriteLeavesTheTargetAsItWas) {
  const struct {
    const char* name;
    // Breaks the save between open and close; answers where the target's
    // previous content must then be found ("" when the target is now a
    // directory, which must stay one).
    std::function<fs::path(const fs::path& folder, const fs::path& target)> sabotage;
  } cases[] = {
      {"directory renamed away",
       [](const fs::path& folder, const fs::path&) {
         fs::rename(folder, folder.string() + "-moved");
         return fs::path(folder.string() + "-moved") / "group.cgr";
       }},
      {"target replaced by a directory",
       [](const fs::path&, const fs::path& target) {
         fs::remove(target);
         fs::create_directory(target);
         return fs::path();
       }},
  };
  int round = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path folder = dir.Path() / ("d" + std::to_string(round++));
    fs::create_directory(folder);
    const fs::path target = folder / "group.cgr";
    WriteText(target, "old");
    ASSERT_TRUE(saver->OpenSaveFile(target.c_str(), false));
    SaveVersionBlock();
    const fs::path oldContent = c.sabotage(folder, target);

    EXPECT_FALSE(saver->CloseSaveFile());
    if (oldContent.empty()) {
      EXPECT_TRUE(fs::is_directory(target));
      EXPECT_EQ(Entries(folder), Names{"group.cgr"});
    } else {
      EXPECT_EQ(ReadText(oldContent), "old");
      EXPECT_EQ(Entries(oldContent.parent_path()), Names{"group.cgr"}) << "no temporary file is left";
    }
  }
}

TEST_F(FileSaver, AnAbandonedStreamLeavesTheTargetAsItWas) {
  const fs::path target = dir.Path() / "group.cgr";
  WriteText(target, "old");

  ASSERT_TRUE(saver->OpenSaveFile(target.c_str(), false));
  SaveVersionBlock();
  saver->OpenMemory();  // a new stream drops the unfinished one
  EXPECT_FALSE(saver->CloseSaveFile());
  EXPECT_EQ(ReadText(target), "old");

  ASSERT_TRUE(saver->OpenSaveFile(target.c_str(), false));
  SaveVersionBlock();
  saver.reset();  // destroyed without CloseSaveFile
  EXPECT_EQ(ReadText(target), "old");
  EXPECT_EQ(Entries(dir.Path()), Names{"group.cgr"});
}

TEST_F(FileSaver, UnwritableTargetsAreRefusedAndKept) {
  if (!PermissionsBindThisProcess()) GTEST_SKIP() << kRootSkip;
  const fs::path readOnlyFile = dir.Path() / "locked.cgr";
  WriteText(readOnlyFile, "old");
  fs::permissions(readOnlyFile, fs::perms::owner_read);
  EXPECT_FALSE(saver->OpenSaveFile(readOnlyFile.c_str(), false));
  EXPECT_EQ(ReadText(readOnlyFile), "old");

  const fs::path folder = dir.Path() / "folder";
  fs::create_directory(folder);
  const fs::path target = folder / "group.cgr";
  WriteText(target, "old");
  ASSERT_TRUE(saver->OpenSaveFile(target.c_str(), false));
  SaveVersionBlock();
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(saver->CloseSaveFile());
  EXPECT_FALSE(saver->OpenSaveFile((folder / "new.cgr").c_str(), false));
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(ReadText(target), "old");
  EXPECT_EQ(Entries(folder), Names{"group.cgr"});
}

TEST_F(FileSaver, MemoryStreamKeepsItsBytesAfterCloseMemory) {
  EXPECT_EQ(saver->SaveTag("TVKG"), 0) << "nothing is open yet";
  EXPECT_EQ(saver->GetBufferSize(), 0u);

  saver->OpenMemory();
  EXPECT_EQ(saver->SaveTag("TVKG"), 4);
  saver->CloseMemory();
  EXPECT_EQ(saver->SaveTag("CHES"), 0) << "a closed stream takes nothing more";
  ASSERT_EQ(saver->GetBufferSize(), 4u);
  EXPECT_EQ(std::string(saver->GetBuffer(), 4), "TVKG");
  saver->OpenMemory();
  EXPECT_EQ(saver->GetBufferSize(), 0u);
}

}  // namespace
}  // namespace siblingtest

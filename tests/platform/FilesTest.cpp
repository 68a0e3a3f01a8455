#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "Platform.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// The engine's own spelling of a native path.
std::string EngineForm(const fs::path& path) {
  std::string text = path.string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

std::vector<std::string> NamesIn(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) names.push_back(entry.path().filename().string());
  return names;
}

// Permission bits do not stop the superuser; a probe tells whether they stop us.
bool PermissionsAreEnforced(const fs::path& readOnlyDirectory) {
  const fs::path probe = readOnlyDirectory / "probe";
  std::ofstream out(probe);
  const bool written = out.good();
  out.close();
  fs::remove(probe);
  return !written;
}

}  // namespace

TEST(Paths, NativePathTurnsBackslashesIntoSlashes) {
  EXPECT_EQ(platform::NativePath("\\a\\b/c\\d.cgr"), "/a/b/c/d.cgr");
  EXPECT_EQ(platform::NativePath("..\\x\\f.cgr"), "../x/f.cgr");
  EXPECT_EQ(platform::NativePath("/already/native"), "/already/native");
  EXPECT_EQ(platform::NativePath(nullptr), "");
  EXPECT_EQ(platform::CurrentDirectory(), fs::current_path().string());
}

TEST(Files, ExistenceAndAttributesAcceptBothPathForms) {
  testsupport::TempDir dir;
  const fs::path file = dir.Path() / "file.txt";
  WriteFile(file, "x");
  for (const std::string& form : {file.string(), EngineForm(file)}) {
    EXPECT_TRUE(platform::FileExists(form.c_str())) << form;
    EXPECT_EQ(platform::FileAttributes(form.c_str()) & platform::kFileAttributeReadOnly, 0u) << form;
  }
  EXPECT_FALSE(platform::FileExists(dir.Path().string().c_str()));
  EXPECT_TRUE(platform::DirectoryExists(EngineForm(dir.Path()).c_str()));
  EXPECT_FALSE(platform::DirectoryExists(file.string().c_str()));
  EXPECT_FALSE(platform::FileExists((dir.Path() / "missing").string().c_str()));
  EXPECT_FALSE(platform::FileExists(nullptr));
  EXPECT_EQ(platform::FileAttributes((dir.Path() / "missing").string().c_str()), 0u);
}

TEST(Files, FileTheProcessCannotWriteIsReadOnly) {
  testsupport::TempDir dir;
  const fs::path locked = dir.Path() / "locked";
  fs::create_directory(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  const bool enforced = PermissionsAreEnforced(locked);
  fs::permissions(locked, fs::perms::owner_all);
  if (!enforced) GTEST_SKIP() << "running with rights that ignore permission bits";

  const fs::path file = dir.Path() / "file.txt";
  WriteFile(file, "x");
  fs::permissions(file, fs::perms::owner_read);
  EXPECT_EQ(platform::FileAttributes(file.string().c_str()) & platform::kFileAttributeReadOnly,
            platform::kFileAttributeReadOnly);
}

TEST(Files, AppendCreatesTheFileAndAddsAtTheEnd) {
  testsupport::TempDir dir;
  const fs::path file = dir.Path() / "error.log";
  const std::string path = EngineForm(file);
  ASSERT_TRUE(platform::AppendToFile(path.c_str(), "one\r\n", 5));
  ASSERT_TRUE(platform::AppendToFile(path.c_str(), "two\r\n", 5));
  EXPECT_EQ(ReadFile(file), "one\r\ntwo\r\n");
  EXPECT_FALSE(platform::AppendToFile((dir.Path() / "no" / "such.log").string().c_str(), "x", 1));
}

TEST(Files, ConcurrentAppendsKeepEveryLineWhole) {
  testsupport::TempDir dir;
  const std::string path = dir.File("shared.log");
  constexpr int kThreads = 4;
  constexpr int kLines = 200;
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([&path, t] {
      const std::string line = std::string(100, static_cast<char>('a' + t)) + "\n";
      for (int i = 0; i < kLines; ++i) platform::AppendToFile(path.c_str(), line.data(), line.size());
    });
  }
  for (std::thread& writer : writers) writer.join();

  std::ifstream in(path);
  int count = 0;
  for (std::string line; std::getline(in, line); ++count) {
    ASSERT_EQ(line.size(), 100u);
    ASSERT_EQ(line.find_first_not_of(line[0]), std::string::npos) << "interleaved line";
  }
  EXPECT_EQ(count, kThreads * kLines);
}

TEST(Files, ReadWholeFileHonoursTheSizeLimit) {
  testsupport::TempDir dir;
  const fs::path file = dir.Path() / "data.bin";
  const std::string content(100, 'z');
  WriteFile(file, content);
  std::vector<char> out;

  ASSERT_TRUE(platform::ReadWholeFile(EngineForm(file).c_str(), out, 100));
  EXPECT_EQ(std::string(out.begin(), out.end()), content);
  out.assign({'k', 'e', 'p', 't'});
  EXPECT_FALSE(platform::ReadWholeFile(file.string().c_str(), out, 99));
  EXPECT_EQ(std::string(out.begin(), out.end()), "kept") << "a refused read leaves the buffer alone";
  EXPECT_FALSE(platform::ReadWholeFile((dir.Path() / "missing").string().c_str(), out));
  EXPECT_FALSE(platform::ReadWholeFile(dir.Path().string().c_str(), out)) << "a directory is no file";

  WriteFile(file, "");
  ASSERT_TRUE(platform::ReadWholeFile(file.string().c_str(), out, 0));
  EXPECT_TRUE(out.empty());
}

TEST(Files, WriteFileAtomicallyReplacesTheTargetAndLeavesNothingElse) {
  testsupport::TempDir dir;
  const fs::path file = dir.Path() / "channels.lst";
  const std::string path = EngineForm(file);
  ASSERT_TRUE(platform::WriteFileAtomically(path.c_str(), "old", 3));
  ASSERT_TRUE(platform::WriteFileAtomically(path.c_str(), "new content", 11));
  EXPECT_EQ(ReadFile(file), "new content");
  ASSERT_TRUE(platform::WriteFileAtomically(path.c_str(), nullptr, 0));
  EXPECT_EQ(ReadFile(file), "");
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"channels.lst"});
}

TEST(Files, WriteFileAtomicallyKeepsWhatWasThereWhenItFails) {
  testsupport::TempDir dir;
  // The target is a directory with contents: the rename must fail, and the
  // directory and its contents stay as they were.
  const fs::path target = dir.Path() / "target";
  fs::create_directory(target);
  WriteFile(target / "inside", "precious");
  EXPECT_FALSE(platform::WriteFileAtomically(target.string().c_str(), "data", 4));
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_EQ(ReadFile(target / "inside"), "precious");
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"target"}) << "the temporary file is removed";

  EXPECT_FALSE(platform::WriteFileAtomically((dir.Path() / "missing" / "f").string().c_str(), "data", 4));
  EXPECT_FALSE(platform::WriteFileAtomically(nullptr, "data", 4));
}

TEST(Files, WriteFileAtomicallyInUnwritableDirectoryKeepsTheOldFile) {
  testsupport::TempDir dir;
  const fs::path locked = dir.Path() / "locked";
  fs::create_directory(locked);
  WriteFile(locked / "file", "old");
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  const bool enforced = PermissionsAreEnforced(locked);
  const bool written = platform::WriteFileAtomically((locked / "file").string().c_str(), "new", 3);
  fs::permissions(locked, fs::perms::owner_all);
  if (!enforced) GTEST_SKIP() << "running with rights that ignore permission bits";
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadFile(locked / "file"), "old");
}

TEST(Files, RemoveFile) {
  testsupport::TempDir dir;
  const fs::path file = dir.Path() / "gone";
  WriteFile(file, "x");
  EXPECT_TRUE(platform::RemoveFile(EngineForm(file).c_str()));
  EXPECT_FALSE(fs::exists(file));
  EXPECT_FALSE(platform::RemoveFile(EngineForm(file).c_str()));
}

TEST(Files, ListPlainFilesInByteOrder) {
  testsupport::TempDir dir;
  for (const char* name : {"b.dll", "a.dll", "B.dll", "a.dll.bak", "\xc3\xa9.dll", "Z"}) WriteFile(dir.Path() / name, "x");
  fs::create_directory(dir.Path() / "c.dll");
  fs::create_symlink(dir.Path() / "a.dll", dir.Path() / "link.dll");
  fs::create_symlink(dir.Path() / "nowhere", dir.Path() / "dangling.dll");
  fs::create_directory_symlink(dir.Path() / "c.dll", dir.Path() / "dirlink.dll");

  const std::vector<std::string> expected = {"B.dll", "Z", "a.dll", "a.dll.bak", "b.dll", "link.dll", "\xc3\xa9.dll"};
  EXPECT_EQ(platform::ListPlainFiles(EngineForm(dir.Path()).c_str()), expected);
  EXPECT_TRUE(platform::ListPlainFiles((dir.Path() / "missing").string().c_str()).empty());
  EXPECT_TRUE(platform::ListPlainFiles(nullptr).empty());
}

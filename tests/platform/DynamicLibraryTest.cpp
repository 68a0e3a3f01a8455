#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "Platform.h"
#include "ScopedEnvironment.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kLibraryName = "answer.dll";
const fs::path kFirstDir = PLATFORM_TEST_FIRST_DIR;    // answers 1
const fs::path kSecondDir = PLATFORM_TEST_SECOND_DIR;  // answers 2

using AnswerFunction = int (*)();

// Loads, asks the library for its answer and unloads again; -1 when it did not load.
int AnswerOf(const std::string& pathOrName) {
  HINSTANCE module = platform::LoadLibraryFile(pathOrName.c_str());
  if (module == nullptr) return -1;
  auto answer = reinterpret_cast<AnswerFunction>(platform::FindLibrarySymbol(module, "PlatformTestAnswer"));
  const int result = answer != nullptr ? answer() : -2;
  platform::UnloadLibrary(module);
  return result;
}

std::string EngineForm(const fs::path& path) {
  std::string text = path.string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

}  // namespace

TEST(DynamicLibrary, LoadsByPathInEitherFormAndFindsSymbols) {
  EXPECT_EQ(AnswerOf((kFirstDir / kLibraryName).string()), 1);
  EXPECT_EQ(AnswerOf(EngineForm(kSecondDir / kLibraryName)), 2);

  HINSTANCE module = platform::LoadLibraryFile((kFirstDir / kLibraryName).string().c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(platform::FindLibrarySymbol(module, "NoSuchExport"), nullptr);
  EXPECT_EQ(platform::FindLibrarySymbol(module, nullptr), nullptr);
  EXPECT_EQ(platform::FindLibrarySymbol(nullptr, "PlatformTestAnswer"), nullptr);
  platform::UnloadLibrary(module);
  platform::UnloadLibrary(nullptr);
}

TEST(DynamicLibrary, BareNameIsFoundThroughTheSearchPathAsItIsNow) {
  testsupport::TempDir dir;
  fs::create_directory(dir.Path() / kLibraryName);  // a directory of that name is no library
  struct Case {
    std::string searchPath;
    int answer;
  };
  const Case cases[] = {
      {kFirstDir.string() + ":" + kSecondDir.string(), 1},
      {kSecondDir.string() + ":" + kFirstDir.string(), 2},
      {"::" + (dir.Path() / "missing").string() + "::" + kSecondDir.string() + ":", 2},
      {dir.Path().string() + ":" + kFirstDir.string(), 1},
      {EngineForm(kSecondDir) + ":" + kFirstDir.string(), 2},  // the engine writes its own path form
      {kFirstDir.string() + "/", 1},
  };
  for (const Case& c : cases) {
    ScopedEnvironment environment;
    environment.Set(platform::LibrarySearchPathVariable(), c.searchPath);
    EXPECT_EQ(AnswerOf(kLibraryName), c.answer) << c.searchPath << ": " << platform::LastLibraryErrorText();
  }
}

TEST(DynamicLibrary, BareNameFallsBackOnTheSystemSearch) {
  testsupport::TempDir empty;
  ScopedEnvironment environment;
  environment.Set(platform::LibrarySearchPathVariable(), empty.Path().string());
  HINSTANCE module = platform::LoadLibraryFile("libc.so.6");
  ASSERT_NE(module, nullptr) << platform::LastLibraryErrorText();
  EXPECT_NE(platform::FindLibrarySymbol(module, "strlen"), nullptr);
  platform::UnloadLibrary(module);
}

TEST(DynamicLibrary, FailuresTellWhy) {
  testsupport::TempDir dir;
  std::ofstream(dir.Path() / "text.dll") << "this is no library\n";
  ScopedEnvironment environment;
  environment.Set(platform::LibrarySearchPathVariable(), dir.Path().string());
  struct Case {
    std::string pathOrName;
    int code;
  };
  const Case cases[] = {
      {(dir.Path() / "missing.dll").string(), ENOENT},
      {EngineForm(dir.Path() / "missing.dll"), ENOENT},
      {"missing-bare-name.dll", ENOENT},
      {(dir.Path() / "text.dll").string(), ENOEXEC},
      {"text.dll", ENOEXEC},
      {dir.Path().string(), ENOENT},  // a directory is no library file
      {"", EINVAL},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::LoadLibraryFile(c.pathOrName.c_str()), nullptr) << c.pathOrName;
    EXPECT_EQ(platform::LastLibraryErrorCode(), c.code) << c.pathOrName;
    EXPECT_FALSE(platform::LastLibraryErrorText().empty()) << c.pathOrName;
  }
  EXPECT_EQ(platform::LoadLibraryFile(nullptr), nullptr);
  EXPECT_EQ(platform::LastLibraryErrorCode(), EINVAL);
}

TEST(DynamicLibrary, LastErrorBelongsToTheThread) {
  testsupport::TempDir dir;
  std::ofstream(dir.Path() / "text.dll") << "this is no library\n";
  ASSERT_EQ(platform::LoadLibraryFile((dir.Path() / "missing.dll").string().c_str()), nullptr);
  int otherCode = 0;
  std::thread([&] {
    platform::LoadLibraryFile((dir.Path() / "text.dll").string().c_str());
    otherCode = platform::LastLibraryErrorCode();
  }).join();
  EXPECT_EQ(otherCode, ENOEXEC);
  EXPECT_EQ(platform::LastLibraryErrorCode(), ENOENT);
}

TEST(Environment, ReadSetAndRemove) {
  EXPECT_STREQ(platform::LibrarySearchPathVariable(), "LD_LIBRARY_PATH");
  EXPECT_EQ(platform::LibrarySearchPathSeparator(), ':');
  ScopedEnvironment environment;
  environment.Set("VARNEL_PLATFORM_TEST_VARIABLE", "before");
  ASSERT_TRUE(platform::SetEnvironmentValue("VARNEL_PLATFORM_TEST_VARIABLE", "a:b"));
  EXPECT_EQ(platform::GetEnvironmentValue("VARNEL_PLATFORM_TEST_VARIABLE"), "a:b");
  ASSERT_TRUE(platform::SetEnvironmentValue("VARNEL_PLATFORM_TEST_VARIABLE", nullptr));
  EXPECT_FALSE(platform::GetEnvironmentValue("VARNEL_PLATFORM_TEST_VARIABLE"));
  EXPECT_FALSE(platform::GetEnvironmentValue(nullptr));
  EXPECT_FALSE(platform::SetEnvironmentValue("", "x"));
}

#include "FilePathFind.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BoundedText.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "Platform.h"
#include "TestSupport.h"
#include "Tvk_ChannelGroup.h"

namespace {

constexpr std::size_t kMaxPathChars = 258;
constexpr const char* kDriveSource = "C:\\a\\b\\g.cgr";
constexpr const char* kNativeSource = "/a/b/g.cgr";

// The same location on the POSIX root: "C:\a\f" becomes "/a/f".
std::string OnNativeRoot(const std::string& drivePath) {
  std::string native = "/" + drivePath.substr(3);
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

// The fields are the class's layout that plug-ins compile against.
class ExposedFilePathFind : public FilePathFind {
 public:
  using FilePathFind::filePath_;
  using FilePathFind::sourcePath_;
};
static_assert(sizeof(ExposedFilePathFind::sourcePath_) == 399);
static_assert(sizeof(ExposedFilePathFind::filePath_) == 299);

// Messages need an engine: the FilePathFind picks it up from globalEngine.
class FilePathFindWithEngine : public ::testing::Test {
 protected:
  FilePathFindWithEngine() {
    globalEngine = engine.Get();
    finder = std::make_unique<FilePathFind>();
    engine.sink.Clear();
  }
  ~FilePathFindWithEngine() override {
    finder.reset();
    globalEngine = nullptr;
  }
  std::vector<std::string> Errors() const { return engine.sink.TextsOfType(kMessageError); }

  testsupport::StartedEngine engine;
  std::unique_ptr<FilePathFind> finder;
};

// ---- resolving ------------------------------------------------------------------

struct ResolveCase {
  const char* name;
  const char* expected;  // against the source C:\a\b\g.cgr
};

const ResolveCase kResolveCases[] = {
    {"sub\\f.cgr", "C:\\a\\b\\sub\\f.cgr"},
    {".\\sub\\f.cgr", "C:\\a\\b\\sub\\f.cgr"},
    {"f.cgr", "C:\\a\\b\\f.cgr"},
    {"..\\x\\f.cgr", "C:\\a\\x\\f.cgr"},
    {"..\\..\\f.cgr", "C:\\f.cgr"},
    {"sub/deeper//f.cgr", "C:\\a\\b\\sub\\deeper\\f.cgr"},
    {"../x/f.cgr", "C:\\a\\x\\f.cgr"},
    {"..\\..\\..\\..\\..\\f.cgr", "C:\\f.cgr"},  // more groups than folders stop at the root
    {"\\x\\f.cgr", "C:\\x\\f.cgr"},              // rooted on the source's drive
    {".hidden.cgr", "C:\\a\\b\\.hidden.cgr"},
    {"..x.cgr", "C:\\a\\b\\..x.cgr"},
    {".", "C:\\a\\b\\"},
    {"..", "C:\\a\\"},
    {"..\\x\\", "C:\\a\\x\\"},
    {"f", "C:\\a\\b\\f"},
};

TEST(FilePathFind, ResolvesNamesAgainstTheSourceFolder) {
  FilePathFind finder;
  finder.SetSourcePath(kDriveSource);
  for (const ResolveCase& c : kResolveCases) {
    EXPECT_STREQ(finder.GetCompleteFilePath(c.name), c.expected) << c.name;
    EXPECT_STREQ(finder.GetCorrectFilePath(c.name), c.expected) << c.name;
  }
}

TEST(FilePathFind, ResolvesAgainstANativeSourceInNativeForm) {
  FilePathFind finder;
  finder.SetSourcePath(kNativeSource);
  for (const ResolveCase& c : kResolveCases) {
    EXPECT_EQ(finder.GetCompleteFilePath(c.name), OnNativeRoot(c.expected)) << c.name;
  }
  finder.SetSourcePath("//a//b/g.cgr");
  EXPECT_STREQ(finder.GetCompleteFilePath("..\\x\\f.cgr"), "/a/x/f.cgr");
  finder.SetSourcePath("/g.cgr");
  EXPECT_STREQ(finder.GetCompleteFilePath("f.cgr"), "/f.cgr");
  EXPECT_STREQ(finder.GetCompleteFilePath("..\\f.cgr"), "/f.cgr");
}

TEST(FilePathFind, CompleteNamesAreTakenAsTheyAre) {
  const char* complete[] = {"C:\\x\\f.cgr", "\\\\server\\share\\f.cgr", "http://host/dir/f.cgr", "D:f.cgr",
                            "/x/f.cgr", "a\\\\b.cgr"};
  for (const char* source : {kDriveSource, kNativeSource}) {
    FilePathFind finder;
    finder.SetSourcePath(source);
    for (const char* name : complete) {
      EXPECT_EQ(finder.GetCorrectFilePath(name), name) << name;
      EXPECT_STREQ(finder.GetCompleteFilePath(name), name) << name;
    }
  }
}

TEST(FilePathFind, InternetSourceKeepsItsFolderAndTheNameAsGiven) {
  struct Case {
    const char* source;
    const char* expected;
  };
  const Case cases[] = {
      {"http://host/dir/g.cgr", "http://host/dir/sub\\f.cgr"},
      {"HTTP://Host/Dir/g.cgr", "HTTP://Host/Dir/sub\\f.cgr"},
      {"https://host/dir/g.cgr", "https://host/dir/sub\\f.cgr"},
  };
  for (const Case& c : cases) {
    FilePathFind finder;
    finder.SetSourcePath(c.source);
    EXPECT_STREQ(finder.GetCorrectFilePath("sub\\f.cgr"), c.expected) << c.source;
  }
}

TEST(FilePathFind, RelativeSourceIsTakenFromTheCurrentDirectory) {
  std::string expected = (std::filesystem::path(platform::CurrentDirectory()) / "f.cgr").lexically_normal();
  for (const char* source : {".\\g.cgr", "g.cgr", "./g.cgr"}) {
    FilePathFind finder;
    finder.SetSourcePath(source);
    EXPECT_EQ(finder.GetCompleteFilePath("f.cgr"), expected) << source;
  }
}

TEST(FilePathFind, NullSourceLeavesTheSourceAlone) {
  FilePathFind finder;
  finder.SetSourcePath(kDriveSource);
  finder.SetSourcePath(nullptr);
  EXPECT_STREQ(finder.GetCompleteFilePath("f.cgr"), "C:\\a\\b\\f.cgr");
}

// ---- relativising -----------------------------------------------------------------

struct RelativeCase {
  const char* target;  // a drive path; the native table puts it on the POSIX root
  const char* expected;
};

const RelativeCase kRelativeCases[] = {
    {"C:\\a\\x\\f.cgr", "..\\x\\f.cgr"},
    {"C:\\a\\b\\sub\\f.cgr", ".\\sub\\f.cgr"},
    {"C:\\a\\b\\f.cgr", ".\\f.cgr"},
    {"C:\\f.cgr", "..\\..\\f.cgr"},
    {"C:\\x\\y\\f.cgr", "..\\..\\x\\y\\f.cgr"},
    {"C:\\A\\B\\f.cgr", ".\\f.cgr"},  // folder names compare ignoring case
    {"C:\\a\\b\\s\\t\\f.cgr", ".\\s\\t\\f.cgr"},
};

TEST_F(FilePathFindWithEngine, RelativisesAndResolvesBack) {
  struct Form {
    const char* source;
    std::string (*place)(const std::string&);
  };
  const Form forms[] = {
      {kDriveSource, [](const std::string& p) { return p; }},
      {kNativeSource, OnNativeRoot},
  };
  for (const Form& form : forms) {
    finder->SetSourcePath(form.source);
    for (const RelativeCase& c : kRelativeCases) {
      std::string target = form.place(c.target);
      std::string relative = finder->GetValidRelativeDir(target.c_str());
      EXPECT_EQ(relative, c.expected) << target;
      EXPECT_TRUE(TextEqualsIgnoreCase(finder->GetCorrectFilePath(relative.c_str()), target.c_str())) << target;
    }
  }
  EXPECT_TRUE(Errors().empty());
}

TEST_F(FilePathFindWithEngine, RelativisingNormalisesTheTargetFirst) {
  finder->SetSourcePath(kDriveSource);
  EXPECT_STREQ(finder->GetValidRelativeDir("C:/a//x/f.cgr"), "..\\x\\f.cgr");
  finder->SetSourcePath(kNativeSource);
  EXPECT_STREQ(finder->GetValidRelativeDir("/a\\x//f.cgr"), "..\\x\\f.cgr");
  EXPECT_TRUE(Errors().empty());
}

TEST_F(FilePathFindWithEngine, DifferentDriveIsReportedAndTheTargetComesBack) {
  struct Case {
    const char* source;
    const char* storedSource;
    const char* target;
    const char* normalisedTarget;
  };
  const Case cases[] = {
      {kDriveSource, kDriveSource, "D:\\f.cgr", "D:\\f.cgr"},
      // differs only in letter case: still another drive
      {kDriveSource, kDriveSource, "c:\\a\\x\\f.cgr", "c:\\a\\x\\f.cgr"},
      {kDriveSource, kDriveSource, "/a/x/f.cgr", "/a\\x\\f.cgr"},
      {kNativeSource, "/a\\b\\g.cgr", "C:/a/x/f.cgr", "C:\\a\\x\\f.cgr"},
  };
  for (const Case& c : cases) {
    engine.sink.Clear();
    finder->SetSourcePath(c.source);
    EXPECT_EQ(finder->GetValidRelativeDir(c.target), c.target);
    // The emitter puts one blank between a message and its second text.
    const std::vector<std::string> expected = {
        std::string("orgFile :  ") + c.normalisedTarget,
        std::string("sourcePath_ :  ") + c.storedSource,
        "Autoload group is on different drive",
    };
    EXPECT_EQ(Errors(), expected) << c.target;
  }
}

TEST(FilePathFind, DifferentDriveWithoutAnEngineIsSilentAndSafe) {
  globalEngine = nullptr;
  FilePathFind finder;
  finder.SetSourcePath(kDriveSource);
  const char* target = "D:\\f.cgr";
  EXPECT_EQ(finder.GetValidRelativeDir(target), target);
}

// ---- canonical paths relative to a group --------------------------------------------

TEST_F(FilePathFindWithEngine, GroupRelativePathsAreCanonical) {
  struct Case {
    const char* groupFile;
    const char* path;
    const char* expected;
  };
  const Case cases[] = {
      {kDriveSource, "..\\x\\f.cgr", "C:\\a\\x\\f.cgr"},
      {kDriveSource, "C:\\y\\f.cgr", "C:\\y\\f.cgr"},
      {kDriveSource, "sub\\.\\t\\..\\f.cgr", "C:\\a\\b\\sub\\f.cgr"},
      {kDriveSource, ".\\f.cgr", "C:\\a\\b\\f.cgr"},
      {kDriveSource, "..\\..\\..\\..\\f.cgr", "C:\\f.cgr"},
      {kDriveSource, "", "C:\\a\\b\\"},
      {kDriveSource, "\\y\\f.cgr", "\\y\\f.cgr"},
      {kNativeSource, "..\\x\\f.cgr", "/a/x/f.cgr"},
      {kNativeSource, "../../../f.cgr", "/f.cgr"},
      {kNativeSource, "/y/f.cgr", "/y/f.cgr"},
      {"\\\\server\\share\\g.cgr", "..\\..\\f.cgr", "\\\\server\\f.cgr"},
      {"http://host/dir/g.cgr", "..\\f.cgr", "http://host/f.cgr"},
      {nullptr, "..\\x\\f.cgr", "..\\x\\f.cgr"},
  };
  std::unique_ptr<Tvk_ChannelGroup> group(new Tvk_ChannelGroup(engine.Get()));
  for (const Case& c : cases) {
    group->SetChannelGroupFileName(c.groupFile);
    char path[260];
    std::strcpy(path, c.path);
    finder->GetGroupRelativePath(path, group.get());
    EXPECT_STREQ(path, c.expected) << (c.groupFile ? c.groupFile : "(none)") << " " << c.path;
  }
  char path[260] = "..\\x\\f.cgr";
  finder->GetGroupRelativePath(path, nullptr);
  EXPECT_STREQ(path, "..\\x\\f.cgr");
  finder->GetGroupRelativePath(nullptr, group.get());
}

// ---- primitives ------------------------------------------------------------------------

TEST(FilePathFind, CountsFoldersBelowTheRoot) {
  struct Case {
    const char* path;
    int count;
  };
  const Case cases[] = {
      {"C:\\a\\b\\f.cgr", 2}, {"C:\\a\\b\\", 1}, {"C:\\", 0}, {"C:", 0},
      {"", 0},                {"/a/b/f.cgr", 2}, {"/f.cgr", 0},
  };
  FilePathFind finder;
  for (const Case& c : cases) EXPECT_EQ(finder.GetDirCount(c.path), c.count) << c.path;
}

TEST(FilePathFind, NamesFoldersButNeverTheFile) {
  struct Case {
    const char* path;
    int n;
    const char* expected;  // null: no such folder
  };
  const Case cases[] = {
      {"C:\\a\\b\\f.cgr", 0, "a"}, {"C:\\a\\b\\f.cgr", 1, "b"}, {"C:\\a\\b\\f.cgr", 2, nullptr},
      {"C:\\a\\b\\f.cgr", -1, nullptr}, {"C:\\a\\b\\", 1, "b"}, {"C:\\", 0, nullptr},
      {"/a/b/f.cgr", 1, "b"}, {"/a/b/f.cgr", 2, nullptr},
  };
  FilePathFind finder;
  for (const Case& c : cases) {
    char buf[260] = "stale";
    const char* name = finder.GetDirName(buf, c.path, c.n);
    if (c.expected) {
      EXPECT_EQ(name, buf) << c.path << " " << c.n;
      EXPECT_STREQ(buf, c.expected) << c.path << " " << c.n;
    } else {
      EXPECT_EQ(name, nullptr) << c.path << " " << c.n;
      EXPECT_STREQ(buf, "") << c.path << " " << c.n;
    }
  }
}

TEST(FilePathFind, ReadsTheLeadingParentGroups) {
  FilePathFind finder;
  EXPECT_EQ(finder.GetBackDirCount("..\\..\\f.cgr"), -2);
  EXPECT_EQ(finder.GetBackDirCount("f.cgr"), 0);
  EXPECT_EQ(finder.GetBackDirCount(".."), 0);
  EXPECT_EQ(finder.GetDirCountFromBackDir("..\\..\\x\\y\\f.cgr"), 2);
  EXPECT_EQ(finder.GetDirCountFromBackDir("..\\f.cgr"), 0);
  EXPECT_EQ(finder.GetDirCountFromBackDir("..\\x\\"), 0);

  char buf[260];
  const char* names[] = {"x", "y", "f.cgr"};
  for (int n = 0; n < 3; ++n) EXPECT_STREQ(finder.GetDirNameFromBackDir(buf, "..\\..\\x\\y\\f.cgr", n), names[n]);
  EXPECT_EQ(finder.GetDirNameFromBackDir(buf, "..\\..\\x\\y\\f.cgr", 3), nullptr);
  EXPECT_STREQ(buf, "");
}

TEST(FilePathFind, CutsFileNamesAndFolderPathsInPlace) {
  struct Case {
    const char* path;
    const char* fileName;
    const char* filePath;
  };
  const Case cases[] = {
      {"C:\\a\\f.cgr", "f.cgr", "C:\\a"},
      {"/a/f.cgr", "f.cgr", "/a"},
      {"\\name", "\\name", "\\name"},  // position 0 is never a separator
      {"f.cgr", "f.cgr", "f.cgr"},
      {"C:\\a\\", "", "C:\\a"},
  };
  FilePathFind finder;
  for (const Case& c : cases) {
    char buf[260];
    std::strcpy(buf, c.path);
    EXPECT_STREQ(finder.GetFileName(buf), c.fileName) << c.path;
    std::strcpy(buf, c.path);
    EXPECT_STREQ(finder.GetFilePath(buf), c.filePath) << c.path;
  }
}

TEST(FilePathFind, CreatesValidFilePaths) {
  struct Case {
    const char* path;
    const char* base;
    const char* expected;
  };
  const Case cases[] = {
      {"C:/a//b/f.cgr", "C:\\grp", "C:\\a\\b\\f.cgr"},
      {"\\\\server//share\\\\f.cgr", "C:\\grp", "\\\\server\\share\\f.cgr"},
      {".\\sub\\f.cgr", "C:\\grp", "C:\\grp\\sub\\f.cgr"},
      {".", "C:\\grp", "C:\\grp"},
      {"..\\x\\f.cgr", "C:\\grp", "C:\\grp\\..\\x\\f.cgr"},
      {"./sub/f.cgr", "/home\\u", "/home\\u\\sub\\f.cgr"},
      {"/a//b/f.cgr", "C:\\grp", "/a\\b\\f.cgr"},
      {"//a/b", "C:\\grp", "/a\\b"},
      {".\\f.cgr", nullptr, ".\\f.cgr"},
  };
  FilePathFind finder;
  for (const Case& c : cases) {
    char buf[260];
    std::strcpy(buf, c.path);
    finder.CreateValidFilePath(buf, c.base);
    EXPECT_STREQ(buf, c.expected) << c.path;
  }
}

TEST(FilePathFind, ComparesDrivesAndSharedFolders) {
  FilePathFind finder;
  EXPECT_TRUE(finder.CheckValidDrive("C:\\x\\f.cgr", "C:\\y\\g.cgr"));
  EXPECT_FALSE(finder.CheckValidDrive("c:\\x\\f.cgr", "C:\\y\\g.cgr"));
  EXPECT_FALSE(finder.CheckValidDrive(".\\x\\f.cgr", ".\\g.cgr"));
  EXPECT_FALSE(finder.CheckValidDrive("D:\\f.cgr", "C:\\g.cgr"));
  EXPECT_TRUE(finder.CheckValidDrive("/x/f.cgr", "/a\\b\\g.cgr"));
  EXPECT_FALSE(finder.CheckValidDrive("/x/f.cgr", "C:\\g.cgr"));
  EXPECT_FALSE(finder.CheckValidDrive("", ""));

  struct Case {
    const char* a;
    const char* b;
    int shared;
    int relative;
  };
  const Case cases[] = {
      {"C:\\a\\x\\f.cgr", "C:\\a\\b\\g.cgr", 1, -1},
      {"C:\\a\\b\\sub\\f.cgr", "C:\\a\\b\\g.cgr", 2, 1},
      {"C:\\A\\b\\f.cgr", "C:\\a\\B\\g.cgr", 2, 0},
      {"C:\\f.cgr", "C:\\a\\b\\g.cgr", 0, -2},
      {"/a/x/f.cgr", "/a/b/g.cgr", 1, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(finder.GetDirShareCount(c.a, c.b), c.shared) << c.a;
    EXPECT_EQ(finder.GetRelativeDirCount(c.a, c.b), c.relative) << c.a;
  }
}

// ---- bad input ---------------------------------------------------------------------------

TEST(FilePathFind, OverlongTextIsCutNeverOverrun) {
  const std::string longFolder(300, 'd');
  const std::string longName = "sub\\" + longFolder + "\\f.cgr";
  const std::string longDrive = "C:\\" + longFolder + "\\g.cgr";
  const std::string longNative = "/" + longFolder + "/g.cgr";
  const std::string manyGroups = [] {
    std::string s;
    for (int i = 0; i < 80; ++i) s += "..\\";
    return s + "f.cgr";
  }();

  for (const char* source : {kDriveSource, kNativeSource, longDrive.c_str(), longNative.c_str()}) {
    ExposedFilePathFind finder;
    finder.SetSourcePath(source);
    EXPECT_LE(std::strlen(finder.sourcePath_), kMaxPathChars);
    for (const std::string& name : {longName, manyGroups, longDrive, longNative}) {
      EXPECT_LE(std::strlen(finder.GetCompleteFilePath(name.c_str())), kMaxPathChars);
      EXPECT_LE(std::strlen(finder.GetCorrectFilePath(name.c_str())), name.size());
    }
  }

  ExposedFilePathFind finder;
  finder.SetSourcePath(kDriveSource);
  EXPECT_STREQ(finder.GetCompleteFilePath(manyGroups.c_str()), "C:\\f.cgr");
  EXPECT_EQ(std::string(finder.GetCompleteFilePath(longName.c_str())),
            ("C:\\a\\b\\sub\\" + longFolder).substr(0, kMaxPathChars));
  EXPECT_LE(std::strlen(finder.GetValidRelativeDir(("C:\\a\\b\\" + longFolder + "\\f.cgr").c_str())),
            kMaxPathChars);

  char buf[400];
  const std::string widestFolder(kMaxPathChars - 5, 'w');
  EXPECT_EQ(std::string(finder.GetDirName(buf, ("C:\\" + widestFolder + "\\f").c_str(), 0)), widestFolder);
  // A folder name that runs past the cut is no folder any more.
  EXPECT_EQ(finder.GetDirName(buf, ("C:\\" + longFolder + "\\f").c_str(), 0), nullptr);
  std::strcpy(buf, longDrive.c_str());
  finder.CreateValidFilePath(buf, "C:\\grp");
  EXPECT_EQ(std::strlen(buf), kMaxPathChars);
  std::strcpy(buf, ("./" + longFolder).c_str());
  finder.CreateValidFilePath(buf, "C:\\grp");
  EXPECT_EQ(std::string(buf), ("C:\\grp\\" + longFolder).substr(0, kMaxPathChars));
  std::strcpy(buf, longDrive.c_str());
  EXPECT_EQ(std::strlen(finder.GetFileName(buf)), kMaxPathChars - 3);
}

TEST_F(FilePathFindWithEngine, OverlongGroupPathIsCut) {
  std::unique_ptr<Tvk_ChannelGroup> group(new Tvk_ChannelGroup(engine.Get()));
  const std::string folder = "C:\\" + std::string(240, 'd') + "\\";
  group->SetChannelGroupFileName((folder + "g.cgr").c_str());
  const std::string name(30, 'n');
  char path[260];
  std::strcpy(path, name.c_str());
  finder->GetGroupRelativePath(path, group.get());
  EXPECT_EQ(std::string(path), (folder + name).substr(0, kMaxPathChars));

  group->SetChannelGroupFileName(kDriveSource);
  const std::string longPath(259, 'n');
  std::strcpy(path, longPath.substr(0, 259).c_str());
  finder->GetGroupRelativePath(path, group.get());
  EXPECT_EQ(std::string(path), ("C:\\a\\b\\" + longPath).substr(0, kMaxPathChars));
}

TEST_F(FilePathFindWithEngine, NullInputsAnswerNothingAndReportNothing) {
  finder->SetSourcePath(kDriveSource);
  char buf[260] = "stale";
  EXPECT_EQ(finder->GetValidRelativeDir(nullptr), nullptr);
  EXPECT_EQ(finder->GetCompleteFilePath(nullptr), nullptr);
  EXPECT_EQ(finder->GetCorrectFilePath(nullptr), nullptr);
  finder->CreateValidFilePath(nullptr, "C:\\grp");
  EXPECT_FALSE(finder->CheckValidDrive(nullptr, "C:\\g.cgr"));
  EXPECT_FALSE(finder->CheckValidDrive("C:\\f.cgr", nullptr));
  EXPECT_EQ(finder->GetDirShareCount(nullptr, "C:\\a\\g.cgr"), 0);
  EXPECT_EQ(finder->GetDirShareCount("C:\\a\\g.cgr", nullptr), 0);
  EXPECT_EQ(finder->GetRelativeDirCount(nullptr, "C:\\a\\g.cgr"), 0);
  EXPECT_EQ(finder->GetDirName(buf, nullptr, 0), nullptr);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(finder->GetDirName(nullptr, "C:\\a\\f.cgr", 0), nullptr);
  EXPECT_EQ(finder->GetDirCount(nullptr), 0);
  EXPECT_EQ(finder->GetFileName(nullptr), nullptr);
  EXPECT_EQ(finder->GetFilePath(nullptr), nullptr);
  EXPECT_EQ(finder->GetBackDirCount(nullptr), 0);
  EXPECT_EQ(finder->GetDirCountFromBackDir(nullptr), 0);
  EXPECT_EQ(finder->GetDirNameFromBackDir(buf, nullptr, 0), nullptr);
  EXPECT_TRUE(engine.sink.Messages().empty());
}

}  // namespace

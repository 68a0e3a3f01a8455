#include "FilePathFind.h"

#include <string>
#include <string_view>

#include "BoundedText.h"
#include "EngineInterface.h"
#include "Platform.h"
#include "Tvk_ChannelGroup.h"
#include "internal/PathText.h"

using namespace path_text;

namespace {

// The base for paths that start with ".": the process's current directory in
// the engine's backslash form.
std::string CurrentDirectoryBase() {
  std::string base = NormaliseSeparators(platform::CurrentDirectory());
  if (base.size() > kPathChars) base.resize(kPathChars);
  return base;
}

// A caller's path as the computations see it: complete, normalised.
std::string Normalised(std::string_view path) {
  return MakeValidFilePath(AnchorRelative(path), CurrentDirectoryBase());
}

void AppendFolder(std::string& result, std::string_view name) {
  result.append(name);
  result.push_back('\\');
}

// What kind of relative name GetCompleteFilePath resolves, after its
// separators are in engine form.
enum class NameKind { InSourceFolder, AboveSourceFolder, OnSourceDrive };

struct PreparedName {
  std::string text;
  NameKind kind;
};

// "." and ".." name folders; "\x" lies on the source's drive; every other
// name, whatever it starts with, lies in the source folder.
PreparedName PrepareName(std::string_view name) {
  std::string r = NormaliseSeparators(name);
  if (r == ".") r = ".\\";
  if (r == "..") r = "..\\";
  if (r.rfind("..\\", 0) == 0) return {r, NameKind::AboveSourceFolder};
  if (r.rfind(".\\", 0) == 0) return {r, NameKind::InSourceFolder};
  if (!r.empty() && r[0] == '\\') return {r.substr(1), NameKind::OnSourceDrive};
  return {".\\" + r, NameKind::InSourceFolder};
}

// The folders and the file name of a complete path in drive form; the root
// is already in `result`.
void AppendFoldersAndFile(std::string& result, std::string_view complete) {
  for (int n = 0; std::optional<std::string_view> folder = DirName(complete, n); ++n) AppendFolder(result, *folder);
  result.append(FileName(complete));
}

std::string Resolve(std::string_view source, const PreparedName& name) {
  std::string result(source.substr(0, 3));
  switch (name.kind) {
    case NameKind::AboveSourceFolder: {
      int groups = -BackDirCount(name.text);
      int kept = DirCount(source) - groups;
      // More groups than folders stop at the root.
      for (int n = 0; n < kept; ++n) AppendFolder(result, DirName(source, n).value_or(""));
      for (int n = 0; std::optional<std::string_view> folder = ComponentFromBackDir(name.text, n, true); ++n) {
        AppendFolder(result, *folder);
      }
      result.append(FileName(name.text));
      break;
    }
    case NameKind::InSourceFolder:
      AppendFoldersAndFile(result, MakeValidFilePath(name.text, FilePath(source)));
      break;
    case NameKind::OnSourceDrive:
      AppendFoldersAndFile(result, result + name.text);
      break;
  }
  return result;
}

std::string RelativeTo(std::string_view target, std::string_view source) {
  int shared = DirShareCount(target, source);
  int levels = RelativeDirCount(target, source);
  std::string result;
  if (levels < 0) {
    for (int n = 0; n < -levels; ++n) result += "..\\";
  } else {
    result = ".\\";
  }
  for (int n = shared; std::optional<std::string_view> folder = DirName(target, n); ++n) AppendFolder(result, *folder);
  result.append(FileName(target));
  return result;
}

void ReportDifferentDrive(EngineInterface* engine, const char* target, const char* source) {
  if (!engine) return;
  engine->showErrorMessage("orgFile : ", target);
  engine->showErrorMessage("sourcePath_ : ", source);
  engine->showErrorMessage("Autoload group is on different drive");
}

}  // namespace

FilePathFind::FilePathFind() : sourcePath_{}, filePath_{} {}

FilePathFind::~FilePathFind() = default;

void FilePathFind::SetSourcePath(const char* path) {
  if (!path) return;
  std::string_view source = Cut(path);
  Store(sourcePath_, IsInternetAddress(source) ? std::string(source) : Normalised(source));
}

const char* FilePathFind::GetValidRelativeDir(const char* target) {
  if (!target) return nullptr;
  char normalised[kPathChars + 1];
  Store(normalised, Normalised(Cut(target)));
  if (!SameDrive(normalised, Cut(sourcePath_))) {
    ReportDifferentDrive(engine_, normalised, sourcePath_);
    return target;
  }
  Store(filePath_, RelativeTo(ToDriveView(normalised), ToDriveView(Cut(sourcePath_))));
  return filePath_;
}

const char* FilePathFind::GetCompleteFilePath(const char* name) {
  if (!name) return nullptr;
  std::string_view text = Cut(name);
  // Gluing a complete name under the source folder would only break it.
  if (IsCompleteName(text)) {
    Store(filePath_, text);
    return filePath_;
  }
  std::string_view source = Cut(sourcePath_);
  if (IsInternetAddress(source)) {
    std::string folder(FolderWithSeparator(source.substr(0, kFolderSourceChars)));
    Store(filePath_, folder + std::string(text));
    return filePath_;
  }
  std::string viewed = ToDriveView(Normalised(source));
  Store(filePath_, FromDriveView(Resolve(viewed, PrepareName(text))));
  return filePath_;
}

void FilePathFind::CreateValidFilePath(char* path, const char* base) {
  if (!path) return;
  std::string_view text = Cut(path);
  // Without a base a leading dot has nothing to stand for and stays.
  std::string valid = base ? MakeValidFilePath(text, Cut(base)) : NormaliseSeparators(text);
  Store(path, valid);
}

bool FilePathFind::CheckValidDrive(const char* path, const char* source) {
  if (!path || !source) return false;
  return SameDrive(Cut(path), Cut(source));
}

int FilePathFind::GetDirShareCount(const char* a, const char* b) {
  if (!a || !b) return 0;
  return DirShareCount(ToDriveView(Cut(a)), ToDriveView(Cut(b)));
}

int FilePathFind::GetRelativeDirCount(const char* a, const char* b) {
  if (!a || !b) return 0;
  return RelativeDirCount(ToDriveView(Cut(a)), ToDriveView(Cut(b)));
}

const char* FilePathFind::GetDirName(char* buf, const char* path, int n) {
  if (!buf) return nullptr;
  buf[0] = '\0';
  if (!path) return nullptr;
  const std::string viewed = ToDriveView(Cut(path));
  std::optional<std::string_view> name = DirName(viewed, n);
  if (!name) return nullptr;
  Store(buf, *name);
  return buf;
}

int FilePathFind::GetDirCount(const char* path) {
  if (!path) return 0;
  return DirCount(ToDriveView(Cut(path)));
}

const char* FilePathFind::GetFileName(char* buf) {
  if (!buf) return nullptr;
  Store(buf, FileName(Cut(buf)));
  return buf;
}

const char* FilePathFind::GetFilePath(char* buf) {
  if (!buf) return nullptr;
  buf[FilePath(Cut(buf)).size()] = '\0';
  return buf;
}

int FilePathFind::GetBackDirCount(const char* path) {
  if (!path) return 0;
  return BackDirCount(Cut(path));
}

int FilePathFind::GetDirCountFromBackDir(const char* path) {
  if (!path) return 0;
  return DirCountFromBackDir(Cut(path));
}

const char* FilePathFind::GetDirNameFromBackDir(char* buf, const char* path, int n) {
  if (!buf) return nullptr;
  buf[0] = '\0';
  if (!path) return nullptr;
  std::optional<std::string_view> name = ComponentFromBackDir(Cut(path), n, false);
  if (!name) return nullptr;
  Store(buf, *name);
  return buf;
}

const char* FilePathFind::GetCorrectFilePath(const char* name) {
  if (!name) return nullptr;
  if (IsCompleteName(Cut(name))) return name;
  return GetCompleteFilePath(name);
}

void FilePathFind::GetGroupRelativePath(char* path, Tvk_ChannelGroup* group) {
  if (!path || !group) return;
  std::string_view text = Cut(path);
  bool complete = !text.empty() && text[0] != '.' &&
                  (text.find(':') != std::string_view::npos || text[0] == '\\' || text[0] == '/');
  if (complete) return;
  std::string_view fileName = Cut(group->GetChannelGroupFileName()).substr(0, kFolderSourceChars);
  std::string joined(FolderWithSeparator(fileName));
  if (!text.empty() && text[0] != '.') joined += ".\\";
  joined.append(text);
  Store(path, Canonical(joined));
}

#include "PathText.h"

#include <cstring>

#include "BoundedText.h"

namespace path_text {

namespace {

constexpr std::string_view kDriveViewRoot = "/:\\";
constexpr std::size_t kRootChars = 3;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool ContainsIgnoreCase(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) return false;
  for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (EqualsIgnoreCase(text.substr(i, part.size()), part)) return true;
  }
  return false;
}

bool IsDriveView(std::string_view path) { return path.size() >= 2 && path[0] == '/' && path[1] == ':'; }

}  // namespace

std::string_view Cut(const char* text) {
  if (!text) return {};
  const void* end = std::memchr(text, '\0', kPathChars);
  std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : kPathChars;
  return std::string_view(text, length);
}

void Store(char* field, std::string_view text) {
  // CopyText stops at maxChars, so the view needs no terminator of its own.
  std::size_t length = text.size() < kPathChars ? text.size() : kPathChars;
  if (length == 0) {
    field[0] = '\0';
    return;
  }
  CopyText(field, text.data(), length);
}

// ---- forms -----------------------------------------------------------------------

bool IsNativeRooted(std::string_view path) { return !path.empty() && path[0] == '/'; }

std::string ToDriveView(std::string_view path) {
  if (!IsNativeRooted(path) || IsDriveView(path)) return std::string(path);
  std::string view(kDriveViewRoot);
  std::size_t i = 1;
  while (i < path.size() && IsSeparator(path[i])) ++i;
  for (; i < path.size(); ++i) {
    char c = path[i] == '/' ? '\\' : path[i];
    if (c == '\\' && view.back() == '\\') continue;
    view.push_back(c);
  }
  return view;
}

std::string FromDriveView(std::string_view path) {
  if (!IsDriveView(path)) return std::string(path);
  std::string native("/");
  std::size_t i = 2;
  while (i < path.size() && IsSeparator(path[i])) ++i;
  for (; i < path.size(); ++i) native.push_back(path[i] == '\\' ? '/' : path[i]);
  return native;
}

bool IsInternetAddress(std::string_view path) {
  return ContainsIgnoreCase(path, "http://") || ContainsIgnoreCase(path, "https://");
}

bool IsCompleteName(std::string_view name) {
  return name.find(':') != std::string_view::npos || name.find("\\\\") != std::string_view::npos ||
         IsNativeRooted(name);
}

std::string AnchorRelative(std::string_view path) {
  if (path.empty() || IsCompleteName(path) || path[0] == '.' || IsSeparator(path[0])) return std::string(path);
  return ".\\" + std::string(path);
}

// ---- normalising ---------------------------------------------------------------------

std::string NormaliseSeparators(std::string_view path) {
  std::string result;
  if (path.empty()) return result;
  result.push_back(path[0]);
  std::size_t i = 1;
  // The POSIX root is one separator however many slashes spell it.
  if (path[0] == '/') {
    while (i < path.size() && IsSeparator(path[i])) ++i;
  }
  for (; i < path.size(); ++i) {
    char c = path[i] == '/' ? '\\' : path[i];
    if (c == '\\' && result.size() > 1 && result.back() == '\\') continue;
    result.push_back(c);
  }
  return result;
}

std::string MakeValidFilePath(std::string_view path, std::string_view base) {
  std::string result = NormaliseSeparators(path);
  if (result.empty() || result[0] != '.') return result;
  // ".\sub" and "." name the base itself; "..\x" or ".name" lie inside it, and
  // replacing only their dot would glue them onto the base's last name.
  bool namesBase = result.size() == 1 || result[1] == '\\';
  std::string joined(base);
  joined += namesBase ? result.substr(1) : "\\" + result;
  return NormaliseSeparators(joined);
}

// ---- folders of a drive-form path ---------------------------------------------------------

int DirCount(std::string_view path) {
  int count = 0;
  for (std::size_t i = kRootChars; i + 1 < path.size(); ++i) {
    if (path[i] == '\\') ++count;
  }
  return count;
}

std::optional<std::string_view> DirName(std::string_view path, int n) {
  if (n < 0 || path.size() <= kRootChars) return std::nullopt;
  std::size_t start = kRootChars;
  for (int k = 0;; ++k) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) return std::nullopt;
    if (k == n) return path.substr(start, end - start);
    start = end + 1;
  }
}

std::string_view FileName(std::string_view path) {
  for (std::size_t i = path.size(); i-- > 1;) {
    if (IsSeparator(path[i])) return path.substr(i + 1);
  }
  return path;
}

std::string_view FilePath(std::string_view path) {
  for (std::size_t i = path.size(); i-- > 1;) {
    if (IsSeparator(path[i])) return path.substr(0, i);
  }
  return path;
}

std::string_view FolderWithSeparator(std::string_view path) {
  for (std::size_t i = path.size(); i-- > 0;) {
    if (IsSeparator(path[i])) return path.substr(0, i + 1);
  }
  return {};
}

bool SameDrive(std::string_view path, std::string_view source) {
  return !path.empty() && !source.empty() && path[0] != '.' && path[0] == source[0];
}

int DirShareCount(std::string_view a, std::string_view b) {
  int folders = DirCount(a);
  int shared = 0;
  for (; shared < folders; ++shared) {
    std::optional<std::string_view> nameA = DirName(a, shared);
    std::optional<std::string_view> nameB = DirName(b, shared);
    if (!nameA || !nameB || !EqualsIgnoreCase(*nameA, *nameB)) break;
  }
  return shared;
}

int RelativeDirCount(std::string_view a, std::string_view b) {
  int shared = DirShareCount(a, b);
  int foldersB = DirCount(b);
  if (shared < foldersB) return shared - foldersB;
  return DirCount(a) - foldersB;
}

// ---- relative names -------------------------------------------------------------------------

int BackDirCount(std::string_view path) {
  int groups = 0;
  for (std::size_t i = 0; path.substr(i, 3) == "..\\"; i += 3) ++groups;
  return -groups;
}

std::string_view AfterBackDirs(std::string_view path) {
  return path.substr(static_cast<std::size_t>(-BackDirCount(path)) * 3);
}

int DirCountFromBackDir(std::string_view path) {
  std::string_view rest = AfterBackDirs(path);
  int count = 0;
  for (std::size_t i = 0; i + 1 < rest.size(); ++i) {
    if (rest[i] == '\\') ++count;
  }
  return count;
}

std::optional<std::string_view> ComponentFromBackDir(std::string_view path, int n, bool foldersOnly) {
  if (n < 0) return std::nullopt;
  std::string_view rest = AfterBackDirs(path);
  std::size_t start = 0;
  for (int k = 0; start < rest.size(); ++k) {
    std::size_t end = rest.find('\\', start);
    if (end == std::string_view::npos) {
      if (k == n && !foldersOnly) return rest.substr(start);
      return std::nullopt;
    }
    if (k == n) return rest.substr(start, end - start);
    start = end + 1;
  }
  return std::nullopt;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace path_text

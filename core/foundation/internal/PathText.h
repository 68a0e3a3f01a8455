#pragma once

// The pure text steps of path resolution. They work on engine paths in drive
// form: a root of three characters ("C:\"), backslash separators. A native
// absolute path ("/a/b") enters them through its drive view ("/:\a\b"): the
// POSIX root becomes the root of a drive named "/", which no drive letter can
// be, so it never matches a real drive.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace path_text {

// What any path the engine keeps or answers holds at most.
inline constexpr std::size_t kPathChars = 258;
// The folder of an internet source or of a group's file is taken from this
// many leading characters.
inline constexpr std::size_t kFolderSourceChars = 255;

// The first kPathChars characters of a caller's text (longer text is cut);
// never reads further. Null gives the empty text.
std::string_view Cut(const char* text);
// Stores `text` in a fixed field of at least kPathChars + 1 bytes.
void Store(char* field, std::string_view text);

// ---- forms -------------------------------------------------------------------

bool IsNativeRooted(std::string_view path);
// "/a/b/g.cgr" (or its normalised "/a\b\g.cgr") becomes "/:\a\b\g.cgr";
// every other text comes back unchanged.
std::string ToDriveView(std::string_view path);
// The inverse: "/:\a\b" becomes "/a/b"; other texts unchanged.
std::string FromDriveView(std::string_view path);
// Contains "http://" or "https://", in any letter case.
bool IsInternetAddress(std::string_view path);
// Needs no source to be found: a colon anywhere, two consecutive backslashes
// anywhere, or a leading '/'.
bool IsCompleteName(std::string_view name);
// A bare relative name ("dir\f.cgr") gets ".\" in front so that the base of
// MakeValidFilePath applies to it; every other text comes back unchanged.
std::string AnchorRelative(std::string_view path);

// ---- normalising ---------------------------------------------------------------

// From the second character on, slashes become backslashes and every run of
// backslashes shrinks to one; the first character stays, so a leading "\\"
// survives. A leading '/' also swallows the separators right after it.
std::string NormaliseSeparators(std::string_view path);
// NormaliseSeparators, then a path that starts with "." is taken relative to
// `base`: ".\sub" and "." replace their dot with the base, anything else
// ("..\x") is appended to the base after a backslash.
std::string MakeValidFilePath(std::string_view path, std::string_view base);
// "." components removed, ".." removed with the component before it, never
// above the root. Native and internet paths keep '/' separators, the others
// get backslashes. A trailing separator stays.
std::string Canonical(std::string_view path);

// ---- folders of a drive-form path ------------------------------------------------

// Backslashes at positions 3 to length - 2.
int DirCount(std::string_view path);
// The n-th name after the first three characters that a backslash ends.
std::optional<std::string_view> DirName(std::string_view path, int n);
// Text after the last backslash or slash; position 0 is never a separator.
std::string_view FileName(std::string_view path);
// Text before the last backslash or slash (position 0 never examined); the
// whole text when there is none.
std::string_view FilePath(std::string_view path);
// Up to and including the last backslash or slash, or "" when there is none.
std::string_view FolderWithSeparator(std::string_view path);

bool SameDrive(std::string_view path, std::string_view source);
int DirShareCount(std::string_view a, std::string_view b);
int RelativeDirCount(std::string_view a, std::string_view b);

// ---- relative names ----------------------------------------------------------------

// Minus the number of leading "..\" groups.
int BackDirCount(std::string_view path);
std::string_view AfterBackDirs(std::string_view path);
// Backslashes after the leading groups, one at the very end not counted: the
// folders of what follows the groups.
int DirCountFromBackDir(std::string_view path);
// The n-th component after the leading groups; with foldersOnly the last,
// unterminated component does not count.
std::optional<std::string_view> ComponentFromBackDir(std::string_view path, int n, bool foldersOnly);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace path_text

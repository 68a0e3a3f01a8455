#include "Tvk_String.h"

#include <cctype>
#include <cstring>
#include <cwctype>
#include <new>

#include "BoundedText.h"

namespace {

using WideChar = unsigned short;

std::size_t WideLength(const WideChar* text) {
  std::size_t length = 0;
  while (text[length]) ++length;
  return length;
}

// Buffers are sized as the plug-ins expect: narrow text length + 2 bytes, wide
// text 2 × length + 4 bytes. The new buffer is complete before the old one is
// freed, so a string may be set from or extended by its own text.
char* NarrowBuffer(std::size_t length) { return new (std::nothrow) char[length + 2](); }
WideChar* WideBuffer(std::size_t length) { return new (std::nothrow) WideChar[length + 2](); }

char* NarrowCopy(const char* text) {
  if (!text) return nullptr;
  if (!*text) return new (std::nothrow) char[1]();
  std::size_t length = std::strlen(text);
  char* copy = NarrowBuffer(length);
  if (copy) std::memcpy(copy, text, length);
  return copy;
}

WideChar* WideCopy(const WideChar* text) {
  if (!text) return nullptr;
  if (!*text) return new (std::nothrow) WideChar[1]();
  std::size_t length = WideLength(text);
  WideChar* copy = WideBuffer(length);
  if (copy) std::memcpy(copy, text, length * sizeof(WideChar));
  return copy;
}

// Wide text is UTF-16 while the C library maps wchar_t: only the Latin-1 range
// goes through the locale's wide mapping, and only when the answer is again a
// single UTF-16 unit outside the surrogate range. Every other unit (surrogate
// halves included) stays as it is.
WideChar MapWide(WideChar unit, std::wint_t (*map)(std::wint_t)) {
  if (unit >= 256) return unit;
  std::wint_t mapped = map(unit);
  if (mapped > 0xFFFF || (mapped >= 0xD800 && mapped <= 0xDFFF)) return unit;
  return static_cast<WideChar>(mapped);
}

void MapBoth(char* narrow, WideChar* wide, int (*narrowMap)(int), std::wint_t (*wideMap)(std::wint_t)) {
  for (char* c = narrow; c && *c; ++c) *c = static_cast<char>(narrowMap(static_cast<unsigned char>(*c)));
  for (WideChar* w = wide; w && *w; ++w) *w = MapWide(*w, wideMap);
}

constexpr std::size_t kFullNameWorkSize = 259;

}  // namespace

Tvk_String::Tvk_String() : string_(nullptr), wString_(nullptr) {}

Tvk_String::~Tvk_String() {
  delete[] string_;
  delete[] wString_;
}

void Tvk_String::SetString(const char* text) {
  char* copy = NarrowCopy(text);
  delete[] string_;
  string_ = copy;
}

void Tvk_String::SetWString(const unsigned short* text) {
  WideChar* copy = WideCopy(text);
  delete[] wString_;
  wString_ = copy;
}

void Tvk_String::AddString(const char* text) {
  if (!text) return;
  if (!string_) {
    SetString(text);
    return;
  }
  if (!*text) return;
  std::size_t oldLength = std::strlen(string_);
  std::size_t addedLength = std::strlen(text);
  char* joined = NarrowBuffer(oldLength + addedLength);
  if (!joined) return;
  std::memcpy(joined, string_, oldLength);
  std::memcpy(joined + oldLength, text, addedLength);
  delete[] string_;
  string_ = joined;
}

void Tvk_String::AddString(const unsigned short* text) {
  if (!text) return;
  if (!wString_) {
    SetWString(text);
    return;
  }
  if (!*text) return;
  std::size_t oldLength = WideLength(wString_);
  std::size_t addedLength = WideLength(text);
  WideChar* joined = WideBuffer(oldLength + addedLength);
  if (!joined) return;
  std::memcpy(joined, wString_, oldLength * sizeof(WideChar));
  std::memcpy(joined + oldLength, text, addedLength * sizeof(WideChar));
  delete[] wString_;
  wString_ = joined;
}

void Tvk_String::SetMaxCars(int n) {
  if (n < 1) return;
  std::size_t limit = static_cast<std::size_t>(n);
  if (string_ && std::strlen(string_) > limit) string_[limit] = '\0';
  if (wString_ && WideLength(wString_) > limit) wString_[limit] = 0;
}

void Tvk_String::StrLwr() {
  MapBoth(string_, wString_, [](int c) { return std::tolower(c); }, [](std::wint_t c) { return std::towlower(c); });
}

void Tvk_String::StrUpr() {
  MapBoth(string_, wString_, [](int c) { return std::toupper(c); }, [](std::wint_t c) { return std::towupper(c); });
}

char* Tvk_String::MakeFULLName(char* path) {
  if (!path) return path;
  char work[kFullNameWorkSize];
  CopyText(work, path, kFullNameWorkSize - 1);
  // Position 0 is never a separator here: "\name" keeps its leading slash.
  for (std::size_t i = std::strlen(work); i-- > 1;) {
    if (work[i] == '\\' || work[i] == '/') return CopyText(path, work + i + 1, kFullNameWorkSize - 1);
  }
  return path;
}

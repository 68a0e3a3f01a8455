#include "BoundedText.h"

#include <cstring>

namespace {

// Never looks further than maxChars: the source may be a fixed field that was
// filled to the brim without a terminator.
std::size_t BoundedLength(const char* text, std::size_t maxChars) {
  const void* end = std::memchr(text, '\0', maxChars);
  return end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : maxChars;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

char* CopyText(char* dest, const char* source, std::size_t maxChars) {
  if (!dest) return dest;
  std::size_t length = source ? BoundedLength(source, maxChars) : 0;
  // memmove: callers cut a text in place (MakeFULLName keeps a tail of itself).
  if (length > 0) std::memmove(dest, source, length);
  dest[length] = '\0';
  return dest;
}

char* AppendText(char* dest, const char* source, std::size_t maxChars) {
  if (!dest) return dest;
  std::size_t used = BoundedLength(dest, maxChars);
  CopyText(dest + used, source, maxChars - used);
  return dest;
}

bool TextEqualsIgnoreCase(const char* a, const char* b) {
  if (!a || !b) return false;
  for (; *a && *b; ++a, ++b) {
    if (LowerAscii(*a) != LowerAscii(*b)) return false;
  }
  return *a == *b;
}

bool TextEqualsSameFirstChar(const char* a, const char* b) {
  if (!a || !b || a[0] != b[0]) return false;
  return TextEqualsIgnoreCase(a, b);
}

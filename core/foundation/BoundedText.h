#pragma once

#include <cstddef>

#include "EngineCoreExport.h"

// The one bounded copy for every fixed-size text field: at most `maxChars`
// characters of `source` and a terminator go into `dest`; longer text is cut
// without a message. A null source yields the empty text. `dest` must hold at
// least maxChars + 1 bytes. Returns dest.
ENGINECORE_API char* CopyText(char* dest, const char* source, std::size_t maxChars);

// Appends with the same rule: `dest` never grows beyond maxChars characters.
ENGINECORE_API char* AppendText(char* dest, const char* source, std::size_t maxChars);

// Letter case is ignored for ASCII letters only; null texts never match.
ENGINECORE_API bool TextEqualsIgnoreCase(const char* a, const char* b);
// Equal ignoring case, with identical first characters: "CARS" matches "Cars",
// "cars" does not.
ENGINECORE_API bool TextEqualsSameFirstChar(const char* a, const char* b);

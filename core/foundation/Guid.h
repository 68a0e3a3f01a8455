#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "EngineCoreExport.h"

// The platform's 16-byte identifier in its memory layout; files store these 16
// bytes in this order with the integers little-endian. GUIDs are compared
// bytewise and have no order.
struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};
static_assert(sizeof(GUID) == 16, "GUID is stored raw in files and records");

inline bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

inline constexpr GUID kZeroGuid{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
// A link position of this type accepts every channel type.
inline constexpr GUID kWildcardGuid{0x11111111, 0x1111, 0x1111, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}};

inline bool IsZeroGuid(const GUID& g) { return g == kZeroGuid; }

// The one text form the system prints: 36 upper-case hexadecimal characters
// without braces. `out` receives 36 characters and a terminator.
ENGINECORE_API void GuidToText(const GUID& guid, char out[37]);
ENGINECORE_API std::string GuidText(const GUID& guid);

#pragma once

// The channel types of the group file test plug-ins, shared by the plug-ins
// and the tests that save and load groups of them.

#include <cstdint>

#include "Guid.h"

namespace groupfiletest {

constexpr GUID GroupFileType(std::uint8_t n) {
  return GUID{0x6F1E0000u + n, 0x5A3C, 0x4B7E, {0x81, 0x22, 0x47, 0x10, 0xC0, 0xDE, 0x00, n}};
}

// A multi-link position (0) and a single-link position (1), both accepting
// every type.
inline constexpr GUID kLinkerType = GroupFileType(1);
// A linker whose record carries trailing tags of its own that its loader
// never reads; named kSpoilName it spoils the stream it writes.
inline constexpr GUID kChattyType = GroupFileType(2);
// A linker whose new channels are named kAlternateName.
inline constexpr GUID kAlternateType = GroupFileType(3);
// Offered by no plug-in.
inline constexpr GUID kMissingType = GroupFileType(99);

inline constexpr const char* kSpoilName = "Spoil";
inline constexpr const char* kAlternateName = "Alternate default";

}  // namespace groupfiletest

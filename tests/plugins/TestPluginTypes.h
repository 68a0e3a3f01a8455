#pragma once

// The channel types of the test plug-ins, shared by the plug-ins and the tests
// that load them.

#include <cstdint>

#include "Guid.h"

namespace testplugin {

// The file every test plug-in appends a line to for each thing the engine does
// with it ("load Leaf", "GetType Leaf", "InitDLL Leaf", ...). A probe unloads the
// library, so the plug-in itself cannot count.
inline constexpr const char* kProbeLogVariable = "VARNEL_TEST_PROBE_LOG";

constexpr GUID TestType(std::uint8_t n) {
  return GUID{0x7E570000u + n, 0x4A11, 0x4C0D, {0x9B, 0x10, 0, 0, 0, 0, 0, n}};
}

inline constexpr GUID kLeafType = TestType(1);
inline constexpr GUID kChildType = TestType(2);        // makes a Leaf child
inline constexpr GUID kParentType = TestType(3);       // makes a Child and a SharedBaseA child
inline constexpr GUID kOrphanType = TestType(4);       // asks for a type nobody offers, then a Leaf
inline constexpr GUID kRecursiveType = TestType(5);    // asks for a child of its own type
inline constexpr GUID kVersion53Type = TestType(6);    // built for engine version 53
inline constexpr GUID kNoInitDllType = TestType(7);    // exports GetType only
inline constexpr GUID kNullInitType = TestType(8);     // InitDLL answers null
inline constexpr GUID kSharedBase = TestType(9);       // no plug-in offers the base type itself
inline constexpr GUID kSharedAType = TestType(10);
inline constexpr GUID kSharedBType = TestType(11);
inline constexpr GUID kUpdatedType = TestType(12);     // reports versions 1, 54, 2
inline constexpr GUID kMissingType = TestType(99);     // offered by no plug-in

// Names of the automatically created children.
inline constexpr const char* kChildName = "Child";
inline constexpr const char* kGrandchildName = "Grandchild";
inline constexpr const char* kSharedChildName = "Shared child";
inline constexpr const char* kLostChildName = "Lost";
inline constexpr const char* kFoundChildName = "Found";

}  // namespace testplugin

#pragma once

#include "Guid.h"

// The benchmark's channel type: one multi-link position accepting every type.
inline constexpr GUID kBenchLinkerType{0x3C9A51E7, 0x0B42, 0x4D6F, {0x9E, 0x18, 0x27, 0x5D, 0xB0, 0x63, 0xA1, 0x4C}};

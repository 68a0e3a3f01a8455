#pragma once

// Records are stored little-endian whatever the machine; these put and take
// the integers and GUIDs of a record at a byte offset.

#include <cstddef>
#include <cstdint>

#include "Guid.h"

namespace little_endian {

inline void PutU16(unsigned char* at, std::uint16_t value) {
  at[0] = static_cast<unsigned char>(value);
  at[1] = static_cast<unsigned char>(value >> 8);
}

inline void PutU32(unsigned char* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

inline void PutI32(unsigned char* at, std::int32_t value) { PutU32(at, static_cast<std::uint32_t>(value)); }

inline std::uint16_t GetU16(const unsigned char* at) { return static_cast<std::uint16_t>(at[0] | (at[1] << 8)); }

inline std::uint32_t GetU32(const unsigned char* at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

inline std::int32_t GetI32(const unsigned char* at) { return static_cast<std::int32_t>(GetU32(at)); }

inline constexpr std::size_t kGuidSize = 16;

inline void PutGuid(unsigned char* at, const GUID& guid) {
  PutU32(at, guid.Data1);
  PutU16(at + 4, guid.Data2);
  PutU16(at + 6, guid.Data3);
  for (int i = 0; i < 8; ++i) at[8 + i] = guid.Data4[i];
}

inline GUID GetGuid(const unsigned char* at) {
  GUID guid;
  guid.Data1 = GetU32(at);
  guid.Data2 = GetU16(at + 4);
  guid.Data3 = GetU16(at + 6);
  for (int i = 0; i < 8; ++i) guid.Data4[i] = at[8 + i];
  return guid;
}

}  // namespace little_endian

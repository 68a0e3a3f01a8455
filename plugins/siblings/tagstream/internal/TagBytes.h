#pragma once

#include <cstddef>
#include <cstdint>

// The physical form of tags and sizes, shared by reader and writer.
namespace tagstream::internal {

inline constexpr std::size_t kTagSize = 4;
inline constexpr std::size_t kSizeFieldSize = 4;

// The four bytes a tag text stands for: its first four characters, a shorter
// text padded with NULs, so that nobody reads past the end of a short text.
// False for a null text.
inline bool TagBytes(const char* tag, char (&out)[kTagSize]) {
  if (tag == nullptr) return false;
  std::size_t i = 0;
  for (; i < kTagSize && tag[i] != '\0'; ++i) out[i] = tag[i];
  for (; i < kTagSize; ++i) out[i] = '\0';
  return true;
}

inline std::uint32_t ReadLittleEndian32(const char* bytes) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

inline void WriteLittleEndian32(std::uint32_t value, char (&out)[kSizeFieldSize]) {
  for (std::size_t i = 0; i < kSizeFieldSize; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
}

}  // namespace tagstream::internal

#pragma once

// The two translation channel types the tests build, shared by the plug-ins
// and the tests: one undoes a byte-wise XOR, the other a byte-wise addition.
// Each writes what happens to it into the file the log variable names.

#include <cstdint>
#include <string>

#include "Guid.h"

namespace translationtest {

inline constexpr const char* kLogVariable = "VARNEL_TRANSLATION_LOG";

inline constexpr GUID kXorType{0x7A3C51E2, 0x0B94, 0x4F1D, {0x9A, 0x26, 0x5E, 0x11, 0xC4, 0x83, 0x70, 0xD9}};
inline constexpr GUID kAddType{0x2E91B6F0, 0x54C7, 0x4A38, {0x83, 0x1F, 0xA2, 0x6D, 0x0E, 0x95, 0x4B, 0x17}};

inline constexpr std::uint8_t kXorKey = 0x5A;
inline constexpr std::uint8_t kAddStep = 0x11;

inline char UndoXor(char byte) { return static_cast<char>(static_cast<std::uint8_t>(byte) ^ kXorKey); }
inline char UndoAdd(char byte) { return static_cast<char>(static_cast<std::uint8_t>(byte) - kAddStep); }

// What a writer of translated files does, for the tests to build files with.
inline std::string DoXor(std::string bytes) {
  for (char& byte : bytes) byte = UndoXor(byte);
  return bytes;
}
inline std::string DoAdd(std::string bytes) {
  for (char& byte : bytes) byte = static_cast<char>(static_cast<std::uint8_t>(byte) + kAddStep);
  return bytes;
}

}  // namespace translationtest

#pragma once

// Group files written out byte by byte, the way the file format lays them
// down: four tag characters, a 32-bit little-endian size, the data. Fixtures
// are built with this and never with the code that saves groups.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Guid.h"

namespace groupfiletest {

class Bytes {
 public:
  Bytes& Raw(const void* data, std::size_t size) {
    const auto* first = static_cast<const char*>(data);
    bytes_.insert(bytes_.end(), first, first + size);
    return *this;
  }
  Bytes& Append(const Bytes& more) { return Raw(more.Data(), more.Size()); }
  Bytes& Zeros(std::size_t count) {
    bytes_.insert(bytes_.end(), count, '\0');
    return *this;
  }
  Bytes& U8(std::uint8_t value) {
    bytes_.push_back(static_cast<char>(value));
    return *this;
  }
  Bytes& U16(std::uint16_t value) { return U8(value & 0xFF).U8(value >> 8); }
  Bytes& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
  Bytes& I32(std::int32_t value) { return U32(static_cast<std::uint32_t>(value)); }
  // A GUID's 16 bytes: three little-endian integers, then eight bytes.
  Bytes& GuidData(const GUID& guid) {
    U32(guid.Data1).U16(guid.Data2).U16(guid.Data3);
    return Raw(guid.Data4, sizeof guid.Data4);
  }
  // A text in a field of `width` bytes, terminated and padded with zeros.
  Bytes& TextField(const char* text, std::size_t width) {
    const std::size_t length = std::strlen(text);
    Raw(text, length < width ? length : width - 1);
    return Zeros(width - (length < width ? length : width - 1));
  }

  Bytes& Tag(const char* tag) { return Raw(tag, 4); }
  Bytes& Block(const char* tag, const Bytes& data) {
    return Tag(tag).U32(static_cast<std::uint32_t>(data.Size())).Append(data);
  }
  Bytes& Int(const char* tag, std::int32_t value) { return Block(tag, Bytes().I32(value)); }
  Bytes& Byte(const char* tag, std::uint8_t value) { return Block(tag, Bytes().U8(value)); }
  Bytes& Guid(const char* tag, const GUID& value) { return Block(tag, Bytes().GuidData(value)); }
  // A text block with its terminator counted.
  Bytes& Text(const char* tag, const char* text) { return Block(tag, Bytes().Raw(text, std::strlen(text) + 1)); }

  const char* Data() const { return bytes_.data(); }
  std::size_t Size() const { return bytes_.size(); }
  const std::vector<char>& Vector() const { return bytes_; }
  std::vector<char> Prefix(std::size_t size) const { return {bytes_.begin(), bytes_.begin() + size}; }

 private:
  std::vector<char> bytes_;
};

// The start of every channel record: tree-count flag, name, interface type.
inline Bytes RecordStart(const char* name, std::int32_t interfaceType) {
  return Bytes().Byte("CHIC", 0).Text("CHNA", name).Int("CHIT", interfaceType);
}

// Link nodes of a record: a linked node, and a node without child.
inline Bytes& LinkedNode(Bytes& bytes, std::int32_t child, std::int32_t linkPosition, std::int32_t target) {
  return bytes.Int("CHLI", child).Int("CHUL", linkPosition).Int("CHRP", target);
}
inline Bytes& EmptyNode(Bytes& bytes, std::int32_t linkPosition) {
  return bytes.Int("CHLI", -1).Int("CHUL", linkPosition);
}

// The two empty position nodes of a test channel without links.
inline Bytes& UnlinkedNodes(Bytes& bytes) {
  bytes.Int("CHLC", 2);
  EmptyNode(bytes, 0);
  return EmptyNode(bytes, 1);
}

}  // namespace groupfiletest

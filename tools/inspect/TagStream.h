#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Guid.h"

namespace inspect {

// One block of a tagged item: where its data starts and how long it is.
struct Block {
  std::size_t offset = 0;
  std::uint32_t size = 0;
};

// One tag and its blocks (none for a lone tag).
struct TagItem {
  std::string tag;
  std::size_t offset = 0;
  std::vector<Block> blocks;
  bool Lone() const { return blocks.empty(); }
};

// A whole file split into items. Sizes are checked against what is left of
// the file: the first item that does not fit ends the split, and `error`
// says where and why; everything before it is kept.
struct TagStream {
  std::vector<unsigned char> bytes;
  std::vector<TagItem> items;
  std::string error;  // empty when the whole file was split into items

  // The data of an item's first block, or nothing when it has no block of
  // exactly `size` bytes.
  std::optional<std::int32_t> Int(const TagItem& item) const;
  std::optional<GUID> Guid(const TagItem& item) const;
  // The text of an item's first block up to its terminator or end.
  std::optional<std::string> Text(const TagItem& item) const;
  const unsigned char* Data(const Block& block) const { return bytes.data() + block.offset; }
};

// A 32-bit little-endian number at `p`.
std::uint32_t LittleEndian32(const unsigned char* p);

// Reads the file; false with `message` set when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::vector<unsigned char>& bytes, std::string& message);

// Splits the bytes into tags and blocks.
TagStream SplitTags(std::vector<unsigned char> bytes);

// A short view of a block: its text in quotes when it is text, else a GUID,
// number or the first bytes in hex.
std::string Preview(const TagStream& stream, const Block& block);

}  // namespace inspect

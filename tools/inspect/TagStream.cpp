#include "TagStream.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <sstream>

namespace inspect {
namespace {

// Markers that stand alone where the formats have them. "CHES" is also a
// block tag inside a channel record, so a lone tag is recognised by what
// follows it: another tag, or the end of the file.
const std::array<const char*, 8> kLoneTags = {"TVKG", "CHES", "VFKR", "VFDB", "VDFF", "CHEN", "CPEN", "CBTD"};
// A needed-channel entry carries two blocks after its tag.
const std::array<const char*, 1> kTwoBlockTags = {"VNDB"};
// Files larger than this are not read into memory.
constexpr std::uintmax_t kLargestFile = std::uintmax_t(1) << 30;

bool IsTagCharacter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool LooksLikeTag(const std::vector<unsigned char>& bytes, std::size_t at) {
  if (bytes.size() - at < 4) return false;
  return std::all_of(bytes.begin() + at, bytes.begin() + at + 4, IsTagCharacter);
}

template <std::size_t N>
bool OneOf(const std::string& tag, const std::array<const char*, N>& tags) {
  return std::any_of(tags.begin(), tags.end(), [&](const char* t) { return tag == t; });
}

std::string Hex(std::size_t value) {
  std::ostringstream out;
  out << "0x" << std::hex << value;
  return out.str();
}

// Reads one block at `at`; false with `error` set when it runs past the end.
bool ReadBlock(const TagStream& stream, const std::string& tag, std::size_t& at, Block& block, std::string& error) {
  const std::size_t left = stream.bytes.size() - at;
  if (left < 4) {
    error = "tag \"" + tag + "\" at offset " + Hex(at - 4) + " has no complete block size: the file is truncated";
    return false;
  }
  block.size = LittleEndian32(stream.bytes.data() + at);
  block.offset = at + 4;
  if (block.size > left - 4) {
    error = "block of tag \"" + tag + "\" at offset " + Hex(at - 4) + " claims " + std::to_string(block.size) +
            " bytes, but only " + std::to_string(left - 4) + " remain: the file is truncated or corrupt";
    return false;
  }
  at = block.offset + block.size;
  return true;
}

}  // namespace

std::uint32_t LittleEndian32(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

bool ReadFileBytes(const std::string& path, std::vector<unsigned char>& bytes, std::string& message) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    message = "cannot open " + path;
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff length = in.tellg();
  if (length < 0 || static_cast<std::uintmax_t>(length) > kLargestFile) {
    message = "cannot read " + path + " (not a regular file, or larger than 1 GiB)";
    return false;
  }
  in.seekg(0, std::ios::beg);
  bytes.resize(static_cast<std::size_t>(length));
  if (length > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), length)) {
    message = "cannot read " + path;
    return false;
  }
  return true;
}

TagStream SplitTags(std::vector<unsigned char> bytes) {
  TagStream stream;
  stream.bytes = std::move(bytes);
  std::size_t at = 0;
  while (at < stream.bytes.size()) {
    if (!LooksLikeTag(stream.bytes, at)) {
      stream.error = "offset " + Hex(at) + ": " + std::to_string(stream.bytes.size() - at) +
                     " bytes that do not start with a tag";
      return stream;
    }
    TagItem item;
    item.tag.assign(reinterpret_cast<const char*>(stream.bytes.data() + at), 4);
    item.offset = at;
    at += 4;
    const bool lone = OneOf(item.tag, kLoneTags) && (at == stream.bytes.size() || LooksLikeTag(stream.bytes, at));
    const int blockCount = lone ? 0 : OneOf(item.tag, kTwoBlockTags) ? 2 : 1;
    for (int b = 0; b < blockCount; ++b) {
      Block block;
      if (!ReadBlock(stream, item.tag, at, block, stream.error)) return stream;
      item.blocks.push_back(block);
    }
    stream.items.push_back(std::move(item));
  }
  return stream;
}

std::optional<std::int32_t> TagStream::Int(const TagItem& item) const {
  if (item.blocks.empty() || item.blocks[0].size != 4) return std::nullopt;
  return static_cast<std::int32_t>(LittleEndian32(Data(item.blocks[0])));
}

std::optional<GUID> TagStream::Guid(const TagItem& item) const {
  if (item.blocks.empty() || item.blocks[0].size != sizeof(GUID)) return std::nullopt;
  GUID guid;
  std::memcpy(&guid, Data(item.blocks[0]), sizeof guid);
  return guid;
}

std::optional<std::string> TagStream::Text(const TagItem& item) const {
  if (item.blocks.empty()) return std::nullopt;
  const char* data = reinterpret_cast<const char*>(Data(item.blocks[0]));
  return std::string(data, strnlen(data, item.blocks[0].size));
}

std::string Preview(const TagStream& stream, const Block& block) {
  constexpr std::size_t kShown = 40;
  const unsigned char* data = stream.Data(block);
  const std::size_t textLength = strnlen(reinterpret_cast<const char*>(data), block.size);
  const bool terminated = textLength + 1 == block.size;
  const bool printable = std::all_of(data, data + textLength, [](unsigned char c) { return c >= 0x20 && c < 0x7f; });
  const bool text = printable && textLength > 0 && textLength < block.size;
  // Fixed-size records and numbers are told from text by their size first.
  const bool fixedSize = block.size == 1 || block.size == 4 || block.size == sizeof(GUID);
  std::ostringstream out;
  if (text && (terminated || !fixedSize)) {
    out << '"' << std::string(reinterpret_cast<const char*>(data), std::min(textLength, kShown))
        << (textLength > kShown ? "...\"" : "\"");
    if (!terminated) out << " (in a " << block.size << "-byte field)";
  } else if (block.size == 4) {
    out << static_cast<std::int32_t>(LittleEndian32(data));
  } else if (block.size == 1) {
    out << int(data[0]);
  } else if (block.size == sizeof(GUID)) {
    GUID guid;
    std::memcpy(&guid, data, sizeof guid);
    out << GuidText(guid);
  } else {
    constexpr std::size_t kHexBytes = 16;
    static const char digits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < std::min<std::size_t>(block.size, kHexBytes); ++i)
      out << (i ? " " : "") << digits[data[i] >> 4] << digits[data[i] & 15];
    if (block.size > kHexBytes) out << " ...";
  }
  return out.str();
}

}  // namespace inspect

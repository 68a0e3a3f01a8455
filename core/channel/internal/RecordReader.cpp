#include "internal/RecordReader.h"

#include "EngineInterface.h"
#include "TvkFile.h"
#include "internal/LittleEndian.h"

namespace channel_record {

bool RecordReader::Marker(const char* tag) { return !truncated_ && loader_.GetInfoIfTag(tag); }

bool RecordReader::BlockInsideData(const char* tag, std::uint32_t& size) {
  if (loader_.GetIfBlockInsideData()) {
    size = loader_.GetSizeDataBlock(false);
    return true;
  }
  if (engine_) engine_->showErrorMessage("Tvk_Channel::LoadChannel: a block runs past the end of the data:", tag);
  loader_.AddBufferPos(loader_.GetRemainingSize());
  truncated_ = true;
  return false;
}

// A block that fits the data but not the field: another writer's form of it.
// The record goes on after it.
BlockRead RecordReader::SkipBlock(const char* tag) {
  if (engine_) engine_->showErrorMessage("Tvk_Channel::LoadChannel: skipped a block of unexpected size:", tag);
  loader_.SkipDataBlock();
  return BlockRead::kUnusable;
}

BlockRead RecordReader::Fixed(const char* tag, void* destination, std::uint32_t size) {
  if (truncated_ || !loader_.GetInfoIfTag(tag)) return BlockRead::kMissing;
  std::uint32_t stored = 0;
  if (!BlockInsideData(tag, stored)) return BlockRead::kTruncated;
  if (stored != size) return SkipBlock(tag);
  loader_.CopyTagDataToPointer(destination, size);
  return BlockRead::kRead;
}

BlockRead RecordReader::Int32(const char* tag, std::int32_t& value) {
  unsigned char bytes[4];
  const BlockRead result = Fixed(tag, bytes, sizeof bytes);
  if (result == BlockRead::kRead) value = little_endian::GetI32(bytes);
  return result;
}

BlockRead RecordReader::Byte(const char* tag, std::uint8_t& value) {
  unsigned char byte = 0;
  const BlockRead result = Fixed(tag, &byte, 1);
  if (result == BlockRead::kRead) value = byte;
  return result;
}

BlockRead RecordReader::Guid(const char* tag, GUID& value) {
  unsigned char bytes[little_endian::kGuidSize];
  const BlockRead result = Fixed(tag, bytes, sizeof bytes);
  if (result == BlockRead::kRead) value = little_endian::GetGuid(bytes);
  return result;
}

// Read in place: the text is never larger than the field it goes into, and a
// missing terminator ends it at the block's end.
BlockRead RecordReader::Text(const char* tag, std::string& text, bool& hasText, std::size_t maxChars) {
  hasText = false;
  if (truncated_ || !loader_.GetInfoIfTag(tag)) return BlockRead::kMissing;
  std::uint32_t size = 0;
  if (!BlockInsideData(tag, size)) return BlockRead::kTruncated;
  loader_.GetSizeDataBlock(true);
  if (size > 0) {
    const char* data = loader_.GetBuffer();
    std::size_t length = 0;
    while (length < size && length < maxChars && data[length] != '\0') ++length;
    text.assign(data, length);
    hasText = true;
  }
  loader_.AddBufferPos(static_cast<int>(size));
  return BlockRead::kRead;
}

}  // namespace channel_record

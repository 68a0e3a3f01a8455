#pragma once

// Reads the blocks of a channel record from a loader that may hold anything:
// every stored size is checked against the data that remains before a byte
// is copied, and fixed-size fields are filled only from blocks of exactly
// their size.

#include <cstddef>
#include <cstdint>
#include <string>

#include "Guid.h"

class EngineInterface;
class TvkFileLoader;

namespace channel_record {

enum class BlockRead {
  kMissing,   // the tag is not next; nothing moved
  kRead,      // the field was filled
  kUnusable,  // a block of another size; it was skipped, the field is unchanged
  kTruncated  // the block runs past the end; nothing more can be read
};

class RecordReader {
 public:
  RecordReader(TvkFileLoader& loader, EngineInterface* engine) : loader_(loader), engine_(engine) {}

  // A lone tag: consumed when it is next.
  bool Marker(const char* tag);

  BlockRead Fixed(const char* tag, void* destination, std::uint32_t size);
  BlockRead Int32(const char* tag, std::int32_t& value);
  BlockRead Byte(const char* tag, std::uint8_t& value);
  BlockRead Guid(const char* tag, GUID& value);

  // A text block: its bytes up to the first terminator, at most maxChars of
  // them. `hasText` tells whether the block held any byte at all; `text` is
  // set only then.
  BlockRead Text(const char* tag, std::string& text, bool& hasText, std::size_t maxChars);

  // A block ran past the end of the data: the record is incomplete.
  bool Truncated() const { return truncated_; }

 private:
  // Past the tag: the block's size when the whole block lies inside the data.
  // Otherwise reports, moves to the end and answers false.
  bool BlockInsideData(const char* tag, std::uint32_t& size);
  BlockRead SkipBlock(const char* tag);

  TvkFileLoader& loader_;
  EngineInterface* engine_;
  bool truncated_ = false;
};

}  // namespace channel_record

#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

// Walks a tagged stream held in memory with a read position. The bytes come
// from anywhere, so every read is checked against the end first: nothing here
// reads outside the buffer, whatever it holds.
class TagStreamReader {
 public:
  // The stream's users count bytes in int.
  static constexpr std::size_t kMaxSize = INT_MAX;

  // Forgets the buffer; the reader then holds no bytes.
  void Clear();
  // Reads these bytes, which the reader now owns. False (and empty) when they
  // exceed kMaxSize.
  bool Take(std::vector<char>&& bytes);
  // Reads a private copy of the bytes, which may be the reader's own; false
  // (and empty) when there is no memory for it or it exceeds kMaxSize.
  bool Copy(const char* data, std::size_t size);
  // Reads the caller's bytes in place; they must stay valid while read. Bytes
  // of the reader's own buffer are copied instead.
  bool Borrow(const char* data, std::size_t size);

  const char* Data() const { return data_; }
  std::size_t Size() const { return size_; }
  std::size_t Position() const { return position_; }
  bool AtEnd() const { return position_ >= size_; }
  // The bytes from the read position on; null when no bytes are held.
  const char* Current() const { return data_ ? data_ + position_ : nullptr; }

  void Reset() { position_ = 0; }
  // Forward only, and never past the end.
  void Advance(std::size_t count);

  // Whether the four bytes at the read position are the tag; with `advance`
  // the position then moves past them. A mismatch moves nothing.
  bool CheckTag(const char* tag, bool advance);
  // Moves past the next occurrence of the tag at or after the read position.
  // An occurrence followed by a block that fits the buffer is preferred, so
  // tag-like bytes inside an unread block rarely mislead the search; without
  // one the first occurrence is taken. False, moving nothing, when none.
  bool GotoTag(const char* tag);

  // The size stored at the read position; 0 when fewer than four bytes remain.
  // With `advance` (and four bytes there) the position moves onto the data.
  std::uint32_t BlockSize(bool advance);
  // The data of the block at the read position when it fits the buffer, else
  // null. Moves nothing.
  const char* BlockData() const;
  // Copies the block at the read position (exactly its stored size) and moves
  // past it. A block that runs past the end is refused: nothing is copied,
  // nothing moves, and the answer is false.
  bool CopyBlock(void* destination);
  // Moves past a tag and the block after it when that block fits the buffer.
  bool SkipTagAndBlock();

  // Changes one byte of a buffer the reader owns; borrowed bytes stay the
  // caller's and are never written.
  bool SetByte(std::size_t position, char value);

 private:
  std::size_t Remaining() const { return size_ - position_; }
  bool IsOwnMemory(const char* data) const;
  // Whether a size field and its whole block fit from `at` on.
  bool BlockFitsAt(std::size_t at) const;

  std::vector<char> owned_;
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t position_ = 0;
  bool owns_ = false;
};

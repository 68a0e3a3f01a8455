#include "TagStreamReader.h"

#include <cstring>
#include <functional>
#include <new>
#include <utility>

#include "internal/TagBytes.h"

using tagstream::internal::kSizeFieldSize;
using tagstream::internal::kTagSize;
using tagstream::internal::ReadLittleEndian32;
using tagstream::internal::TagBytes;

void TagStreamReader::Clear() {
  std::vector<char>().swap(owned_);
  data_ = nullptr;
  size_ = 0;
  position_ = 0;
  owns_ = false;
}

bool TagStreamReader::Take(std::vector<char>&& bytes) {
  Clear();
  if (bytes.size() > kMaxSize) return false;
  owned_.swap(bytes);
  data_ = owned_.data();
  size_ = owned_.size();
  owns_ = true;
  return true;
}

// The copy is made before the old buffer goes: the bytes may be the reader's
// own, and then they cannot reach beyond its end.
bool TagStreamReader::Copy(const char* data, std::size_t size) {
  const bool overrunsOwn = IsOwnMemory(data) && size > static_cast<std::size_t>(owned_.data() + owned_.size() - data);
  if (size > kMaxSize || (data == nullptr && size > 0) || overrunsOwn) {
    Clear();
    return false;
  }
  try {
    std::vector<char> copy(data, data + size);
    return Take(std::move(copy));
  } catch (const std::bad_alloc&) {
    Clear();
    return false;
  }
}

// Bytes of the reader's own buffer cannot be borrowed: the buffer is released
// when the new one is set, so they are copied instead.
bool TagStreamReader::Borrow(const char* data, std::size_t size) {
  if (IsOwnMemory(data)) return Copy(data, size);
  Clear();
  if (size > kMaxSize || (data == nullptr && size > 0)) return false;
  data_ = data;
  size_ = size;
  return true;
}

bool TagStreamReader::IsOwnMemory(const char* data) const {
  if (!owns_ || data == nullptr || owned_.empty()) return false;
  const std::less_equal<const char*> notAfter;
  return notAfter(owned_.data(), data) && notAfter(data, owned_.data() + owned_.size());
}

void TagStreamReader::Advance(std::size_t count) { position_ += count < Remaining() ? count : Remaining(); }

bool TagStreamReader::CheckTag(const char* tag, bool advance) {
  char wanted[kTagSize];
  if (!TagBytes(tag, wanted) || Remaining() < kTagSize) return false;
  if (std::memcmp(data_ + position_, wanted, kTagSize) != 0) return false;
  if (advance) position_ += kTagSize;
  return true;
}

bool TagStreamReader::BlockFitsAt(std::size_t at) const {
  if (at > size_ || size_ - at < kSizeFieldSize) return false;
  return ReadLittleEndian32(data_ + at) <= size_ - at - kSizeFieldSize;
}

bool TagStreamReader::GotoTag(const char* tag) {
  char wanted[kTagSize];
  if (!TagBytes(tag, wanted) || Remaining() < kTagSize) return false;
  std::size_t first = size_;
  for (std::size_t at = position_; size_ - at >= kTagSize; ++at) {
    if (std::memcmp(data_ + at, wanted, kTagSize) != 0) continue;
    if (BlockFitsAt(at + kTagSize)) {
      position_ = at + kTagSize;
      return true;
    }
    if (first == size_) first = at;
  }
  if (first == size_) return false;
  position_ = first + kTagSize;
  return true;
}

std::uint32_t TagStreamReader::BlockSize(bool advance) {
  if (Remaining() < kSizeFieldSize) return 0;
  const std::uint32_t size = ReadLittleEndian32(data_ + position_);
  if (advance) position_ += kSizeFieldSize;
  return size;
}

const char* TagStreamReader::BlockData() const {
  return BlockFitsAt(position_) ? data_ + position_ + kSizeFieldSize : nullptr;
}

bool TagStreamReader::CopyBlock(void* destination) {
  if (!BlockFitsAt(position_)) return false;
  const std::uint32_t size = ReadLittleEndian32(data_ + position_);
  if (size > 0) {
    if (destination == nullptr) return false;
    std::memcpy(destination, data_ + position_ + kSizeFieldSize, size);
  }
  position_ += kSizeFieldSize + size;
  return true;
}

bool TagStreamReader::SkipTagAndBlock() {
  if (Remaining() < kTagSize || !BlockFitsAt(position_ + kTagSize)) return false;
  position_ += kTagSize + kSizeFieldSize + ReadLittleEndian32(data_ + position_ + kTagSize);
  return true;
}

bool TagStreamReader::SetByte(std::size_t position, char value) {
  if (!owns_ || position >= size_) return false;
  owned_[position] = value;
  return true;
}

#include "TagStreamWriter.h"

#include <cstring>
#include <new>

#include "Platform.h"
#include "internal/TagBytes.h"

using tagstream::internal::kSizeFieldSize;
using tagstream::internal::kTagSize;
using tagstream::internal::TagBytes;
using tagstream::internal::WriteLittleEndian32;

namespace {

// The directory a native path lies in; a bare name lies in the current one.
std::string DirectoryOf(const std::string& nativePath) {
  const std::size_t slash = nativePath.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return nativePath.substr(0, slash);
}

bool Writable(const char* path) { return (platform::FileAttributes(path) & platform::kFileAttributeReadOnly) == 0; }

// Whether a new file of that name can be created beside which the temporary
// file of the save goes, and an existing one may be replaced.
bool CanCreateFile(const char* path) {
  const std::string native = platform::NativePath(path);
  if (native.empty() || native.back() == '/') return false;
  if (platform::DirectoryExists(native.c_str())) return false;
  const std::string directory = DirectoryOf(native);
  if (!platform::DirectoryExists(directory.c_str()) || !Writable(directory.c_str())) return false;
  return !platform::FileExists(native.c_str()) || Writable(native.c_str());
}

}  // namespace

void TagStreamWriter::Start(Mode mode) {
  std::vector<char>().swap(bytes_);
  mode_ = mode;
  failed_ = false;
}

void TagStreamWriter::OpenMemory() { Start(Mode::kMemory); }

void TagStreamWriter::CloseMemory() {
  if (mode_ == Mode::kMemory) mode_ = Mode::kMemoryClosed;
}

bool TagStreamWriter::OpenFile(const char* path) {
  Start(Mode::kClosed);
  path_ = path ? path : "";
  if (path == nullptr || !CanCreateFile(path)) return false;
  mode_ = Mode::kFile;
  return true;
}

bool TagStreamWriter::CloseFile() {
  if (mode_ != Mode::kFile) return false;
  const bool written = !failed_ && platform::WriteFileAtomically(path_.c_str(), bytes_.data(), bytes_.size());
  Start(Mode::kClosed);
  return written;
}

bool TagStreamWriter::IsOpen() const { return mode_ == Mode::kMemory || mode_ == Mode::kFile; }

// A refused append spoils the stream: a file with a piece missing must not
// replace the previous one.
bool TagStreamWriter::Append(const void* bytes, std::size_t count) {
  if (!IsOpen()) return false;
  if (failed_ || count > kMaxSize - bytes_.size() || (bytes == nullptr && count > 0)) {
    failed_ = true;
    return false;
  }
  try {
    const char* first = static_cast<const char*>(bytes);
    bytes_.insert(bytes_.end(), first, first + count);
  } catch (const std::bad_alloc&) {
    failed_ = true;
    return false;
  }
  return true;
}

bool TagStreamWriter::AppendTag(const char* tag) {
  char bytes[kTagSize];
  if (!TagBytes(tag, bytes)) {
    if (IsOpen()) failed_ = true;
    return false;
  }
  return Append(bytes, kTagSize);
}

bool TagStreamWriter::AppendSize(std::uint32_t size) {
  char bytes[kSizeFieldSize];
  WriteLittleEndian32(size, bytes);
  return Append(bytes, kSizeFieldSize);
}

bool TagStreamWriter::AppendData(const void* data, std::uint32_t size) { return Append(data, size); }

char* TagStreamWriter::MemoryBuffer() {
  const bool memory = mode_ == Mode::kMemory || mode_ == Mode::kMemoryClosed;
  return memory && !bytes_.empty() ? bytes_.data() : nullptr;
}

std::size_t TagStreamWriter::MemorySize() const {
  const bool memory = mode_ == Mode::kMemory || mode_ == Mode::kMemoryClosed;
  return memory ? bytes_.size() : 0;
}

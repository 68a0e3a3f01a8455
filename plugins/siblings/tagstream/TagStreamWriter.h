#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Writes a tagged stream in call order: to a memory buffer it owns, or to a
// file. A file stream collects its bytes and replaces the target only when it
// is closed complete, so the previous file survives every failure and every
// stream that is abandoned before CloseFile.
class TagStreamWriter {
 public:
  // A stream must stay readable, and its readers count bytes in int.
  static constexpr std::size_t kMaxSize = INT_MAX;

  // Starts a stream into the writer's own buffer, dropping whatever came before.
  void OpenMemory();
  // Ends a memory stream: later appends are refused, the bytes stay readable
  // until the next stream starts.
  void CloseMemory();
  // Starts a stream that will replace the file `path` (an engine path). False,
  // with no stream open, when the file could not be created there: its
  // directory is missing or not writable, the path names a directory, or the
  // existing file may not be written.
  bool OpenFile(const char* path);
  // Writes the collected stream in full beside the target and renames it over
  // the target. False when there is no complete file stream or the write
  // failed; the old file is then left as it was.
  bool CloseFile();

  // Each append answers false, and marks the stream failed, when it cannot be
  // held; a stream that is not open refuses every append.
  bool AppendTag(const char* tag);
  bool AppendSize(std::uint32_t size);
  bool AppendData(const void* data, std::uint32_t size);

  // The bytes of the memory stream (null for file streams and before any
  // byte was written) and their count.
  char* MemoryBuffer();
  std::size_t MemorySize() const;
  // The engine path of the last file stream; "" before the first.
  const std::string& FilePath() const { return path_; }
  bool Failed() const { return failed_; }

 private:
  enum class Mode { kClosed, kMemory, kMemoryClosed, kFile };
  bool IsOpen() const;
  bool Append(const void* bytes, std::size_t count);
  void Start(Mode mode);

  Mode mode_ = Mode::kClosed;
  std::vector<char> bytes_;
  std::string path_;
  bool failed_ = false;
};

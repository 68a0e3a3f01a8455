#pragma once

#include <cstdint>

#include "Guid.h"
#include "Tvk_Channel.h"

// The two channel types of sibling plug-ins that do all byte work of tagged
// streams. A saver writes four-character tags, unsigned 32-bit block sizes and
// raw data in call order, to a file or to a memory buffer it owns; a loader
// reads a whole file (or an internet address) or a given buffer and walks it
// with a read position. Their operations follow the fourteen of Tvk_Channel.

inline constexpr GUID kFileLoaderType{0xB3E0F51C, 0x72A4, 0x4D19, {0x8E, 0x6B, 0x3C, 0x0A, 0x9F, 0x27, 0xD8, 0x15}};
inline constexpr GUID kFileSaverType{0x6FA2D804, 0x1E93, 0x4B7C, {0xA5, 0xF0, 0x92, 0xC7, 0xE4, 0xB6, 0x13, 0xD8}};
// The file of the loader, which the channel list reads its cache with before it
// knows which file offers which type.
inline constexpr const char* kFileLoaderFileName = "tagreader.dll";

class ENGINECORE_API Tvo_FileLoaderChannel : public Tvk_Channel {
 public:
  // Loads the whole file into memory; the read position is at its start.
  virtual bool LoadFile(const char* path) = 0;
  virtual void SetBlockSize(std::uint32_t size) = 0;
  // Reads from the given memory instead; with `copy` the loader takes its own
  // copy at once, otherwise the memory must stay valid while it is read.
  virtual void SetBuffer(char* data, int size, bool copy) = 0;
  // The data of the block at the read position, null when there is none.
  virtual const char* GetTagData() = 0;
  // Copies the block at the read position (exactly its size) and moves past it.
  virtual void CopyTagDataToPointer(void* destination) = 0;
  // Whether the item at the read position is the tag; `advance` moves past it.
  virtual bool CheckHeader(const char* tag, bool advance) = 0;
  // Moves forward to the next occurrence of the tag and past it.
  virtual bool GotoTag(const char* tag, int mode) = 0;
  // True, and past the tag, when the item at the read position is the tag.
  virtual bool GetInfoIfTag(const char* tag) = 0;
  // The size of the block at the read position; `advance` moves onto its data.
  virtual std::uint32_t GetSizeDataBlock(bool advance) = 0;
  virtual void ResetPosition() = 0;
  // The loaded bytes from the read position on.
  virtual const char* GetBuffer() = 0;
  virtual int GetBufferSize() = 0;
  virtual void AddBufferPos(int count) = 0;
  virtual bool GetIfEndOfFile() = 0;
  virtual bool SkipCurrentTag() = 0;
  virtual void SetURL(const char* url) = 0;
  virtual bool CheckULRCache(const char* url) = 0;
  virtual const char* GetChacheFileNameFromURL(const char* url) = 0;
  virtual bool SaveURLToCache(const char* url) = 0;
  virtual void SetBufferChar(int position, char value) = 0;
  virtual void StopLoading() = 0;
  virtual std::uint32_t GetCRC() = 0;
  // Bit 0: the loaded file is read-only.
  virtual std::uint32_t GetAttributes() = 0;
  virtual bool RunThreaded(unsigned long* progress) = 0;
};

class ENGINECORE_API Tvo_FileSaverChannel : public Tvk_Channel {
 public:
  // Starts a stream written to the file, which is replaced only when the stream
  // is complete (CloseSaveFile); false when it cannot be created.
  virtual bool OpenSaveFile(const char* path, bool unused) = 0;
  virtual int SaveTag(const char* tag) = 0;
  virtual int SaveBlockSize(std::uint32_t size) = 0;
  virtual int SaveDataToFile(const void* data, std::uint32_t size) = 0;
  // Completes the stream; false when the file could not be written in full, in
  // which case an existing file of that name is left as it was.
  virtual bool CloseSaveFile() = 0;
  virtual const char* GetSaveingFileName() = 0;
  // Starts a stream written to a growing buffer owned by the saver.
  virtual void OpenMemory() = 0;
  virtual void CloseMemory() = 0;
  virtual char* GetBuffer() = 0;
  virtual std::uint32_t GetBufferSize() = 0;
};

#pragma once

#include <cstdint>

#include "EngineCoreExport.h"

class EngineInterface;
class Tvk_Channel;

// Reads a tagged stream through the file loader channel, which does the byte
// work. Without that channel every operation does nothing and answers false,
// 0 or null.
class ENGINECORE_API TvkFileLoader {
 public:
  TvkFileLoader();
  explicit TvkFileLoader(EngineInterface* engine);
  virtual ~TvkFileLoader();

  bool LoadFile(const char* path);
  void SetBlockSize(std::uint32_t size);
  void SetBuffer(char* data, int size, bool copy);
  const char* GetTagData();
  void CopyTagDataToPointer(void* destination);
  bool CheckHeader(const char* tag, bool advance);
  bool GotoTag(const char* tag, int mode);
  bool GetInfoIfTag(const char* tag);
  std::uint32_t GetSizeDataBlock(bool advance);
  void ResetPosition();
  const char* GetBuffer();
  int GetBufferSize();
  void AddBufferPos(int count);
  bool GetIfEndOfFile();
  bool SkipCurrentTag();
  void SetURL(const char* url);
  bool CheckULRCache(const char* url);
  const char* GetChacheFileNameFromURL(const char* url);
  bool SaveURLToCache(const char* url);
  void SetBufferChar(int position, char value);
  void StopLoading();
  std::uint32_t GetCRC();
  std::uint32_t GetAttributes();
  bool RunThreaded(unsigned long* progress);

  // Copies the block at the read position only when it fits `capacity` bytes
  // and lies inside the loaded data; a block that does not is refused before
  // anything is copied and the position stays. Readers of untrusted files use
  // this.
  bool CopyTagDataToPointer(void* destination, std::uint32_t capacity);

  // The number of loaded bytes from the read position to the end: what a tag,
  // a size and a block read next can hold at most. Readers check a stored
  // block size against it before they trust it. 0 without a loader channel.
  int GetRemainingSize();

  // Whether the block at the read position, its size field and all of its
  // data, lies inside the loaded bytes.
  bool GetIfBlockInsideData();
  // Moves past the block at the read position when it lies inside the data;
  // false, moving nothing, when it does not.
  bool SkipDataBlock();

  bool HasLoaderChannel() const { return loaderChannel_ != nullptr; }

  TvkFileLoader(const TvkFileLoader&) = delete;
  TvkFileLoader& operator=(const TvkFileLoader&) = delete;

 private:
  void Create(const char* missingText);

  Tvk_Channel* loaderChannel_;
  EngineInterface* engine_;
};

// Writes a tagged stream through the file saver channel: to a file (replaced
// only when the stream is complete) or to a memory buffer the saver owns.
class ENGINECORE_API TvkFileSaver {
 public:
  TvkFileSaver();
  explicit TvkFileSaver(EngineInterface* engine);
  virtual ~TvkFileSaver();
  virtual void OpenMemory();
  virtual void CloseMemory();
  virtual char* GetBuffer();
  virtual std::uint32_t GetBufferSize();

  bool OpenSaveFile(const char* path, bool unused);
  int SaveTag(const char* tag);
  int SaveBlockSize(std::uint32_t size);
  int SaveDataToFile(const void* data, std::uint32_t size);
  bool CloseSaveFile();
  const char* GetSaveingFileName();

  // A tag followed by one block: the three calls every writer makes.
  void SaveBlock(const char* tag, const void* data, std::uint32_t size);

  bool HasSaverChannel() const { return saverChannel_ != nullptr; }

  TvkFileSaver(const TvkFileSaver&) = delete;
  TvkFileSaver& operator=(const TvkFileSaver&) = delete;

 private:
  void Create(const char* missingText);

  Tvk_Channel* saverChannel_;
  EngineInterface* engine_;
};

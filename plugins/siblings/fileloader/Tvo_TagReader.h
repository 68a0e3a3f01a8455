#pragma once

#include <cstdint>
#include <string>

#include "FileChannels.h"
#include "TagStreamReader.h"

// The file loader channel: reads a whole local file or a given buffer and
// walks it as a tagged stream. Loading is synchronous, http and https
// addresses included.
class Tvo_TagReader final : public Tvo_FileLoaderChannel {
 public:
  static ChannelType* TypeRecord();

  ChannelType GetChannelType() override;

  bool LoadFile(const char* path) override;
  void SetBlockSize(std::uint32_t size) override;
  void SetBuffer(char* data, int size, bool copy) override;
  const char* GetTagData() override;
  void CopyTagDataToPointer(void* destination) override;
  bool CheckHeader(const char* tag, bool advance) override;
  bool GotoTag(const char* tag, int mode) override;
  bool GetInfoIfTag(const char* tag) override;
  std::uint32_t GetSizeDataBlock(bool advance) override;
  void ResetPosition() override;
  const char* GetBuffer() override;
  int GetBufferSize() override;
  void AddBufferPos(int count) override;
  bool GetIfEndOfFile() override;
  bool SkipCurrentTag() override;
  void SetURL(const char* url) override;
  bool CheckULRCache(const char* url) override;
  const char* GetChacheFileNameFromURL(const char* url) override;
  bool SaveURLToCache(const char* url) override;
  void SetBufferChar(int position, char value) override;
  void StopLoading() override;
  std::uint32_t GetCRC() override;
  std::uint32_t GetAttributes() override;
  bool RunThreaded(unsigned long* progress) override;

 private:
  void ReportError(const char* text, int value);

  TagStreamReader reader_;
  std::uint32_t attributes_ = 0;
  // Kept for a threaded loader, which would read in blocks of this size.
  std::uint32_t blockSize_ = 0;
  std::string url_;
};

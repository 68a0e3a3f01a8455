#pragma once

#include <cstdint>

#include "FileChannels.h"
#include "TagStreamWriter.h"

// The file saver channel: writes tags, block sizes and data in call order, to
// a memory buffer it owns or to a file that it replaces only once the stream
// is closed complete.
class Tvo_TagWriter final : public Tvo_FileSaverChannel {
 public:
  static ChannelType* TypeRecord();

  ChannelType GetChannelType() override;

  bool OpenSaveFile(const char* path, bool unused) override;
  int SaveTag(const char* tag) override;
  int SaveBlockSize(std::uint32_t size) override;
  int SaveDataToFile(const void* data, std::uint32_t size) override;
  bool CloseSaveFile() override;
  const char* GetSaveingFileName() override;
  void OpenMemory() override;
  void CloseMemory() override;
  char* GetBuffer() override;
  std::uint32_t GetBufferSize() override;

 private:
  TagStreamWriter writer_;
};

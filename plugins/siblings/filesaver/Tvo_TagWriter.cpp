#include "Tvo_TagWriter.h"

#include "SiblingType.h"

ChannelType* Tvo_TagWriter::TypeRecord() {
  static ChannelType record = MakeSiblingType("File Saver", kFileSaverType);
  return &record;
}

ChannelType Tvo_TagWriter::GetChannelType() { return *TypeRecord(); }

// The second argument has no meaning for this saver.
bool Tvo_TagWriter::OpenSaveFile(const char* path, bool) { return writer_.OpenFile(path); }

// Each append answers the number of bytes it added, 0 when it was refused.
int Tvo_TagWriter::SaveTag(const char* tag) { return writer_.AppendTag(tag) ? 4 : 0; }

int Tvo_TagWriter::SaveBlockSize(std::uint32_t size) { return writer_.AppendSize(size) ? 4 : 0; }

int Tvo_TagWriter::SaveDataToFile(const void* data, std::uint32_t size) {
  return writer_.AppendData(data, size) ? static_cast<int>(size) : 0;
}

bool Tvo_TagWriter::CloseSaveFile() { return writer_.CloseFile(); }

const char* Tvo_TagWriter::GetSaveingFileName() { return writer_.FilePath().c_str(); }

void Tvo_TagWriter::OpenMemory() { writer_.OpenMemory(); }

void Tvo_TagWriter::CloseMemory() { writer_.CloseMemory(); }

char* Tvo_TagWriter::GetBuffer() { return writer_.MemoryBuffer(); }

std::uint32_t Tvo_TagWriter::GetBufferSize() { return static_cast<std::uint32_t>(writer_.MemorySize()); }

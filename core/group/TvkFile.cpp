// The loader and saver wrappers: every operation goes to the backing channel.

#include "TvkFile.h"

#include <cstddef>

#include "DllInterface.h"
#include "EngineInterface.h"
#include "FileChannels.h"

namespace {

Tvo_FileLoaderChannel* AsLoader(Tvk_Channel* channel) { return static_cast<Tvo_FileLoaderChannel*>(channel); }
Tvo_FileSaverChannel* AsSaver(Tvk_Channel* channel) { return static_cast<Tvo_FileSaverChannel*>(channel); }

// A block's size field: 32 bits before its data.
constexpr std::uint32_t kBlockSizeFieldBytes = 4;

}  // namespace

// ---- TvkFileLoader ----------------------------------------------------------------------

TvkFileLoader::TvkFileLoader() : loaderChannel_(nullptr), engine_(globalEngine) { Create("File loader class not found"); }

TvkFileLoader::TvkFileLoader(EngineInterface* engine) : loaderChannel_(nullptr), engine_(engine) {
  Create("TvkFileLoader::TvkFileLoader: File loader class not found");
}

void TvkFileLoader::Create(const char* missingText) {
  if (engine_) loaderChannel_ = engine_->InitChannelFromType(kFileLoaderType, nullptr, false);
  if (!loaderChannel_ && engine_) engine_->showErrorMessage(missingText);
}

TvkFileLoader::~TvkFileLoader() { delete loaderChannel_; }

#define LOADER_CALL(fallback, call) return loaderChannel_ ? AsLoader(loaderChannel_)->call : fallback
#define LOADER_DO(call) \
  if (loaderChannel_) AsLoader(loaderChannel_)->call

bool TvkFileLoader::LoadFile(const char* path) { LOADER_CALL(false, LoadFile(path)); }
void TvkFileLoader::SetBlockSize(std::uint32_t size) { LOADER_DO(SetBlockSize(size)); }
void TvkFileLoader::SetBuffer(char* data, int size, bool copy) { LOADER_DO(SetBuffer(data, size, copy)); }
const char* TvkFileLoader::GetTagData() { LOADER_CALL(nullptr, GetTagData()); }
void TvkFileLoader::CopyTagDataToPointer(void* destination) { LOADER_DO(CopyTagDataToPointer(destination)); }
bool TvkFileLoader::CheckHeader(const char* tag, bool advance) { LOADER_CALL(false, CheckHeader(tag, advance)); }
bool TvkFileLoader::GotoTag(const char* tag, int mode) { LOADER_CALL(false, GotoTag(tag, mode)); }
bool TvkFileLoader::GetInfoIfTag(const char* tag) { LOADER_CALL(false, GetInfoIfTag(tag)); }
std::uint32_t TvkFileLoader::GetSizeDataBlock(bool advance) { LOADER_CALL(0u, GetSizeDataBlock(advance)); }
void TvkFileLoader::ResetPosition() { LOADER_DO(ResetPosition()); }
const char* TvkFileLoader::GetBuffer() { LOADER_CALL(nullptr, GetBuffer()); }
int TvkFileLoader::GetBufferSize() { LOADER_CALL(0, GetBufferSize()); }
void TvkFileLoader::AddBufferPos(int count) { LOADER_DO(AddBufferPos(count)); }
bool TvkFileLoader::GetIfEndOfFile() { LOADER_CALL(true, GetIfEndOfFile()); }
bool TvkFileLoader::SkipCurrentTag() { LOADER_CALL(false, SkipCurrentTag()); }
void TvkFileLoader::SetURL(const char* url) { LOADER_DO(SetURL(url)); }
bool TvkFileLoader::CheckULRCache(const char* url) { LOADER_CALL(false, CheckULRCache(url)); }
const char* TvkFileLoader::GetChacheFileNameFromURL(const char* url) { LOADER_CALL(nullptr, GetChacheFileNameFromURL(url)); }
bool TvkFileLoader::SaveURLToCache(const char* url) { LOADER_CALL(false, SaveURLToCache(url)); }
void TvkFileLoader::SetBufferChar(int position, char value) { LOADER_DO(SetBufferChar(position, value)); }
void TvkFileLoader::StopLoading() { LOADER_DO(StopLoading()); }
std::uint32_t TvkFileLoader::GetCRC() { LOADER_CALL(0u, GetCRC()); }
std::uint32_t TvkFileLoader::GetAttributes() { LOADER_CALL(0u, GetAttributes()); }
bool TvkFileLoader::RunThreaded(unsigned long* progress) { LOADER_CALL(false, RunThreaded(progress)); }

// A block that runs past the end is refused here too: the loader channel
// would copy nothing, and the caller must not believe its field was filled.
bool TvkFileLoader::CopyTagDataToPointer(void* destination, std::uint32_t capacity) {
  if (!loaderChannel_ || !destination) return false;
  const std::uint32_t size = AsLoader(loaderChannel_)->GetSizeDataBlock(false);
  if (size > capacity || !GetIfBlockInsideData()) return false;
  AsLoader(loaderChannel_)->CopyTagDataToPointer(destination);
  return true;
}

// The loader channel tells no read position, only the bytes from it on; going
// back to the start and forward again measures it without changing it.
int TvkFileLoader::GetRemainingSize() {
  if (!loaderChannel_) return 0;
  Tvo_FileLoaderChannel* loader = AsLoader(loaderChannel_);
  const char* current = loader->GetBuffer();
  const int size = loader->GetBufferSize();
  if (!current || size <= 0) return 0;
  loader->ResetPosition();
  const char* start = loader->GetBuffer();
  const std::ptrdiff_t position = current - start;
  if (position < 0 || position > size) {
    loader->AddBufferPos(size);  // a position outside its own data: nothing is left to read
    return 0;
  }
  loader->AddBufferPos(static_cast<int>(position));
  return size - static_cast<int>(position);
}

// The stored size alone is not trusted: size field and data must both lie
// before the end of the loaded bytes.
bool TvkFileLoader::GetIfBlockInsideData() {
  const int remaining = GetRemainingSize();
  if (remaining < static_cast<int>(kBlockSizeFieldBytes)) return false;
  const std::uint32_t size = GetSizeDataBlock(false);
  return size <= static_cast<std::uint32_t>(remaining) - kBlockSizeFieldBytes;
}

bool TvkFileLoader::SkipDataBlock() {
  if (!GetIfBlockInsideData()) return false;
  const std::uint32_t size = GetSizeDataBlock(true);
  AddBufferPos(static_cast<int>(size));
  return true;
}

#undef LOADER_CALL
#undef LOADER_DO

// ---- TvkFileSaver ------------------------------------------------------------------------

TvkFileSaver::TvkFileSaver() : saverChannel_(nullptr), engine_(globalEngine) { Create("File loader class not found"); }

TvkFileSaver::TvkFileSaver(EngineInterface* engine) : saverChannel_(nullptr), engine_(engine) {
  Create("TvkFileSaver::TvkFileSaver: File loader class not found");
}

void TvkFileSaver::Create(const char* missingText) {
  if (engine_) saverChannel_ = engine_->InitChannelFromType(kFileSaverType, nullptr, false);
  if (!saverChannel_ && engine_) engine_->showErrorMessage(missingText);
}

TvkFileSaver::~TvkFileSaver() { delete saverChannel_; }

void TvkFileSaver::OpenMemory() {
  if (saverChannel_) AsSaver(saverChannel_)->OpenMemory();
}
void TvkFileSaver::CloseMemory() {
  if (saverChannel_) AsSaver(saverChannel_)->CloseMemory();
}
char* TvkFileSaver::GetBuffer() { return saverChannel_ ? AsSaver(saverChannel_)->GetBuffer() : nullptr; }
std::uint32_t TvkFileSaver::GetBufferSize() { return saverChannel_ ? AsSaver(saverChannel_)->GetBufferSize() : 0; }
bool TvkFileSaver::OpenSaveFile(const char* path, bool unused) {
  return saverChannel_ ? AsSaver(saverChannel_)->OpenSaveFile(path, unused) : false;
}
int TvkFileSaver::SaveTag(const char* tag) { return saverChannel_ ? AsSaver(saverChannel_)->SaveTag(tag) : 0; }
int TvkFileSaver::SaveBlockSize(std::uint32_t size) {
  return saverChannel_ ? AsSaver(saverChannel_)->SaveBlockSize(size) : 0;
}
int TvkFileSaver::SaveDataToFile(const void* data, std::uint32_t size) {
  return saverChannel_ ? AsSaver(saverChannel_)->SaveDataToFile(data, size) : 0;
}
bool TvkFileSaver::CloseSaveFile() { return saverChannel_ ? AsSaver(saverChannel_)->CloseSaveFile() : false; }
const char* TvkFileSaver::GetSaveingFileName() {
  return saverChannel_ ? AsSaver(saverChannel_)->GetSaveingFileName() : nullptr;
}

void TvkFileSaver::SaveBlock(const char* tag, const void* data, std::uint32_t size) {
  SaveTag(tag);
  SaveBlockSize(size);
  SaveDataToFile(data, size);
}

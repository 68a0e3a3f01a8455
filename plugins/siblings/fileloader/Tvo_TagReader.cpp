#include "Tvo_TagReader.h"

#include <cstring>
#include <utility>
#include <vector>

#include "Crc32.h"
#include "EngineInterface.h"
#include "HttpDownload.h"
#include "Platform.h"
#include "SiblingType.h"

namespace {

// The largest package or file an address may deliver: enough for any
// project, far below what would exhaust the viewer's memory.
constexpr std::size_t kMaxDownloadSize = std::size_t{256} * 1024 * 1024;

}  // namespace

ChannelType* Tvo_TagReader::TypeRecord() {
  static ChannelType record = MakeSiblingType("File Loader", kFileLoaderType);
  return &record;
}

ChannelType Tvo_TagReader::GetChannelType() { return *TypeRecord(); }

void Tvo_TagReader::ReportError(const char* text, int value) {
  if (engine_) engine_->showErrorMessage(text, value);
}

// A failed load leaves nothing loaded, so nobody reads the previous file's
// bytes believing them to be this one's.
bool Tvo_TagReader::LoadFile(const char* path) {
  reader_.Clear();
  attributes_ = 0;
  if (path == nullptr || path[0] == '\0') return false;
  std::vector<char> bytes;
  // A download has no file attributes: nothing on this machine is read-only.
  if (IsInternetAddress(path)) return DownloadWhole(path, bytes, kMaxDownloadSize) && reader_.Take(std::move(bytes));
  if (!platform::ReadWholeFile(path, bytes, TagStreamReader::kMaxSize)) return false;
  if (!reader_.Take(std::move(bytes))) return false;
  attributes_ = platform::FileAttributes(path);
  return true;
}

void Tvo_TagReader::SetBlockSize(std::uint32_t size) { blockSize_ = size; }

void Tvo_TagReader::SetBuffer(char* data, int size, bool copy) {
  attributes_ = 0;
  if (data == nullptr || size <= 0) {
    reader_.Clear();
    return;
  }
  const auto count = static_cast<std::size_t>(size);
  if (!copy) {
    reader_.Borrow(data, count);
  } else if (!reader_.Copy(data, count)) {
    ReportError("File loader: no memory for a copy of the buffer, bytes:", size);
  }
}

const char* Tvo_TagReader::GetTagData() { return reader_.BlockData(); }

void Tvo_TagReader::CopyTagDataToPointer(void* destination) {
  if (!reader_.CopyBlock(destination)) {
    ReportError("File loader: refused a block that runs past the end of the data at position",
                static_cast<int>(reader_.Position()));
  }
}

bool Tvo_TagReader::CheckHeader(const char* tag, bool advance) { return reader_.CheckTag(tag, advance); }

// The search mode has no meaning here: every search is the same forward scan.
bool Tvo_TagReader::GotoTag(const char* tag, int) { return reader_.GotoTag(tag); }

bool Tvo_TagReader::GetInfoIfTag(const char* tag) { return reader_.CheckTag(tag, true); }

std::uint32_t Tvo_TagReader::GetSizeDataBlock(bool advance) { return reader_.BlockSize(advance); }

void Tvo_TagReader::ResetPosition() { reader_.Reset(); }

const char* Tvo_TagReader::GetBuffer() { return reader_.Current(); }

int Tvo_TagReader::GetBufferSize() { return static_cast<int>(reader_.Size()); }

// The read position never goes backwards, so a negative count moves nothing.
void Tvo_TagReader::AddBufferPos(int count) {
  if (count > 0) reader_.Advance(static_cast<std::size_t>(count));
}

bool Tvo_TagReader::GetIfEndOfFile() { return reader_.AtEnd(); }

bool Tvo_TagReader::SkipCurrentTag() { return reader_.SkipTagAndBlock(); }

void Tvo_TagReader::SetURL(const char* url) { url_ = url ? url : ""; }

// Nothing is downloaded, so nothing is ever cached.
bool Tvo_TagReader::CheckULRCache(const char*) { return false; }

const char* Tvo_TagReader::GetChacheFileNameFromURL(const char*) { return nullptr; }

bool Tvo_TagReader::SaveURLToCache(const char*) { return false; }

void Tvo_TagReader::SetBufferChar(int position, char value) {
  if (position >= 0) reader_.SetByte(static_cast<std::size_t>(position), value);
}

// Loading finishes inside LoadFile; there is never a load to stop.
void Tvo_TagReader::StopLoading() {}

std::uint32_t Tvo_TagReader::GetCRC() { return tagstream::Crc32(reader_.Data(), reader_.Size()); }

std::uint32_t Tvo_TagReader::GetAttributes() { return attributes_; }

// No thread is started: the bytes are all there already, which is what the
// progress reports.
bool Tvo_TagReader::RunThreaded(unsigned long* progress) {
  if (progress) *progress = static_cast<unsigned long>(reader_.Size());
  return false;
}

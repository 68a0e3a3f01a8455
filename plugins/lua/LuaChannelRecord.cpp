// The Lua channel's record: the base channel record, then the script length
// ("LUSL"), the script with its terminator ("LUSC", only for a script that is
// not empty) and the editor's window rectangle ("LUWS"). Integers are 32-bit
// little-endian.

#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "EngineInterface.h"
#include "TvkFile.h"
#include "Tvo_Lua.h"

namespace {

// The reader's buffer holds the stated length and ten bytes more; a longer
// script block does not fit it.
constexpr std::int64_t kScriptBufferSlack = 10;
constexpr std::uint32_t kWindowPosBytes = 16;

void PutInt32(unsigned char* bytes, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
}

std::int32_t GetInt32(const unsigned char* bytes) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}

enum class Read { kMissing, kRead, kBroken };

void ReportBlock(EngineInterface* engine, const char* text, const char* tag) {
  if (engine) engine->showErrorMessage(text, tag);
}

// Past the tag: whether the whole block lies inside the data.
bool BlockInsideData(TvkFileLoader& loader, EngineInterface* engine, const char* tag) {
  if (loader.GetIfBlockInsideData()) return true;
  ReportBlock(engine, "Lua Script: a block runs past the end of the data:", tag);
  return false;
}

// A fixed-size block is taken only at exactly its size; a block of another
// size is skipped and the record goes on.
Read ReadFixed(TvkFileLoader& loader, EngineInterface* engine, const char* tag, unsigned char* data,
               std::uint32_t size) {
  if (!loader.GetInfoIfTag(tag)) return Read::kMissing;
  if (!BlockInsideData(loader, engine, tag)) return Read::kBroken;
  if (loader.GetSizeDataBlock(false) != size) {
    ReportBlock(engine, "Lua Script: skipped a block of unexpected size:", tag);
    loader.SkipDataBlock();
    return Read::kMissing;
  }
  loader.CopyTagDataToPointer(data, size);
  return Read::kRead;
}

}  // namespace

bool Tvo_Lua::SaveChannel(TvkFileSaver& saver) {
  if (!Tvk_Channel::SaveChannel(saver)) return false;
  if (const char* text = GetScript()) {
    const std::size_t length = std::strlen(text);
    unsigned char lengthBytes[4];
    PutInt32(lengthBytes, static_cast<std::int32_t>(length));
    saver.SaveBlock("LUSL", lengthBytes, sizeof lengthBytes);
    if (length > 0) saver.SaveBlock("LUSC", text, static_cast<std::uint32_t>(length + 1));
  }
  unsigned char position[kWindowPosBytes];
  PutInt32(position, windowPos.left);
  PutInt32(position + 4, windowPos.top);
  PutInt32(position + 8, windowPos.right);
  PutInt32(position + 12, windowPos.bottom);
  saver.SaveBlock("LUWS", position, sizeof position);
  return true;
}

bool Tvo_Lua::LoadChannel(TvkFileLoader& loader, Tvk_ChannelGroup* group) {
  if (!Tvk_Channel::LoadChannel(loader, group)) return false;

  unsigned char lengthBytes[4];
  const Read lengthRead = ReadFixed(loader, engine_, "LUSL", lengthBytes, sizeof lengthBytes);
  if (lengthRead == Read::kBroken) return false;
  const std::int32_t length = lengthRead == Read::kRead ? GetInt32(lengthBytes) : 0;
  if (length > 0 && loader.GetInfoIfTag("LUSC")) {
    if (!BlockInsideData(loader, engine_, "LUSC")) return false;
    const std::uint32_t size = loader.GetSizeDataBlock(false);
    if (static_cast<std::int64_t>(size) > length + kScriptBufferSlack) {
      ReportBlock(engine_, "Lua Script: refused a script block longer than its stated length:", "LUSC");
      loader.SkipDataBlock();
      return false;
    }
    // The block decides the buffer, never the stated length alone; a zero
    // after it ends a script whose block lacks its terminator.
    std::vector<char> text;
    try {
      text.assign(static_cast<std::size_t>(size) + 1, '\0');
    } catch (const std::bad_alloc&) {
      ReportBlock(engine_, "Lua Script: not enough memory for the script block:", "LUSC");
      loader.SkipDataBlock();
      return false;
    }
    loader.CopyTagDataToPointer(text.data(), size);
    SetScript(text.data());  // starts the script while the group loads
  }

  unsigned char position[kWindowPosBytes];
  const Read positionRead = ReadFixed(loader, engine_, "LUWS", position, sizeof position);
  if (positionRead == Read::kBroken) return false;
  if (positionRead == Read::kRead) {
    windowPos = {GetInt32(position), GetInt32(position + 4), GetInt32(position + 8), GetInt32(position + 12)};
  }
  return true;
}

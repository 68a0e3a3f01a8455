#include "Tvo_FloatChannel.h"

#include <cstdint>
#include <cstring>

#include "EngineInterface.h"
#include "TvkFile.h"

namespace {

// Floats and flags travel as little-endian 32-bit words and single bytes.
void SaveFloat(TvkFileSaver& saver, const char* tag, float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const unsigned char bytes[4] = {static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                                  static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
  saver.SaveBlock(tag, bytes, sizeof bytes);
}

enum class Read { kMissing, kRead, kBroken };

// A block is taken only when it has exactly the expected size; a block of
// another size is skipped, one that runs past the data ends the record.
Read LoadFixed(TvkFileLoader& loader, EngineInterface* engine, const char* tag, void* data, std::uint32_t size) {
  if (!loader.GetInfoIfTag(tag)) return Read::kMissing;
  if (!loader.GetIfBlockInsideData()) {
    if (engine) engine->showErrorMessage("Value channel: a block runs past the end of the data:", tag);
    return Read::kBroken;
  }
  if (loader.GetSizeDataBlock(false) != size) {
    if (engine) engine->showErrorMessage("Value channel: skipped a block of unexpected size:", tag);
    loader.SkipDataBlock();
    return Read::kMissing;
  }
  loader.CopyTagDataToPointer(data, size);
  return Read::kRead;
}

Read LoadFloat(TvkFileLoader& loader, EngineInterface* engine, const char* tag, float& value) {
  unsigned char bytes[4];
  const Read result = LoadFixed(loader, engine, tag, bytes, sizeof bytes);
  if (result == Read::kRead) {
    const std::uint32_t bits = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                               static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    std::memcpy(&value, &bits, sizeof value);
  }
  return result;
}

}  // namespace

Tvo_FloatChannel::Tvo_FloatChannel() : value_(0.0f), oldValue_(0.0f), defaultValue_(0.0f), useDefault_(false) {}

Tvo_FloatChannel::~Tvo_FloatChannel() = default;

float Tvo_FloatChannel::GetFloat() { return value_; }

float Tvo_FloatChannel::GetOldFloat() { return oldValue_; }

void Tvo_FloatChannel::SetFloat(float value) {
  oldValue_ = value_;
  value_ = value;
}

float Tvo_FloatChannel::GetDefaultFloat() { return defaultValue_; }

void Tvo_FloatChannel::SetDefaultFloat(float value) { defaultValue_ = value; }

bool Tvo_FloatChannel::GetDefaultFloatSetting() { return useDefault_; }

void Tvo_FloatChannel::SetDefaultFloatSetting(bool useDefault) { useDefault_ = useDefault; }

bool Tvo_FloatChannel::SaveChannel(TvkFileSaver& saver) {
  if (!Tvk_Channel::SaveChannel(saver)) return false;
  SaveFloat(saver, "FLVA", value_);
  SaveFloat(saver, "FLDF", defaultValue_);
  const unsigned char flag = useDefault_ ? 1 : 0;
  saver.SaveBlock("FLDS", &flag, 1);
  return true;
}

bool Tvo_FloatChannel::LoadChannel(TvkFileLoader& loader, Tvk_ChannelGroup* group) {
  if (!Tvk_Channel::LoadChannel(loader, group)) return false;
  float value = value_;
  float defaultValue = defaultValue_;
  unsigned char flag = useDefault_ ? 1 : 0;
  if (LoadFloat(loader, engine_, "FLVA", value) == Read::kBroken) return false;
  if (LoadFloat(loader, engine_, "FLDF", defaultValue) == Read::kBroken) return false;
  if (LoadFixed(loader, engine_, "FLDS", &flag, 1) == Read::kBroken) return false;
  defaultValue_ = defaultValue;
  useDefault_ = flag != 0;
  value_ = useDefault_ ? defaultValue_ : value;
  oldValue_ = value_;
  return true;
}

// Named string values under the host's settings key.

#include <cstring>

#include "Engine.h"
#include "Platform.h"

namespace {
// The reader's work buffer: longer values cannot be read at all.
constexpr std::size_t kWorkBufferSize = 1200;
}  // namespace

bool Engine::SetRegData(const char* valueName, const char* text) {
  if (!valueName || !text) return false;
  platform::SettingValue value;
  value.type = platform::SettingType::String;
  value.text = text;
  return platform::WriteSetting(registryKey_, valueName, value);
}

bool Engine::GetRegData(const char* valueName, char* text, int size) {
  if (!valueName || !text || size < 0) return false;
  std::optional<platform::SettingValue> value = platform::ReadSetting(registryKey_, valueName);
  if (!value) return false;
  if (value->type != platform::SettingType::String) return false;
  // The text and its terminator must fit the work buffer, and the text the caller's.
  if (value->text.size() + 1 > kWorkBufferSize) return false;
  if (value->text.size() > static_cast<std::size_t>(size)) return false;
  // Exactly `size` bytes are written: the text padded with zeros. A text of
  // exactly `size` characters therefore has no terminator; callers pass one
  // byte less than their buffer.
  std::memset(text, 0, static_cast<std::size_t>(size));
  std::memcpy(text, value->text.data(), value->text.size());
  return true;
}

#include <charconv>
#include <cstdint>
#include <unordered_set>

#include "internal/SettingsFormat.h"

namespace platform::internal {
namespace {

constexpr std::string_view kHeader = "varnel-settings 1 ";
constexpr char kStringType = 'S';
constexpr char kNumberType = 'N';

// Reads text up to the next line feed and consumes both.
bool TakeLine(std::string_view& data, std::string_view& line) {
  const std::size_t end = data.find('\n');
  if (end == std::string_view::npos) return false;
  line = data.substr(0, end);
  data.remove_prefix(end + 1);
  return true;
}

// A decimal number exactly as the writer spells it: digits only, no sign and
// no leading zero.
bool ParseCount(std::string_view text, std::uint64_t& value) {
  if (text.empty() || (text.size() > 1 && text[0] == '0')) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool ParseNumber(std::string_view text, std::int64_t& value) {
  if (text.empty()) return false;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() &&
         std::to_string(value) == text;
}

// "<type> <name length> <value length>"
bool ParseEntryLine(std::string_view line, char& type, std::uint64_t& nameLength,
                    std::uint64_t& valueLength) {
  if (line.size() < 5 || line[1] != ' ') return false;
  type = line[0];
  if (type != kStringType && type != kNumberType) return false;
  line.remove_prefix(2);
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return false;
  return ParseCount(line.substr(0, blank), nameLength) && ParseCount(line.substr(blank + 1), valueLength);
}

bool ParseEntry(std::string_view& data, NamedSetting& entry) {
  std::string_view line;
  char type = 0;
  std::uint64_t nameLength = 0;
  std::uint64_t valueLength = 0;
  if (!TakeLine(data, line) || !ParseEntryLine(line, type, nameLength, valueLength)) return false;
  // Both lengths and the closing line feed must fit in what is left.
  if (nameLength > data.size() || valueLength > data.size() - nameLength ||
      data.size() - nameLength - valueLength < 1) {
    return false;
  }
  entry.name.assign(data.substr(0, nameLength));
  const std::string_view value = data.substr(nameLength, valueLength);
  if (data[nameLength + valueLength] != '\n') return false;
  data.remove_prefix(nameLength + valueLength + 1);
  if (type == kNumberType) {
    entry.value.type = SettingType::Number;
    entry.value.text.clear();
    return ParseNumber(value, entry.value.number);
  }
  entry.value.type = SettingType::String;
  entry.value.text.assign(value);
  entry.value.number = 0;
  return true;
}

}  // namespace

std::string SerializeSettings(const SettingList& settings) {
  std::string out(kHeader);
  out += std::to_string(settings.size());
  out += '\n';
  for (const NamedSetting& entry : settings) {
    const bool number = entry.value.type == SettingType::Number;
    const std::string value = number ? std::to_string(entry.value.number) : entry.value.text;
    out += number ? kNumberType : kStringType;
    out += ' ';
    out += std::to_string(entry.name.size());
    out += ' ';
    out += std::to_string(value.size());
    out += '\n';
    out += entry.name;
    out += value;
    out += '\n';
  }
  return out;
}

std::optional<SettingList> ParseSettings(std::string_view data) {
  std::string_view line;
  std::uint64_t count = 0;
  if (!TakeLine(data, line) || line.substr(0, kHeader.size()) != kHeader ||
      !ParseCount(line.substr(kHeader.size()), count)) {
    return std::nullopt;
  }
  // Every entry takes at least its shortest line and a line feed ("S 0 0\n\n"),
  // so a count the data cannot hold is refused before anything is reserved.
  constexpr std::uint64_t kSmallestEntry = 7;
  if (count > data.size() / kSmallestEntry) return std::nullopt;
  SettingList settings;
  settings.reserve(static_cast<std::size_t>(count));
  std::unordered_set<std::string> names;
  for (std::uint64_t i = 0; i < count; ++i) {
    NamedSetting entry;
    if (!ParseEntry(data, entry) || !names.insert(entry.name).second) return std::nullopt;
    settings.push_back(std::move(entry));
  }
  if (!data.empty()) return std::nullopt;
  return settings;
}

}  // namespace platform::internal

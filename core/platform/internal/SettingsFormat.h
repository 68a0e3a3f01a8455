#pragma once

// The text of one settings file: a header line with the format version and
// the number of values, then per value a line "<type> <name length> <value
// length>", the name and the value bytes as they are, and a line feed. Lengths
// make every byte legal in names and values; the count makes a cut-off file
// recognisable.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Platform.h"

namespace platform::internal {

struct NamedSetting {
  std::string name;
  SettingValue value;
};
using SettingList = std::vector<NamedSetting>;

std::string SerializeSettings(const SettingList& settings);
// Empty on any deviation from the format, including duplicate names and
// trailing bytes: a file that is not exactly what the writer produces is
// treated as missing.
std::optional<SettingList> ParseSettings(std::string_view data);

}  // namespace platform::internal

#include <cstring>
#include <limits>

#include "PackageDescription.h"
#include "ToolSupport.h"

namespace buildtools {
namespace {

std::int32_t ParseInt(const std::string& text, const std::string& what) {
  try {
    std::size_t used = 0;
    const long long value = std::stoll(text, &used);
    if (used == text.size() && value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max())
      return static_cast<std::int32_t>(value);
  } catch (const std::exception&) {
  }
  throw UsageError(what + ": \"" + text + "\" is not a whole number");
}

GUID ParseGuidArgument(const std::string& text, const std::string& option) {
  auto guid = ParseGuid(text);
  if (!guid) throw UsageError(option + ": \"" + text + "\" is not a GUID (expected XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX)");
  return *guid;
}

NeededChannel& EntryFor(PackageDescription& package, const GUID& type) {
  for (auto& entry : package.needs)
    if (entry.type == type) return entry;
  package.needs.push_back(NeededChannel{type, {0, 0, 0}, std::string()});
  return package.needs.back();
}

// GUID[:v0,v1,v2]
void AddNeeds(PackageDescription& package, const std::string& text) {
  const std::size_t colon = text.find(':');
  NeededChannel& entry = EntryFor(package, ParseGuidArgument(text.substr(0, colon), "--needs"));
  if (colon == std::string::npos) return;
  const std::string versions = text.substr(colon + 1);
  std::size_t from = 0;
  for (int i = 0; i < 3; ++i) {
    const std::size_t comma = versions.find(',', from);
    if ((i < 2) != (comma != std::string::npos)) throw UsageError("--needs: expected GUID:v0,v1,v2, got \"" + text + "\"");
    entry.lowestVersions[i] = ParseInt(versions.substr(from, comma - from), "--needs");
    from = comma + 1;
  }
}

// GUID:FILE.dll
void AddCarry(PackageDescription& package, const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || colon + 1 == text.size())
    throw UsageError("--carry: expected GUID:FILE.dll, got \"" + text + "\"");
  EntryFor(package, ParseGuidArgument(text.substr(0, colon), "--carry")).carriedFile = text.substr(colon + 1);
}

}  // namespace

PackageDescription ParsePackArguments(int argc, char** argv) {
  PackageDescription package;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw UsageError(option + " needs a value");
      return argv[++i];
    };
    if (option == "--start") package.startGroup = value();
    else if (option == "-o") package.output = value();
    else if (option == "--min-engine") package.minEngine = ParseInt(value(), "--min-engine");
    else if (option == "--keep-running") package.keepRunning = true;
    else if (option == "--needs") AddNeeds(package, value());
    else if (option == "--carry") AddCarry(package, value());
    else if (option == "--library") package.libraries.push_back(value());
    else if (option == "--install-dir") package.installDir = value();
    else throw UsageError("unexpected argument \"" + option + "\"");
  }
  if (package.startGroup.empty()) throw UsageError("--start GROUP.cgr is missing");
  if (package.output.empty()) throw UsageError("-o PROJECT.vnl is missing");
  return package;
}

}  // namespace buildtools

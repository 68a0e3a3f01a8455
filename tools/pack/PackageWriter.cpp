#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "PackageDescription.h"
#include "TvkFile.h"

namespace buildtools {
namespace fs = std::filesystem;
namespace {

// The loader keeps start group names below 400 bytes.
constexpr std::size_t kMaxStartGroupChars = 399;
constexpr std::uintmax_t kMaxCarriedBytes = 0x7FFFFFFF;

std::optional<std::vector<char>> ReadWholeFile(const std::string& path) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  if (error || size > kMaxCarriedBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<char> bytes(std::istreambuf_iterator<char>(in), {});
  if (bytes.size() != size) return std::nullopt;
  return bytes;
}

// The start group's name as the loader resolves it: relative to the package's
// directory, in the engine's backslash form.
std::string StartGroupName(const std::string& group, const std::string& package) {
  std::error_code error;
  const fs::path packageDir = fs::absolute(package, error).parent_path();
  fs::path relative = fs::absolute(group, error).lexically_normal().lexically_relative(packageDir.lexically_normal());
  std::string name = relative.empty() ? group : relative.string();
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

class Writer {
 public:
  explicit Writer(EngineInterface* engine) : saver_(engine) {}
  bool Open(const std::string& path) { return saver_.OpenSaveFile(path.c_str(), false); }
  bool Close() { return saver_.CloseSaveFile(); }
  void Text(const char* tag, const std::string& text) {
    saver_.SaveBlock(tag, text.c_str(), static_cast<std::uint32_t>(text.size() + 1));
  }
  void Int(const char* tag, std::int32_t value) { saver_.SaveBlock(tag, &value, sizeof value); }
  void Bytes(const char* tag, const std::vector<char>& bytes) {
    saver_.SaveBlock(tag, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  }
  void Lone(const char* tag) { saver_.SaveTag(tag); }
  void Needed(const NeededChannel& entry) {
    saver_.SaveBlock("VNDB", &entry.type, sizeof entry.type);
    saver_.SaveBlockSize(sizeof entry.lowestVersions);
    saver_.SaveDataToFile(entry.lowestVersions.data(), sizeof entry.lowestVersions);
  }

 private:
  TvkFileSaver saver_;
};

struct CarriedFile {
  std::string name;
  std::vector<char> bytes;
};

std::optional<std::string> ReadCarried(const std::string& path, CarriedFile& file) {
  if (path.empty()) return std::nullopt;
  auto bytes = ReadWholeFile(path);
  if (!bytes) return "cannot read " + path + " (or it is larger than 2 GB)";
  if (bytes->empty()) return path + " is empty";
  file = {fs::path(path).filename().string(), std::move(*bytes)};
  return std::nullopt;
}

}  // namespace

std::optional<std::string> WritePackage(EngineInterface* engine, const PackageDescription& package) {
  std::error_code error;
  if (!fs::is_regular_file(package.startGroup, error)) return "the start group " + package.startGroup + " does not exist";
  const std::string startName = StartGroupName(package.startGroup, package.output);
  if (startName.size() > kMaxStartGroupChars)
    return "the start group name \"" + startName + "\" is longer than 399 characters";
  // Every carried file is read before the package is opened, so a bad one
  // leaves no half-written package behind.
  std::vector<CarriedFile> plugins(package.needs.size()), libraries(package.libraries.size());
  for (std::size_t i = 0; i < package.needs.size(); ++i)
    if (auto error = ReadCarried(package.needs[i].carriedFile, plugins[i])) return error;
  for (std::size_t i = 0; i < package.libraries.size(); ++i)
    if (auto error = ReadCarried(package.libraries[i], libraries[i])) return error;

  Writer writer(engine);
  if (!writer.Open(package.output)) return "cannot create " + package.output;
  writer.Text("VSGR", startName);
  if (package.minEngine) writer.Int("VMEV", *package.minEngine);
  if (package.keepRunning) writer.Lone("VFKR");
  if (!package.needs.empty() || !package.libraries.empty()) {
    writer.Int("VDDC", static_cast<std::int32_t>(package.needs.size()));
    for (std::size_t i = 0; i < package.needs.size(); ++i) {
      writer.Needed(package.needs[i]);
      if (plugins[i].name.empty()) continue;
      writer.Text("VCAN", plugins[i].name);
      writer.Int("VCAS", static_cast<std::int32_t>(plugins[i].bytes.size()));
      writer.Bytes("VCAF", plugins[i].bytes);
    }
  }
  if (!package.libraries.empty()) {
    writer.Int("VDGC", static_cast<std::int32_t>(libraries.size()));
    for (const CarriedFile& library : libraries) {
      writer.Text("VDDF", library.name);
      writer.Text("VDLN", library.name);
      writer.Int("VDLS", static_cast<std::int32_t>(library.bytes.size()));
      writer.Bytes("VDLF", library.bytes);
    }
  }
  if (!writer.Close()) return "cannot write " + package.output;
  return std::nullopt;
}

}  // namespace buildtools

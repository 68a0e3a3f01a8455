#include "PluginLoadingSupport.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "BoundedText.h"
#include "ChannelList.h"
#include "Diagnostics.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"

namespace pluginloading {
namespace fs = std::filesystem;

PluginInstall::PluginInstall(std::initializer_list<const char*> testPlugins) {
  for (const std::string& sibling : kSiblingFiles) {
    fs::copy_file(fs::path(testsupport::BuildEngineDir()) / "channels" / sibling, Path() / "channels" / sibling);
  }
  for (const char* plugin : testPlugins) AddTestPlugin(plugin);
}

void PluginInstall::AddTestPlugin(const std::string& file, const std::string& asName) {
  fs::copy_file(fs::path(VARNEL_TEST_PLUGIN_DIR) / file, Path() / "channels" / (asName.empty() ? file : asName),
                fs::copy_options::overwrite_existing);
}

void PluginInstall::RemovePlugin(const std::string& file) { fs::remove(Path() / "channels" / file); }

ProbeLog::ProbeLog() : path_(dir_.File("probe.log")) { environment_.Set(testplugin::kProbeLogVariable, path_); }

std::vector<std::string> ProbeLog::Lines() const {
  std::vector<std::string> lines;
  std::ifstream in(path_);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> ProbeLog::Events(std::initializer_list<const char*> events) const {
  std::vector<std::string> picked;
  for (const std::string& line : Lines()) {
    const std::string event = line.substr(0, line.find(' '));
    for (const char* wanted : events) {
      if (event == wanted) picked.push_back(line);
    }
  }
  return picked;
}

int ProbeLog::Count(const std::string& line) const {
  int count = 0;
  for (const std::string& each : Lines()) count += each == line ? 1 : 0;
  return count;
}

void ProbeLog::Clear() { fs::remove(path_); }

ChannelType TestRecord(const char* name, GUID type, GUID base, int build) {
  ChannelType record;
  CopyText(record.name, name, sizeof(record.name) - 1);
  record.guid = type;
  record.baseGuid = base;
  record.versionInfo[2] = build;
  return record;
}

ChannelType TestRecord(const char* name, GUID type) { return TestRecord(name, type, type); }

std::string TagBlock(const char* tag, const void* data, std::uint32_t size) {
  std::string bytes(tag, 4);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((size >> shift) & 0xFF));
  bytes.append(static_cast<const char*>(data), size);
  return bytes;
}

std::string IntBlock(const char* tag, std::int32_t value) {
  char data[4];
  for (int i = 0; i < 4; ++i) data[i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
  return TagBlock(tag, data, 4);
}

std::string EntryBlocks(const ListEntry& entry) {
  char name[260] = {};
  CopyText(name, entry.fileName.c_str(), 258);
  return TagBlock("CHTY", &entry.type, sizeof(ChannelType)) + TagBlock("C1FN", name, sizeof name);
}

std::string ListFileBytes(std::int32_t version, const std::vector<ListEntry>& entries) {
  std::string bytes = IntBlock("CHEV", version) + IntBlock("C1CC", static_cast<std::int32_t>(entries.size()));
  for (const ListEntry& entry : entries) bytes += EntryBlocks(entry);
  return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

// Takes the block `tag` of exactly `size` bytes from the front of `bytes`.
bool TakeBlock(std::string& bytes, const char* tag, void* data, std::uint32_t size) {
  if (bytes.size() < 8 + size || bytes.compare(0, 4, tag) != 0) return false;
  std::uint32_t stored = 0;
  for (int i = 0; i < 4; ++i) stored |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[4 + i])) << (8 * i);
  if (stored != size) return false;
  std::memcpy(data, bytes.data() + 8, size);
  bytes.erase(0, 8 + size);
  return true;
}

}  // namespace

std::optional<std::vector<ListEntry>> ReadListFile(const std::string& path) {
  std::string bytes = ReadFile(path);
  std::int32_t version = 0;
  std::int32_t count = 0;
  if (!TakeBlock(bytes, "CHEV", &version, 4) || version != kEngineVersion) return std::nullopt;
  if (!TakeBlock(bytes, "C1CC", &count, 4) || count < 0) return std::nullopt;
  std::vector<ListEntry> entries;
  for (std::int32_t i = 0; i < count; ++i) {
    ListEntry entry;
    char name[260];
    if (!TakeBlock(bytes, "CHTY", &entry.type, sizeof(ChannelType))) return std::nullopt;
    if (!TakeBlock(bytes, "C1FN", name, sizeof name) || !std::memchr(name, '\0', sizeof name)) return std::nullopt;
    entry.fileName = name;
    entries.push_back(entry);
  }
  if (!bytes.empty()) return std::nullopt;
  return entries;
}

std::vector<std::string> ListedFiles(EngineInterface* engine) {
  std::vector<std::string> files;
  ChannelList* list = engine->engineInterfaceExt->GetChannelList();
  for (int i = 0; list && i < list->GetItemCount(); ++i) files.push_back(list->GetItem(i)->fileName);
  return files;
}

int ReleaseAndCountLibraries(testsupport::StartedEngine& engine) {
  engine.sink.Clear();
  engine->engineInterfaceExt->Release();
  const std::string prefix = "Libraries loaded :";
  for (const std::string& text : engine.sink.Texts()) {
    if (text.rfind(prefix, 0) == 0) return std::stoi(text.substr(prefix.size()));
  }
  return -1;
}

std::vector<std::string> Errors(const testsupport::StartedEngine& engine) {
  return engine.sink.TextsOfType(kMessageError);
}

std::string PointerText(const void* pointer) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", pointer);
  return text;
}

}  // namespace pluginloading

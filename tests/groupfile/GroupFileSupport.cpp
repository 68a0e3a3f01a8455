#include "GroupFileSupport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "TvkFile.h"

namespace groupfiletest {
namespace fs = std::filesystem;

namespace {

const char* const kSiblingFiles[] = {"Directory.dll", "tagreader.dll", "tagwriter.dll"};
const char* const kTestPlugins[] = {"GroupFileLinker.dll", "GroupFileChatty.dll", "GroupFileAlternate.dll"};

std::string HexAround(const std::vector<char>& bytes, std::size_t at) {
  std::ostringstream out;
  const std::size_t from = at > 16 ? at - 16 : 0;
  const std::size_t to = std::min(bytes.size(), at + 16);
  for (std::size_t i = from; i < to; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    char text[8];
    std::snprintf(text, sizeof text, i == at ? "[%02X]" : "%02X ", byte);
    out << text;
  }
  return out.str();
}

}  // namespace

GroupFileInstall::GroupFileInstall() {
  for (const char* file : kSiblingFiles) {
    fs::copy_file(fs::path(testsupport::BuildEngineDir()) / "channels" / file, Path() / "channels" / file);
  }
  for (const char* file : kTestPlugins) {
    fs::copy_file(fs::path(VARNEL_GROUPFILE_PLUGIN_DIR) / file, Path() / "channels" / file);
  }
}

GroupFileTest::GroupFileTest() { globalEngine = engine.Get(); }

GroupFileTest::~GroupFileTest() {
  group.reset();
  globalEngine = nullptr;
}

Tvk_Channel* GroupFileTest::Make(const GUID& type, const char* name, Tvk_ChannelGroup* target) {
  Tvk_Channel* channel = engine->InitChannelFromType(type, target != nullptr ? target : group.get(), false);
  if (channel != nullptr && name != nullptr) channel->SetChannelName(name);
  return channel;
}

std::vector<char> GroupFileTest::SavedBytes(Tvk_ChannelGroup& source) {
  TvkFileSaver saver(engine.Get());
  saver.OpenMemory();
  source.SaveChannelGroup(saver);
  const char* data = saver.GetBuffer();
  return data != nullptr ? std::vector<char>(data, data + saver.GetBufferSize()) : std::vector<char>();
}

bool GroupFileTest::Load(Tvk_ChannelGroup& target, const std::vector<char>& bytes, bool asPoolInstance) {
  std::vector<char> copy = bytes;  // the loader reads the caller's memory in place
  return target.LoadChannelGroupFromBuffer("memory.cgr", static_cast<int>(copy.size()), copy.data(), asPoolInstance);
}

std::vector<char> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

::testing::AssertionResult SameBytes(const std::vector<char>& actual, const std::vector<char>& expected) {
  const std::size_t common = std::min(actual.size(), expected.size());
  std::size_t at = 0;
  while (at < common && actual[at] == expected[at]) ++at;
  if (at == common && actual.size() == expected.size()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                       << ", first difference at offset " << at
                                       << "\n  actual:   " << HexAround(actual, at)
                                       << "\n  expected: " << HexAround(expected, at);
}

}  // namespace groupfiletest

#include "RecordTestSupport.h"

#include <cstdio>
#include <filesystem>

#include "DllInterface.h"
#include "TvkFile.h"

namespace recordtest {

std::string Le32(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

std::string Lone(const char* tag) { return std::string(tag, 4); }

std::string Block(const char* tag, const std::string& data) {
  return Lone(tag) + Le32(static_cast<std::uint32_t>(data.size())) + data;
}

std::string Int(const char* tag, std::int32_t value) { return Block(tag, Le32(static_cast<std::uint32_t>(value))); }

std::string Byte(const char* tag, std::uint8_t value) { return Block(tag, std::string(1, static_cast<char>(value))); }

std::string Text(const char* tag, const std::string& text) { return Block(tag, text + std::string(1, '\0')); }

std::string GuidBytes(const GUID& guid) {
  std::string bytes = Le32(guid.Data1);
  bytes += Le32(guid.Data2).substr(0, 2);
  bytes += Le32(guid.Data3).substr(0, 2);
  bytes.append(reinterpret_cast<const char*>(guid.Data4), 8);
  return bytes;
}

std::string GuidBlock(const char* tag, const GUID& guid) { return Block(tag, GuidBytes(guid)); }

std::string Head(const std::string& name, std::int32_t type) {
  return Byte("CHIC", 0) + Text("CHNA", name) + Int("CHIT", type);
}

std::string NoLinks() { return Int("CHLC", 0) + Byte("CHUP", 0); }

std::string Hex(const std::string& bytes) {
  std::string text;
  char pair[4];
  for (unsigned char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02x ", byte);
    text += pair;
  }
  return text;
}

RecordChannel::RecordChannel(const char* name, int interfaceType, bool withPositions) {
  if (name) SetChannelName(name);
  if (interfaceType != TVO_PRIVATE) SetChannelInterfaceType(interfaceType);
  if (!withPositions) return;
  SetChildCreationCount(2);
  ChildCreation multi;
  multi.channelType.guid = kWildcardGuid;
  multi.requestLink = -1;
  SetChildCreateType(multi, 0);
  ChildCreation single;
  single.channelType.guid = kWildcardGuid;
  single.requestLink = 1;
  SetChildCreateType(single, 1);
}

InstallWithFileChannels::InstallWithFileChannels() {
  namespace fs = std::filesystem;
  for (const char* file : {"tagreader.dll", "tagwriter.dll", "Directory.dll"})
    fs::copy_file(fs::path(testsupport::BuildEngineDir()) / "channels" / file, Path() / "channels" / file);
}

RecordTest::RecordTest() {
  globalEngine = engine.Get();
  Sink().Clear();
}

RecordTest::~RecordTest() {
  loader_.reset();
  group.reset();
  otherGroup.reset();
  globalEngine = nullptr;
}

RecordChannel* RecordTest::Add(const char* name, int interfaceType, bool withPositions, Tvk_ChannelGroup* target) {
  auto* channel = new RecordChannel(name, interfaceType, withPositions);
  (target ? target : group.get())->AddChannel(channel);
  return channel;
}

std::string RecordTest::Save(Tvk_Channel& channel) {
  TvkFileSaver saver(engine.Get());
  EXPECT_TRUE(saver.HasSaverChannel());
  saver.OpenMemory();
  EXPECT_TRUE(channel.SaveChannel(saver));
  return std::string(saver.GetBuffer() ? saver.GetBuffer() : "", saver.GetBufferSize());
}

bool RecordTest::Load(Tvk_Channel& channel, const std::string& bytes, Tvk_ChannelGroup* target) {
  loader_ = std::make_unique<TvkFileLoader>(engine.Get());
  EXPECT_TRUE(loader_->HasLoaderChannel());
  std::string copy = bytes;
  loader_->SetBuffer(copy.data(), static_cast<int>(copy.size()), true);
  return channel.LoadChannel(*loader_, target);
}

}  // namespace recordtest

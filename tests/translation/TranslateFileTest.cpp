// The translation chain: every "TRNF" header at the read position names a
// translation channel type, run in file order on the data after its header.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "FileChannels.h"
#include "ScopedEnvironment.h"
#include "TestSupport.h"
#include "TranslationTypes.h"
#include "TvkFile.h"

namespace translationtest {
namespace {

namespace fs = std::filesystem;

constexpr GUID kNotInstalled{0x0BADF00D, 0x0001, 0x0002, {3, 4, 5, 6, 7, 8, 9, 10}};

std::string Le32(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

std::string Header(const GUID& type) {
  std::string guid = Le32(type.Data1) + Le32(type.Data2).substr(0, 2) + Le32(type.Data3).substr(0, 2);
  guid.append(reinterpret_cast<const char*>(type.Data4), 8);
  return "TRNF" + Le32(16) + guid;
}

// A group stream's start and every byte value, so each transform is seen.
std::string Content() {
  std::string content = "TVKG" + std::string("CHCO") + Le32(4) + Le32(0);
  for (int value = 0; value < 256; ++value) content += static_cast<char>(value);
  return content;
}

class InstallWithTranslators : public testsupport::TempInstallDir {
 public:
  InstallWithTranslators() {
    for (const char* file : {"tagreader.dll", "tagwriter.dll", "Directory.dll"})
      fs::copy_file(fs::path(testsupport::BuildEngineDir()) / "channels" / file, Path() / "channels" / file);
    for (const char* file : {"XorTranslator.dll", "AddTranslator.dll"})
      fs::copy_file(fs::path(VARNEL_TRANSLATION_PLUGIN_DIR) / file, Path() / "channels" / file);
  }
};

class TranslateFileTest : public ::testing::Test {
 protected:
  TranslateFileTest() { environment_.Set(kLogVariable, logPath_); }

  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    std::ifstream in(logPath_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  // The loader's bytes from its read position on.
  static std::string Remaining(TvkFileLoader& loader) {
    const int size = loader.GetRemainingSize();
    return size > 0 ? std::string(loader.GetBuffer(), size) : std::string();
  }

  // A file loader channel created the way the engine creates one by type.
  std::unique_ptr<Tvo_FileLoaderChannel> NewFileChannel() {
    Tvk_Channel* channel = engine->InitChannelFromType(kFileLoaderType, nullptr, false);
    return std::unique_ptr<Tvo_FileLoaderChannel>(static_cast<Tvo_FileLoaderChannel*>(channel));
  }

  static std::string DataOf(Tvo_FileLoaderChannel& channel) {
    channel.ResetPosition();
    const int size = channel.GetBufferSize();
    return size > 0 ? std::string(channel.GetBuffer(), size) : std::string();
  }

  EngineInterfaceExt* Ext() { return engine->engineInterfaceExt; }

  // Translates `file` in a new file loader channel, with a fresh log; the
  // data the channel holds afterwards.
  std::string TranslatedInFileChannel(std::string file) {
    fs::remove(logPath_);
    auto fileChannel = NewFileChannel();
    EXPECT_NE(fileChannel, nullptr);
    if (!fileChannel) return std::string();
    fileChannel->SetBuffer(file.data(), static_cast<int>(file.size()), true);
    Ext()->TranslateFile(fileChannel.get());
    return DataOf(*fileChannel);
  }

  testsupport::TempDir logDir_;
  std::string logPath_ = logDir_.File("translation.log");
  ScopedEnvironment environment_;
  InstallWithTranslators install;
  testsupport::StartedEngine engine{install.Path().string()};
};

const std::vector<std::string> kXorThenAdd = {"create Xor", "translate Xor", "delete Xor",
                                              "create Add", "translate Add", "delete Add"};
const std::vector<std::string> kAddThenXor = {"create Add", "translate Add", "delete Add",
                                              "create Xor", "translate Xor", "delete Xor"};

struct ChainCase {
  const char* what;
  std::string file;
  std::vector<std::string> log;
};

// The inner header is itself translated by the outer channel, so only file
// order can reach the content, and the two transforms do not commute.
const ChainCase kChains[] = {
    {"xor, then add", Header(kXorType) + DoXor(Header(kAddType) + DoAdd(Content())), kXorThenAdd},
    {"add, then xor", Header(kAddType) + DoAdd(Header(kXorType) + DoXor(Content())), kAddThenXor},
    {"two headers back to back", Header(kXorType) + DoXor(Header(kXorType) + DoXor(Content())),
     {"create Xor", "translate Xor", "delete Xor", "create Xor", "translate Xor", "delete Xor"}},
};

TEST_F(TranslateFileTest, HeadersRunTheirTranslationChannelsInFileOrder) {
  for (const ChainCase& each : kChains) {
    SCOPED_TRACE(each.what);
    fs::remove(logPath_);
    TvkFileLoader loader(engine.Get());
    std::string file = each.file;
    loader.SetBuffer(file.data(), static_cast<int>(file.size()), true);
    Ext()->TranslateFile(&loader);
    EXPECT_EQ(Remaining(loader), Content());
    EXPECT_EQ(Log(), each.log);
  }
}

TEST_F(TranslateFileTest, FileChannelReceivesTheTranslatedData) {
  for (const ChainCase& each : kChains) {
    SCOPED_TRACE(each.what);
    EXPECT_EQ(TranslatedInFileChannel(each.file), Content());
    EXPECT_EQ(Log(), each.log);
  }
}

TEST_F(TranslateFileTest, UnknownTypeStopsTheChain) {
  const std::string file = Header(kXorType) + DoXor(Header(kNotInstalled) + Header(kAddType) + DoAdd(Content()));
  TvkFileLoader loader(engine.Get());
  std::string copy = file;
  loader.SetBuffer(copy.data(), static_cast<int>(copy.size()), true);
  Ext()->TranslateFile(&loader);
  EXPECT_EQ(Log(), (std::vector<std::string>{"create Xor", "translate Xor", "delete Xor"}));
  // Read on unchanged after the header that named nothing.
  EXPECT_EQ(Remaining(loader), Header(kAddType) + DoAdd(Content()));
}

// The file channel keeps its data unless the whole chain ran, also when the
// first translation already happened, and whatever the header holds.
struct StopCase {
  const char* what;
  std::string file;
  std::vector<std::string> log;
};

const StopCase kStops[] = {
    {"type not installed after a translated header", Header(kXorType) + DoXor(Header(kNotInstalled) + Content()),
     {"create Xor", "translate Xor", "delete Xor"}},
    {"type not installed", Header(kNotInstalled) + Content(), {}},
    {"zero type", Header(kZeroGuid) + Content(), {}},
    {"a type that translates nothing", Header(kFileSaverType) + Content(), {}},
    {"type block of another size", "TRNF" + Le32(8) + std::string(8, 'g') + Content(), {}},
    {"type block runs past the end", "TRNF" + Le32(16) + std::string(5, 'g'), {}},
    {"header tag alone at the end", "TRNF", {}},
};

TEST_F(TranslateFileTest, FileChannelKeepsItsDataWhenTheChainStops) {
  for (const StopCase& each : kStops) {
    SCOPED_TRACE(each.what);
    EXPECT_EQ(TranslatedInFileChannel(each.file), each.file);
    EXPECT_EQ(Log(), each.log);

    TvkFileLoader loader(engine.Get());
    std::string file = each.file;
    loader.SetBuffer(file.data(), static_cast<int>(file.size()), true);
    Ext()->TranslateFile(&loader);  // stops the same way, within the data
  }
}

// A translator that handed back header after header would run for ever; the
// chain gives up after 256 passes and the file channel keeps its data.
TEST_F(TranslateFileTest, ChainEndsAfterTheLongestNesting) {
  auto nested = [](int depth) {
    std::string file = Content();
    for (int i = 0; i < depth; ++i) file = Header(kXorType) + DoXor(file);
    return file;
  };
  std::string deepest = nested(256);
  TvkFileLoader loader(engine.Get());
  loader.SetBuffer(deepest.data(), static_cast<int>(deepest.size()), true);
  Ext()->TranslateFile(&loader);
  EXPECT_EQ(Remaining(loader), Content());

  engine.sink.Clear();
  const std::string tooDeep = nested(257);
  auto fileChannel = NewFileChannel();
  std::string copy = tooDeep;
  fileChannel->SetBuffer(copy.data(), static_cast<int>(copy.size()), true);
  Ext()->TranslateFile(fileChannel.get());
  EXPECT_EQ(DataOf(*fileChannel), tooDeep);
  EXPECT_TRUE(
      engine.sink.Contains("EngineInterfaceExt::TranslateFile: too many translation headers, stopped after 256"));
}

TEST_F(TranslateFileTest, DataWithoutHeaderIsLeftAsItIs) {
  std::string file = Content();
  TvkFileLoader loader(engine.Get());
  loader.SetBuffer(file.data(), static_cast<int>(file.size()), true);
  loader.AddBufferPos(4);
  Ext()->TranslateFile(&loader);
  EXPECT_EQ(Remaining(loader), Content().substr(4));

  auto fileChannel = NewFileChannel();
  fileChannel->SetBuffer(file.data(), static_cast<int>(file.size()), true);
  Ext()->TranslateFile(fileChannel.get());
  EXPECT_EQ(DataOf(*fileChannel), Content());
  EXPECT_TRUE(Log().empty());
  Ext()->TranslateFile(static_cast<TvkFileLoader*>(nullptr));
  Ext()->TranslateFile(static_cast<Tvo_FileLoaderChannel*>(nullptr));
}

// A file channel that has read on already is translated from where it stands;
// nothing before its read position is read as part of its data.
TEST_F(TranslateFileTest, FileChannelIsTranslatedFromItsReadPosition) {
  std::string file = "SKIP" + Header(kXorType) + DoXor(Content());
  auto fileChannel = NewFileChannel();
  fileChannel->SetBuffer(file.data(), static_cast<int>(file.size()), true);
  fileChannel->AddBufferPos(4);
  Ext()->TranslateFile(fileChannel.get());
  EXPECT_EQ(DataOf(*fileChannel), Content());
}

}  // namespace
}  // namespace translationtest

// A damaged or hostile "channels.lst" never hurts the engine: what can be read
// safely is kept, the rest is cut, and the directory scan rebuilds the list.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ChannelList.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "PluginLoadingSupport.h"

namespace pluginloading {
namespace {

using testsupport::StartedEngine;

const ChannelType kLeafRecord = TestRecord("Leaf", testplugin::kLeafType);
const ListEntry kLeafEntry{kLeafRecord, "Leaf.dll"};

std::string Header(std::int32_t count) { return IntBlock("CHEV", kEngineVersion) + IntBlock("C1CC", count); }

std::string NameBlock(const std::string& name, std::uint32_t size = 260) {
  std::string field(size, '\0');
  std::memcpy(field.data(), name.data(), std::min<std::size_t>(name.size(), size));
  return TagBlock("C1FN", field.data(), size);
}

std::string TypeBlock(const ChannelType& type) { return TagBlock("CHTY", &type, sizeof type); }

ChannelType WithZeroGuid(ChannelType type) {
  type.guid = kZeroGuid;
  return type;
}

ChannelType WithUnterminatedName(ChannelType type) {
  std::memset(type.name, 'N', sizeof type.name);
  return type;
}

struct DamagedList {
  const char* what;
  std::string bytes;
  bool leafKeptFromCache;  // false: Leaf.dll is probed again
};

std::vector<DamagedList> DamagedLists() {
  const std::string leaf = EntryBlocks(kLeafEntry);
  return {
      {"empty file", "", false},
      {"part of a tag", "CHE", false},
      {"version block of two bytes", TagBlock("CHEV", "\x36\x00", 2) + IntBlock("C1CC", 1) + leaf, false},
      {"version size larger than the file", std::string("CHEV\xff\xff\xff\x7f", 8) + "\x36", false},
      {"foreign version", IntBlock("CHEV", 53) + IntBlock("C1CC", 1) + leaf, false},
      {"no count", IntBlock("CHEV", kEngineVersion) + leaf, false},
      {"negative count", Header(-5) + leaf, false},
      {"huge count", Header(0x7FFFFFFF) + leaf, true},
      {"count larger than the entries", Header(3) + leaf, true},
      {"cut inside a later entry", Header(2) + leaf + leaf.substr(0, 60), true},
      {"cut inside the first entry", Header(1) + leaf.substr(0, 60), false},
      {"type block of the wrong size", Header(1) + TagBlock("CHTY", &kLeafRecord, 100) + NameBlock("Leaf.dll"), false},
      {"type size larger than the file", Header(1) + std::string("CHTY\x00\x00\x00\x10", 8) + "xx", false},
      {"name block larger than its field", Header(1) + TypeBlock(kLeafRecord) + NameBlock("Leaf.dll", 300), false},
      {"name without terminator", Header(1) + TypeBlock(kLeafRecord) + NameBlock(std::string(260, 'L')), false},
      {"no type tag", Header(1) + NameBlock("Leaf.dll"), false},
      {"no name tag", Header(1) + TypeBlock(kLeafRecord), false},
      {"tags swapped", Header(1) + NameBlock("Leaf.dll") + TypeBlock(kLeafRecord), false},
      {"zero type GUID", Header(1) + TypeBlock(WithZeroGuid(kLeafRecord)) + NameBlock("Leaf.dll"), false},
      {"relative path in the name", Header(1) + TypeBlock(kLeafRecord) + NameBlock("./Leaf.dll"), false},
      {"path up and back", Header(1) + TypeBlock(kLeafRecord) + NameBlock("..\\channels\\Leaf.dll"), false},
      {"name of the directory itself", Header(1) + TypeBlock(kLeafRecord) + NameBlock("."), false},
      {"the same file twice", Header(2) + leaf + leaf, true},
      {"type name without terminator",
       Header(1) + TypeBlock(WithUnterminatedName(kLeafRecord)) + NameBlock("Leaf.dll"), true},
      {"bytes after the last entry", Header(1) + leaf + "trailing bytes", true},
  };
}

void PrintTo(const DamagedList& list, std::ostream* out) { *out << list.what; }

class DamagedChannelList : public ::testing::TestWithParam<DamagedList> {};

TEST_P(DamagedChannelList, IsCutSafelyAndTheScanRebuildsTheList) {
  PluginInstall install({"Leaf.dll"});
  WriteFile(install.ListFile(), GetParam().bytes);
  ProbeLog log;
  {
    StartedEngine engine(install.Dir());
    std::vector<std::string> files = ListedFiles(engine.Get());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Directory.dll", "Leaf.dll", "tagreader.dll", "tagwriter.dll"}))
        << "every plug-in once";

    ChannelList* list = engine->engineInterfaceExt->GetChannelList();
    ChannelListItem* leaf = list->GetItem(testplugin::kLeafType);
    ASSERT_NE(leaf, nullptr) << "the Leaf type is found";
    EXPECT_STREQ(leaf->fileName, "Leaf.dll");
    for (int i = 0; i < list->GetItemCount(); ++i) {
      EXPECT_NE(std::memchr(list->GetItem(i)->type.name, '\0', sizeof(ChannelType::name)), nullptr);
    }
    EXPECT_EQ(log.Count("load Leaf"), GetParam().leafKeptFromCache ? 0 : 1);
    EXPECT_TRUE(Errors(engine).empty()) << "a damaged cache is passed over without a message";
  }
  const auto written = ReadListFile(install.ListFile());
  ASSERT_TRUE(written) << "the next list file is whole";
  EXPECT_EQ(written->size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(ChannelListFile, DamagedChannelList, ::testing::ValuesIn(DamagedLists()),
                         [](const auto& info) {
                           std::string name = info.param.what;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace pluginloading

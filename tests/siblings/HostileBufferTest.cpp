// Bytes that claim more than they hold. The loader reads them from memory of
// exactly their size, so any read past the end is caught by the sanitizer.

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "SiblingPlugins.h"

namespace siblingtest {
namespace {

struct HostileCase {
  const char* name;
  std::string bytes;
  bool startsWithTag;        // the first four bytes are "CHIX"
  std::uint32_t storedSize;  // what the four bytes after the tag say, 0 when absent
};

std::string WithSize(const char* tag, std::uint32_t size, std::size_t dataBytes) {
  std::string bytes(tag, 4);
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((size >> (8 * i)) & 0xFF));
  bytes.append(dataBytes, 'd');
  return bytes;
}

const HostileCase kCases[] = {
    {"empty buffer", "", false, 0},
    {"three bytes", "CHI", false, 0},
    {"tag only", "CHIX", true, 0},
    {"truncated size", std::string("CHIX\x10\x00", 6), true, 0},
    {"size one past the end", WithSize("CHIX", 5, 4), true, 5},
    {"size far past the end", WithSize("CHIX", 16, 8), true, 16},
    {"huge size", WithSize("CHIX", 0xFFFFFFFFu, 4), true, 0xFFFFFFFFu},
    {"size that overflows a 32-bit end", WithSize("CHIX", 0xFFFFFFF8u, 12), true, 0xFFFFFFF8u},
};

class HostileBuffer : public SiblingTest {
 protected:
  // Exactly the case's bytes on the heap, nothing after them.
  void Load(const HostileCase& c, bool copy) {
    memory_.reset(new char[c.bytes.size()]);
    std::memcpy(memory_.get(), c.bytes.data(), c.bytes.size());
    loader->SetBuffer(memory_.get(), static_cast<int>(c.bytes.size()), copy);
  }

  std::unique_ptr<char[]> memory_;
};

TEST_F(HostileBuffer, NothingIsReadPastTheEndAndNoBlockIsCopied) {
  for (const HostileCase& c : kCases) {
    for (bool copy : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (copy ? ", copied" : ", borrowed"));
      Load(c, copy);
      engine.sink.Clear();
      EXPECT_EQ(loader->GetBufferSize(), static_cast<int>(c.bytes.size()));
      EXPECT_EQ(loader->GotoTag("CHIX", 0), c.startsWithTag);
      loader->ResetPosition();
      ASSERT_EQ(loader->GetInfoIfTag("CHIX"), c.startsWithTag);
      const char* position = loader->GetBuffer();

      EXPECT_EQ(loader->GetSizeDataBlock(false), c.storedSize);
      EXPECT_EQ(loader->GetTagData(), nullptr);
      std::vector<char> destination(64, 'z');
      loader->CopyTagDataToPointer(destination.data());
      EXPECT_EQ(destination, std::vector<char>(64, 'z')) << "a refused block copies nothing";
      EXPECT_EQ(loader->GetBuffer(), position) << "a refused block moves nothing";
      EXPECT_FALSE(engine.sink.TextsOfType(kMessageError).empty()) << "the refusal is reported";

      loader->ResetPosition();
      EXPECT_FALSE(loader->SkipCurrentTag());
      loader->GetSizeDataBlock(true);
      loader->AddBufferPos(0x7FFFFFFF);
      EXPECT_TRUE(loader->GetIfEndOfFile());
      EXPECT_EQ(loader->GetSizeDataBlock(true), 0u);
      EXPECT_FALSE(loader->GetInfoIfTag("CHIX"));
      loader->CopyTagDataToPointer(destination.data());
      EXPECT_EQ(destination, std::vector<char>(64, 'z'));
      loader->GetCRC();
    }
  }
}

TEST_F(HostileBuffer, NegativeSizesAndNullDataLoadNothing) {
  char bytes[8] = "CHIX";
  for (auto [data, size] : {std::pair<char*, int>{bytes, -1}, {nullptr, 8}, {bytes, 0}}) {
    loader->SetBuffer(bytes, 8, true);
    loader->SetBuffer(data, size, true);
    EXPECT_EQ(loader->GetBufferSize(), 0);
    EXPECT_TRUE(loader->GetIfEndOfFile());
    EXPECT_FALSE(loader->GetInfoIfTag("CHIX"));
  }
}

}  // namespace
}  // namespace siblingtest

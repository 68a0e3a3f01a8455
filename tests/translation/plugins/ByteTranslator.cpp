// A translation channel that undoes a byte-wise transform of everything after
// its header. Built twice: TRANSLATOR_NAME "Xor" or "Add".

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "BoundedText.h"
#include "ChannelType.h"
#include "EngineCoreExport.h"
#include "TranslationChannel.h"
#include "TranslationTypes.h"
#include "TvkFile.h"

namespace {

constexpr bool kIsXor = std::string_view(TRANSLATOR_NAME) == "Xor";

void Log(const char* event) {
  const char* path = std::getenv(translationtest::kLogVariable);
  if (!path || !path[0]) return;
  if (FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, "%s %s\n", event, TRANSLATOR_NAME);
    std::fclose(file);
  }
}

class ByteTranslator : public Tvo_TranslationChannel {
 public:
  ByteTranslator() { Log("create"); }
  ~ByteTranslator() override { Log("delete"); }

  // The loader stands after the header; what follows becomes the loader's
  // whole data, read from its start.
  void TranslateData(TvkFileLoader* loader) override {
    Log("translate");
    const int size = loader->GetRemainingSize();
    const char* data = loader->GetBuffer();
    std::vector<char> bytes(data, data + (data ? size : 0));
    for (char& byte : bytes) byte = kIsXor ? translationtest::UndoXor(byte) : translationtest::UndoAdd(byte);
    loader->SetBuffer(bytes.data(), static_cast<int>(bytes.size()), true);
  }
};

ChannelType MakeRecord() {
  ChannelType record;
  CopyText(record.name, TRANSLATOR_NAME " translation", sizeof(record.name) - 1);
  record.guid = kIsXor ? translationtest::kXorType : translationtest::kAddType;
  record.baseGuid = record.guid;
  return record;
}

ChannelType typeRecord = MakeRecord();

}  // namespace

VARNEL_PLUGIN_C_API ChannelType* GetType() { return &typeRecord; }

VARNEL_PLUGIN_C_API DllInterface* InitDLL() { return new ByteTranslator(); }

// Feeds arbitrary bytes to Tvk_ChannelGroup::LoadChannelGroupFromBuffer, with
// an engine started on a real install directory (its file loader and the
// other plug-ins), and saves whatever was loaded again.
//
// The engine library is built by the project's compiler without coverage
// instrumentation, so libFuzzer sees no edges inside it. What it sees instead
// are extra counters set from what a load did: each message it reported and
// the shape of the group it left. Inputs that reach another failure path or
// another kind of group are kept and mutated further.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"
#include "TvkFile.h"
#include "Tvk_ChannelGroup.h"

namespace {

constexpr std::size_t kCounterCount = 4096;
__attribute__((section("__libfuzzer_extra_counters"))) std::uint8_t outcomeCounters[kCounterCount];

void Count(std::uint64_t feature) {
  std::uint8_t& counter = outcomeCounters[(feature * 0x9E3779B97F4A7C15ull >> 40) % kCounterCount];
  if (counter < 255) ++counter;
}

std::uint64_t TextHash(const char* text) {
  std::uint64_t hash = 1469598103934665603ull;
  for (; text != nullptr && *text != '\0'; ++text) hash = (hash ^ static_cast<unsigned char>(*text)) * 1099511628211ull;
  return hash;
}

std::uint64_t Bucket(int value) {
  std::uint64_t bucket = 0;
  for (unsigned v = value < 0 ? 0u : static_cast<unsigned>(value); v != 0; v >>= 1) ++bucket;
  return bucket;
}

// Each message is a feature; the messages themselves are dropped.
class CountingSink : public DebugOutPut {
 public:
  void ShowDebugMessage(DebugMessage* message) override {
    if (message != nullptr)
      Count(TextHash(message->GetDebugMessage()) + static_cast<unsigned>(message->GetMessageType()));
  }
};

EngineInterface* engine = nullptr;
CountingSink countingSink;

// Settings go to a fresh folder, never to the user's.
void UsePrivateSettings() {
  std::random_device random;
  const auto dir = std::filesystem::temp_directory_path() / ("varnel-fuzz-settings-" + std::to_string(random()));
  std::filesystem::create_directories(dir);
  platform::SetEnvironmentValue("VARNEL_SETTINGS_DIR", dir.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  UsePrivateSettings();
  const char* installDir = std::getenv("VARNEL_FUZZ_ENGINE_DIR");
  if (installDir == nullptr || installDir[0] == '\0') installDir = VARNEL_FUZZ_ENGINE_DIR;
  debugOutPut = &countingSink;
  engine = new EngineInterface();
  engine->engineInterfaceExt->SetInstallDir(installDir);
  engine->engineInterfaceExt->SetVarnelRegKey("Software\\Varnel\\Fuzz");
  engine->engineInterfaceExt->InitEngine(nullptr, "Varnel Fuzz");
  globalEngine = engine;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly the input's bytes: reading one byte past it is caught.
  std::vector<char> bytes(data, data + size);
  Tvk_ChannelGroup group(engine);
  const bool loaded = group.LoadChannelGroupFromBuffer("fuzz.cgr", static_cast<int>(bytes.size()), bytes.data(), true);
  int channels = 0;
  for (int i = 0; i < group.GetChannelCount(); ++i) channels += group.GetChannel(i) != nullptr ? 1 : 0;
  Count(1000 + (loaded ? 1 : 0));
  Count(2000 + Bucket(group.GetChannelCount()));
  Count(3000 + Bucket(channels));
  Count(4000 + Bucket(group.GetParameterCount()));
  Count(5000 + (group.GetPoolName() != nullptr ? 1 : 0));
  TvkFileSaver saver(engine);
  saver.OpenMemory();
  group.SaveChannelGroup(saver);
  return 0;
}

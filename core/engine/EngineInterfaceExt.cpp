// The extended API: forwards to the Engine, keeps the debug lines and the
// flags hosts and channels share.

#include "EngineInterfaceExt.h"

#include <cstddef>

#include "BoundedText.h"
#include "Engine.h"
#include "EngineInterface.h"
#include "FileChannels.h"
#include "Guid.h"
#include "Platform.h"
#include "ProjectPackageLoader.h"
#include "TranslationChannel.h"
#include "Tvk_ChannelGroup.h"
#include "TvkFile.h"

namespace {
constexpr int kDebugLineMaxChars = 298;
}

EngineInterfaceExt::EngineInterfaceExt()
    : trackChannelCalling_(false),
      graphRunning_(true),
      projectLoader_(nullptr),
      engineInterface_(nullptr),
      debugStrings_{},
      keepRunningApplication_(false),
      channelPoolManagement_(nullptr),
      initialized_(false) {}

EngineInterfaceExt::~EngineInterfaceExt() { delete projectLoader_; }

// The package loader belongs to the engine it reads packages for.
void EngineInterfaceExt::SetEngineInterface(EngineInterface* engine) {
  engineInterface_ = engine;
  delete projectLoader_;
  projectLoader_ = engine ? new ProjectPackageLoader(engine) : nullptr;
}

Engine* EngineInterfaceExt::GetEngine() const { return engineInterface_ ? engineInterface_->engineImpl_ : nullptr; }

void EngineInterfaceExt::SetInstallDir(const char* dir) {
  if (Engine* engine = GetEngine()) engine->SetInstallDir(dir);
}

void EngineInterfaceExt::ProcessWindowMessage(HWND window, unsigned int message, WPARAM wParam, LPARAM lParam) {
  if (Engine* engine = GetEngine()) engine->ProcessWindowMessage(window, message, wParam, lParam);
}

int EngineInterfaceExt::GetInterfaceID() { return kEngineVersion; }

bool EngineInterfaceExt::InitEngine(HINSTANCE instance, const char* className) {
  Engine* engine = GetEngine();
  if (!engine) return false;
  if (!engine->InitEngine(instance, className)) return false;
  for (auto& line : debugStrings_) line[0] = '\0';
  return true;
}

void EngineInterfaceExt::UpdateChannelTree() {
  if (Engine* engine = GetEngine()) engine->UpdateChannelTree();
}

void EngineInterfaceExt::ReleaseGroups() {
  if (Engine* engine = GetEngine()) engine->ReleaseGroups();
}

void EngineInterfaceExt::CheckPublicChannelRemoval(Tvk_Channel* channel, int poolNr) {
  if (Engine* engine = GetEngine()) engine->CheckPublicChannelRemoval(channel, poolNr);
}

void EngineInterfaceExt::CheckPublicCallChannelRemoval(Tvk_Channel* channel) {
  if (Engine* engine = GetEngine()) engine->CheckPublicCallChannelRemoval(channel);
}

void EngineInterfaceExt::CheckInterfaceChange(const char* poolName, Tvk_Channel* publicChannel) {
  if (Engine* engine = GetEngine()) engine->CheckInterfaceChange(poolName, publicChannel);
}

void EngineInterfaceExt::IncreaseTreeCount() {
  if (Engine* engine = GetEngine()) engine->IncreaseTreeCount();
}

Tvk_Channel* EngineInterfaceExt::GetPublicChannel(PublicCallInfo* info) {
  Engine* engine = GetEngine();
  return engine ? engine->GetPublicChannel(info) : nullptr;
}

bool EngineInterfaceExt::AddChannelRequest(int poolNr, Tvk_Channel* channel) {
  Engine* engine = GetEngine();
  return engine ? engine->AddChannelRequest(poolNr, channel) : false;
}

void EngineInterfaceExt::CheckChannelRequest(Tvk_ChannelGroup* group, int poolNr, Tvk_Channel* channel) {
  if (Engine* engine = GetEngine()) engine->CheckChannelRequest(group, poolNr, channel);
}

DllInterface* EngineInterfaceExt::GetDLLInstance(const char* file) {
  Engine* engine = GetEngine();
  return engine ? engine->GetDLLInstance(file) : nullptr;
}

Tvk_Channel* EngineInterfaceExt::CreateChannelFromDLL(const char* file, Tvk_ChannelGroup* group, bool createChildren) {
  Engine* engine = GetEngine();
  return engine ? engine->CreateChannelFromDLL(file, group, createChildren) : nullptr;
}

void EngineInterfaceExt::SetWindowHandle(HWND window) {
  if (Engine* engine = GetEngine()) engine->SetWindowHandle(window);
}

ChannelList* EngineInterfaceExt::GetChannelList() {
  Engine* engine = GetEngine();
  return engine ? engine->GetChannelList() : nullptr;
}

void EngineInterfaceExt::DebugOut(const char* text, int line) {
  if (line < 0 || line >= kDebugLineCount) return;
  CopyText(debugStrings_[line], text, kDebugLineMaxChars);
}

const char* EngineInterfaceExt::GetDebug(int line) {
  if (line < 0 || line >= kDebugLineCount) return nullptr;
  return debugStrings_[line];
}

void EngineInterfaceExt::KillTread(Tvk_Tread* thread) {
  if (Engine* engine = GetEngine()) engine->KillTread(thread);
}

void EngineInterfaceExt::SetIfTrackChannelCalling(bool track) { trackChannelCalling_ = track; }
void EngineInterfaceExt::SetGraphRunning(bool running) { graphRunning_ = running; }
bool EngineInterfaceExt::GetGraphRunning() { return graphRunning_; }

int EngineInterfaceExt::InitializeVNLFile(const char* path) {
  // Without a package reader no package can be read.
  return projectLoader_ ? projectLoader_->InitializeVNLFile(path) : 1;
}

// An empty name (no package read, or none named) cannot load; the box says so.
Tvk_ChannelGroup* EngineInterfaceExt::GetVNLStartGroup() {
  Engine* engine = GetEngine();
  const char* file = projectLoader_ ? projectLoader_->GetStartGroupFile() : "";
  Tvk_ChannelGroup* group = engine && file[0] ? engine->LoadChannelGroup(file, nullptr) : nullptr;
  if (group) return group;
  char text[400];
  CopyText(text, "Unable to load startup channelgroup : ", 398);
  AppendText(text, file, 398);
  platform::ShowModalMessageBox(nullptr, text, "Varnel Error", platform::MessageBoxIcon::Error,
                                platform::MessageBoxButtons::Ok);
  return nullptr;
}

void EngineInterfaceExt::SetStartGroup(int index) {
  if (Engine* engine = GetEngine()) engine->SetStartGroup(index);
}

int EngineInterfaceExt::GetStartGroup() {
  Engine* engine = GetEngine();
  return engine ? engine->GetStartGroup() : 0;
}

void EngineInterfaceExt::Release() {
  if (Engine* engine = GetEngine()) engine->Release();
}

int EngineInterfaceExt::GetUniqueChannelCount() {
  Engine* engine = GetEngine();
  return engine ? engine->GetUniqueChannelCount() : 0;
}

void EngineInterfaceExt::SetVarnelRegKey(const char* key) {
  if (Engine* engine = GetEngine()) engine->SetVarnelRegKey(key);
}

namespace {

// A translator that hands back its own header would make the chain run for
// ever; no real file nests anywhere near this many.
constexpr int kMaxTranslationPasses = 256;

enum class ChainEnd { kTranslated, kStopped };

// The type a "TRNF" header names: its block must be a whole GUID inside the
// data, or the header names nothing.
bool ReadTranslationType(TvkFileLoader& loader, GUID& type) {
  if (!loader.CheckHeader("TRNF", true) || !loader.GetIfBlockInsideData()) return false;
  if (loader.GetSizeDataBlock(false) != sizeof(GUID)) return false;
  return loader.CopyTagDataToPointer(&type, sizeof(GUID));
}

// Runs the translation channel of every "TRNF" header at the read position,
// in file order. Each one leaves the loader on the next header or on the
// translated content. A header whose channel cannot be made ends the chain.
ChainEnd RunTranslationChain(EngineInterface* engine, TvkFileLoader& loader) {
  for (int pass = 0; loader.CheckHeader("TRNF", false); ++pass) {
    if (pass == kMaxTranslationPasses) {
      engine->showErrorMessage("EngineInterfaceExt::TranslateFile: too many translation headers, stopped after",
                               kMaxTranslationPasses);
      return ChainEnd::kStopped;
    }
    GUID type = kZeroGuid;
    if (!ReadTranslationType(loader, type)) return ChainEnd::kStopped;
    Tvk_Channel* channel = engine->InitChannelFromType(type, nullptr, false);
    if (!channel) return ChainEnd::kStopped;
    // A header may name any installed type; only a translation channel has
    // the operation to call.
    auto* translator = dynamic_cast<Tvo_TranslationChannel*>(channel);
    if (!translator) {
      engine->showErrorMessage("EngineInterfaceExt::TranslateFile: not a translation channel type:",
                               GuidText(type).c_str());
      delete channel;
      return ChainEnd::kStopped;
    }
    translator->TranslateData(&loader);
    delete channel;
  }
  return ChainEnd::kTranslated;
}

// The bytes of a file loader channel from its read position on, measured the
// way TvkFileLoader measures them: its size counts from the start.
int RemainingBytes(Tvo_FileLoaderChannel& channel) {
  const char* current = channel.GetBuffer();
  const int size = channel.GetBufferSize();
  if (!current || size <= 0) return 0;
  channel.ResetPosition();
  const std::ptrdiff_t position = current - channel.GetBuffer();
  if (position < 0 || position > size) return 0;
  channel.AddBufferPos(static_cast<int>(position));
  return size - static_cast<int>(position);
}

}  // namespace

// The file channel's data are translated in a loader of their own and come
// back only when the whole chain ran; otherwise the channel keeps its data.
void EngineInterfaceExt::TranslateFile(Tvo_FileLoaderChannel* fileChannel) {
  if (!fileChannel || !engineInterface_) return;
  const int size = RemainingBytes(*fileChannel);
  if (size <= 0) return;
  TvkFileLoader local(engineInterface_);
  if (!local.HasLoaderChannel()) return;
  local.SetBuffer(const_cast<char*>(fileChannel->GetBuffer()), size, true);
  if (local.GetRemainingSize() != size) return;  // no copy could be made
  if (RunTranslationChain(engineInterface_, local) != ChainEnd::kTranslated) return;
  fileChannel->SetBuffer(const_cast<char*>(local.GetBuffer()), local.GetRemainingSize(), true);
}

void EngineInterfaceExt::TranslateFile(TvkFileLoader* loader) {
  if (!loader || !engineInterface_) return;
  RunTranslationChain(engineInterface_, *loader);
}

bool EngineInterfaceExt::SetRegData(const char* valueName, const char* text) {
  Engine* engine = GetEngine();
  return engine ? engine->SetRegData(valueName, text) : false;
}

bool EngineInterfaceExt::GetRegData(const char* valueName, char* text, int size) {
  Engine* engine = GetEngine();
  return engine ? engine->GetRegData(valueName, text, size) : false;
}

Tvk_Tread* EngineInterfaceExt::GetNewTread() {
  Engine* engine = GetEngine();
  return engine ? engine->GetNewTread() : nullptr;
}

Tvk_Tread* EngineInterfaceExt::GetTreadFromID(int id) {
  Engine* engine = GetEngine();
  return engine ? engine->GetTreadFromID(id) : nullptr;
}

int EngineInterfaceExt::GetCurrentEvent() {
  Engine* engine = GetEngine();
  return engine ? engine->GetCurrentEvent() : -1;
}

bool EngineInterfaceExt::GetIfKeepRunningApplication() { return keepRunningApplication_; }
void EngineInterfaceExt::SetIfKeepRunningApplication(bool keepRunning) { keepRunningApplication_ = keepRunning; }

void EngineInterfaceExt::DoLinkPoolToChannel(Tvk_Channel* channel) {
  if (Engine* engine = GetEngine()) engine->DoLinkPoolToChannel(channel);
}

ChannelPoolManagement* EngineInterfaceExt::GetChannelPoolManagement() { return channelPoolManagement_; }
bool EngineInterfaceExt::GetInitialized() { return initialized_; }
void EngineInterfaceExt::SetInitialized(bool initialized) { initialized_ = initialized; }

ChannelType EngineInterfaceExt::GetDLLType(const char* file) {
  Engine* engine = GetEngine();
  return engine ? engine->GetDLLType(file) : ChannelType();
}

ChannelType EngineInterfaceExt::GetDLLType(HINSTANCE instance) {
  Engine* engine = GetEngine();
  return engine ? engine->GetDLLType(instance) : ChannelType();
}

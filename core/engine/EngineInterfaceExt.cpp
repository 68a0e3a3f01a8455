// The extended API: forwards to the Engine, keeps the debug lines and the
// flags hosts and channels share.

#include "EngineInterfaceExt.h"

#include "BoundedText.h"
#include "Engine.h"
#include "EngineInterface.h"
#include "Platform.h"
#include "Tvk_ChannelGroup.h"

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

EngineInterfaceExt::~EngineInterfaceExt() = default;

void EngineInterfaceExt::SetEngineInterface(EngineInterface* engine) { engineInterface_ = engine; }

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
  return 1;
}

Tvk_ChannelGroup* EngineInterfaceExt::GetVNLStartGroup() {
  Engine* engine = GetEngine();
  const char* file = "";
  Tvk_ChannelGroup* group = engine ? engine->LoadChannelGroup(file, nullptr) : nullptr;
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

void EngineInterfaceExt::TranslateFile(Tvo_FileLoaderChannel* fileChannel) {}

void EngineInterfaceExt::TranslateFile(TvkFileLoader* loader) {}

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

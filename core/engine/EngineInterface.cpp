// The channels' API: almost every operation forwards to the Engine.

#include "EngineInterface.h"

#include "Engine.h"
#include "EngineInterfaceExt.h"
#include "EngineListener.h"

EngineInterface::EngineInterface() : engineInterfaceExt(nullptr), engineImpl_(new Engine()) {
  engineImpl_->SetEngineInterface(this);
  engineInterfaceExt = new EngineInterfaceExt();
  engineInterfaceExt->SetEngineInterface(this);
}

// The Engine must have been released before (EngineInterfaceExt::Release).
EngineInterface::~EngineInterface() {
  delete engineInterfaceExt;
  engineInterfaceExt = nullptr;
  delete engineImpl_;
  engineImpl_ = nullptr;
  listeners_.ReleaseItems();
}

const char* EngineInterface::GetInstallDir() { return engineImpl_->GetInstallDir(); }
const char* EngineInterface::GetEngineClassName() { return engineImpl_->GetEngineClassName(); }
HINSTANCE EngineInterface::GetEngineInstance() { return engineImpl_->GetEngineInstance(); }
HWND EngineInterface::GetWindowHandle() { return engineImpl_->GetWindowHandle(); }
int EngineInterface::GetTreeCalculateCount() { return engineImpl_->GetTreeCalculateCount(); }
void EngineInterface::SetTreeCalculateCount(int count) { engineImpl_->SetTreeCalculateCount(count); }

Tvk_ChannelGroup* EngineInterface::CreateNewGroup(const char* poolName, bool array, int poolNr) {
  return engineImpl_->CreateNewGroup(poolName, array, poolNr);
}
Tvk_ChannelGroup* EngineInterface::GetChannelGroup(const char* fileName, int poolNr) {
  return engineImpl_->GetChannelGroup(fileName, poolNr);
}
Tvk_ChannelGroup* EngineInterface::GetChannelGroup(int index) { return engineImpl_->GetChannelGroup(index); }
Tvk_ChannelGroup* EngineInterface::GetPoolGroup(const char* poolName, int poolNr) {
  return engineImpl_->GetPoolGroup(poolName, poolNr);
}
Tvk_ChannelGroup* EngineInterface::LoadChannelGroup(const char* fileName, const char* poolName) {
  return engineImpl_->LoadChannelGroup(fileName, poolName);
}
int EngineInterface::GetHighInstance(const char* poolName) { return engineImpl_->GetHighInstance(poolName); }
void EngineInterface::DeleteChannelGroup(int index) { engineImpl_->DeleteChannelGroup(index); }
int EngineInterface::GetChannelGroupCount() { return engineImpl_->GetChannelGroupCount(); }

Tvk_Channel* EngineInterface::InitChannelFromType(GUID type, Tvk_ChannelGroup* group, bool createChildren) {
  return engineImpl_->InitChannelFromType(type, group, createChildren);
}
Tvk_Channel* EngineInterface::InitChannelFromType(ChannelType type, Tvk_ChannelGroup* group, bool createChildren) {
  return engineImpl_->InitChannelFromType(type, group, createChildren);
}
Tvk_Channel* EngineInterface::GetUniqueChannel(GUID type, const char* name) {
  ChannelType record;
  record.guid = type;
  return engineImpl_->GetUniqueChannel(record, name);
}
Tvk_Channel* EngineInterface::GetUniqueChannel(ChannelType type, const char* name) {
  return engineImpl_->GetUniqueChannel(type, name);
}

void EngineInterface::AddChannelToEvent(Tvk_Channel* channel, int code) { engineImpl_->AddChannelToEvent(channel, code); }
void EngineInterface::RemoveChannelFromEvent(Tvk_Channel* channel, int code) {
  engineImpl_->RemoveChannelFromEvent(channel, code);
}
bool EngineInterface::GetGraphRunning() { return engineInterfaceExt ? engineInterfaceExt->GetGraphRunning() : false; }

// ---- listeners ----------------------------------------------------------------------

void EngineInterface::AddListener(EngineListener* listener) { listeners_.AddItemOrNULL(listener); }

void EngineInterface::RemoveListener(EngineListener* listener) {
  for (int i = 0; i < listeners_.GetItemCount(); ++i) {
    if (listeners_.GetItem(i) == listener) listeners_.SetItem(nullptr, i);
  }
}

void EngineInterface::AboutToReleaseChannel(Tvk_Channel* channel) {
  for (int i = 0; i < listeners_.GetItemCount(); ++i) {
    if (auto* listener = static_cast<EngineListener*>(listeners_.GetItem(i))) listener->OnAboutToReleaseChannel(channel);
  }
}

// The group object itself: construction, emptying, destruction, and the plain
// bookkeeping a group carries besides its channels.

#include "Tvk_ChannelGroup.h"

#include "ChannelHandles.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "Platform.h"
#include "Tvk_Channel.h"
#include "internal/GroupRecords.h"

Tvk_ChannelGroup::Tvk_ChannelGroup() { Initialise(globalEngine); }

Tvk_ChannelGroup::Tvk_ChannelGroup(EngineInterface* engine) { Initialise(engine); }

void Tvk_ChannelGroup::Initialise(EngineInterface* engine) {
  readOnly_ = false;
  groupIndex_ = -1;
  startChannel_ = 0;
  poolNr_ = -1;
  treeCount_ = -1;
  arrayGroup_ = false;
  releasing_ = false;
  engine_ = engine;
  parentWindow_ = nullptr;
  typeChangeSaveIndex_ = -1;
  typeChangeSaveGuid_ = kZeroGuid;
  uniqueGroupGuid_ = platform::CreateGuid();
  parameterChannel_ = new SmartChannel(engine);
}

// While releasing_ is set the removals skip telling the remaining channels:
// they are all about to go as well.
Tvk_ChannelGroup::~Tvk_ChannelGroup() {
  releasing_ = true;
  Tvk_ChannelGroup::Release();
  delete parameterChannel_;
  parameterChannel_ = nullptr;
}

// Empties the group but keeps its identity; the channel slots stay as holes so
// the count is unchanged.
void Tvk_ChannelGroup::Release() {
  for (int i = 0; i < channels_.GetItemCount(); ++i) RemoveChannel(i);
  parameterChannel_->SetChannel(nullptr);
  startChannel_ = 0;
  group_internal::DeleteRequests(requests_);
  group_internal::DeleteParameterInfos(parameterInfos_);
}

int Tvk_ChannelGroup::GetGroupIndex() { return groupIndex_; }
void Tvk_ChannelGroup::SetGroupIndex(int index) { groupIndex_ = index; }

const char* Tvk_ChannelGroup::GetChannelGroupFileName() { return fileName_.GetString(); }
void Tvk_ChannelGroup::SetChannelGroupFileName(const char* fileName) { fileName_.SetString(fileName); }

int Tvk_ChannelGroup::GetPoolNr() { return poolNr_; }
void Tvk_ChannelGroup::SetPoolNr(int nr) { poolNr_ = nr; }
const char* Tvk_ChannelGroup::GetPoolName() { return poolName_.GetString(); }
void Tvk_ChannelGroup::SetPoolName(const char* name) { poolName_.SetString(name); }

GUID Tvk_ChannelGroup::GetUniqueGroupGuid() { return uniqueGroupGuid_; }

bool Tvk_ChannelGroup::GetIfArrayGroup() { return arrayGroup_; }
void Tvk_ChannelGroup::SetIfArrayGroup(bool array) { arrayGroup_ = array; }
bool Tvk_ChannelGroup::GetReadOnly() { return readOnly_; }
void Tvk_ChannelGroup::SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

// Dialogs of this group's channels fall back to the host's window.
HWND Tvk_ChannelGroup::GetParentWindow() {
  if (parentWindow_ != nullptr) return parentWindow_;
  return engine_ != nullptr ? engine_->GetWindowHandle() : nullptr;
}
void Tvk_ChannelGroup::SetParentWindow(HWND window) { parentWindow_ = window; }

// ---- calculation passes ------------------------------------------------------

void Tvk_ChannelGroup::IncreaseTreeCount() {
  treeCount_ = treeCount_ >= kGroupTreeCountWrap ? 0 : treeCount_ + 1;
}

void Tvk_ChannelGroup::SetStartChannel(int index) { startChannel_ = index; }
int Tvk_ChannelGroup::GetStartChannel() { return startChannel_; }

// Every call is a new pass for the group's channels, even when the start slot
// is empty.
void Tvk_ChannelGroup::CallStartChannel() {
  IncreaseTreeCount();
  int index = startChannel_ == -1 ? 0 : startChannel_;
  if (Tvk_Channel* start = GetChannel(index)) start->CallChannel();
}

// ---- saving one channel under another type -----------------------------------

void Tvk_ChannelGroup::SetChannelTypeChangeSave(int index, GUID type) {
  typeChangeSaveIndex_ = index;
  typeChangeSaveGuid_ = type;
  if (engine_ != nullptr) engine_->showMessageBox("SetChannelTypeChangeSave", index);
}

int Tvk_ChannelGroup::GetChannelTypeChangeSave(GUID* type) {
  if (type != nullptr) *type = typeChangeSaveGuid_;
  return typeChangeSaveIndex_;
}

// The group's parameter interface: named, typed slots through which a caller
// hands channels into the group, and the parameter channel (the caller's
// public call) that supplies them during a call.

#include "BoundedText.h"
#include "ChannelHandles.h"
#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "internal/GroupRecords.h"

namespace {

ParameterInterfaceInfo EmptyParameterInfo() {
  ParameterInterfaceInfo info{};
  info.typeGuid = kZeroGuid;
  return info;
}

// Names come from callers and files; they are cut, never trusted to be
// terminated within their 40 bytes.
void CopyParameterInfo(ParameterInterfaceInfo& dest, const ParameterInterfaceInfo& source) {
  dest.typeGuid = source.typeGuid;
  CopyText(dest.name, source.name, kParameterNameMaxChars);
}

}  // namespace

void group_internal::DeleteParameterInfos(Tvk_List& parameterInfos) {
  for (int i = 0; i < parameterInfos.GetItemCount(); ++i) {
    delete static_cast<ParameterInterfaceInfo*>(parameterInfos.GetItem(i));
    parameterInfos.SetItem(nullptr, i);
  }
  parameterInfos.ReleaseItems();
}

void Tvk_ChannelGroup::SetParameterChannel(Tvk_Channel* channel) { parameterChannel_->SetChannel(channel); }

// The argument is whatever the caller linked at the public call's position for
// this parameter; the handle notices a parameter channel that was deleted.
Tvk_Channel* Tvk_ChannelGroup::GetParameterChannel(int parameterNr) {
  Tvk_Channel* caller = parameterChannel_->GetInternalChannel();
  if (caller == nullptr) return nullptr;
  return caller->GetChild(channelInternal.TranslateGroupInterfaceNr(caller, parameterNr));
}

int Tvk_ChannelGroup::GetParameterCount() { return parameterInfos_.GetItemCount(); }

ParameterInterfaceInfo Tvk_ChannelGroup::GetParameterInfo(int index) {
  ParameterInterfaceInfo result = EmptyParameterInfo();
  if (auto* entry = static_cast<ParameterInterfaceInfo*>(parameterInfos_.GetItem(index))) {
    CopyParameterInfo(result, *entry);
  }
  return result;
}

void Tvk_ChannelGroup::SetParameterInfo(ParameterInterfaceInfo info, int index) {
  if (index < 0) return;
  auto* entry = static_cast<ParameterInterfaceInfo*>(parameterInfos_.GetItem(index));
  bool created = entry == nullptr;
  if (created) entry = new ParameterInterfaceInfo(EmptyParameterInfo());
  CopyParameterInfo(*entry, info);
  parameterInfos_.SetItem(entry, index);
  // The list leaves the entry out when it cannot grow.
  if (created && parameterInfos_.GetItem(index) != entry) delete entry;
}

int Tvk_ChannelGroup::AddParameterInfo(ParameterInterfaceInfo info) {
  for (int i = 0; i < parameterInfos_.GetItemCount(); ++i) {
    if (parameterInfos_.GetItem(i) == nullptr) {
      SetParameterInfo(info, i);
      return i;
    }
  }
  auto* entry = new ParameterInterfaceInfo(EmptyParameterInfo());
  CopyParameterInfo(*entry, info);
  int index = parameterInfos_.AddItem(entry);
  if (parameterInfos_.GetItem(index) != entry) {
    delete entry;
    return -1;
  }
  return index;
}

// Public calls into this pool built their link positions from the old
// interface; the engine has every group re-check them.
void Tvk_ChannelGroup::RemoveParameterInfo(int index) {
  int count = parameterInfos_.GetItemCount();
  if (index < 0 || index >= count) return;
  delete static_cast<ParameterInterfaceInfo*>(parameterInfos_.GetItem(index));
  if (index == count - 1) {
    parameterInfos_.RemoveItem(index);
  } else {
    parameterInfos_.SetItem(nullptr, index);
  }
  if (engine_ != nullptr && engine_->engineInterfaceExt != nullptr) {
    engine_->engineInterfaceExt->CheckInterfaceChange(poolName_.GetString(), nullptr);
  }
}

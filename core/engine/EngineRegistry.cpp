// The registry of loaded groups: indices, pool names and pool numbers.

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "DynamicGroupLoader.h"
#include "Engine.h"
#include "EngineInterface.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace {

bool HasText(const char* text) { return text && text[0] != '\0'; }

}  // namespace

// The pool-name scans of the registry count a group as a namesake only when the
// first characters are identical: "Cars" and "cars" are different pools there.
bool Engine::SamePoolName(Tvk_ChannelGroup* group, const char* poolName) const {
  return group && poolName && group->GetPoolName() && TextEqualsSameFirstChar(group->GetPoolName(), poolName);
}

int Engine::AddGroup(Tvk_ChannelGroup* group) {
  int index = groups_.AddItemOrNULL(group);
  group->SetGroupIndex(index);
  return index;
}

Tvk_ChannelGroup* Engine::GetChannelGroup(int index) {
  return static_cast<Tvk_ChannelGroup*>(groups_.GetItem(index));
}

int Engine::GetChannelGroupCount() { return groups_.GetItemCount(); }

void Engine::DeleteChannelGroup(int index) {
  Tvk_ChannelGroup* group = GetChannelGroup(index);
  if (!group) return;
  // The slot is emptied first, so nothing reached while the group goes finds it.
  groups_.SetItem(nullptr, index);
  delete group;
}

Tvk_ChannelGroup* Engine::GetChannelGroup(const char* fileName, int poolNr) {
  if (!fileName) return nullptr;
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    Tvk_ChannelGroup* group = GetChannelGroup(i);
    if (group && group->GetPoolNr() == poolNr && TextEqualsIgnoreCase(group->GetChannelGroupFileName(), fileName)) {
      return group;
    }
  }
  return nullptr;
}

Tvk_ChannelGroup* Engine::GetPoolGroup(const char* poolName, int poolNr) {
  if (!poolName) return nullptr;
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    Tvk_ChannelGroup* group = GetChannelGroup(i);
    if (group && group->GetPoolNr() == poolNr && TextEqualsIgnoreCase(group->GetPoolName(), poolName)) return group;
  }
  return nullptr;
}

int Engine::GetHighInstance(const char* poolName) {
  if (!poolName) return 0;
  int high = -1;
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    Tvk_ChannelGroup* group = GetChannelGroup(i);
    if (SamePoolName(group, poolName) && group->GetPoolNr() > high) high = group->GetPoolNr();
  }
  return high;
}

Tvk_ChannelGroup* Engine::CreateNewGroup(const char* poolName, bool array, int poolNr) {
  if (!HasText(poolName)) return nullptr;

  int n = poolNr;
  if (poolNr == -1) {
    n = GetHighInstance(poolName) + 1;
  } else if (poolNr == -2) {
    n = -1;
    for (int i = 0; i < groups_.GetItemCount(); ++i) {
      if (!GetChannelGroup(i)) {
        n = i;
        break;
      }
    }
    if (n == -1) n = GetHighInstance(poolName) + 1;
  } else if (Tvk_ChannelGroup* replaced = GetPoolGroup(poolName, n)) {
    DeleteChannelGroup(replaced->GetGroupIndex());
  }

  if (!array && n > 0) {
    engineInterface_->showErrorMessage("Engine::CreateNewGroup non array group created with same name");
    return nullptr;
  }
  if (array && n > 0) {
    Tvk_ChannelGroup* first = GetChannelGroup(poolName, 0);
    if (first && !first->GetIfArrayGroup()) {
      engineInterface_->showErrorMessage("Engine::CreateNewGroup wanted to create an array of a non array group!");
      return nullptr;
    }
  }

  auto* group = new Tvk_ChannelGroup(engineInterface_);
  group->SetPoolNr(n);
  group->SetPoolName(poolName);
  group->SetIfArrayGroup(array);
  AddGroup(group);
  return group;
}

Tvk_ChannelGroup* Engine::LoadChannelGroup(const char* fileName, const char* poolName) {
  if (!initialized_) return nullptr;

  if (poolName) {
    // With a pool name, a file loads only under a pool no registered group uses.
    int next = 0;
    for (int i = 0; i < groups_.GetItemCount(); ++i) {
      Tvk_ChannelGroup* group = GetChannelGroup(i);
      if (!SamePoolName(group, poolName)) continue;
      if (group->GetPoolNr() == -1) return nullptr;
      if (group->GetPoolNr() >= next) {
        if (!group->GetIfArrayGroup()) {
          engineInterface_->showErrorMessage(
              "Engine::LoadChannelGroup wanted to load a channel group in a non array pool");
          return nullptr;
        }
        next = group->GetPoolNr() + 1;
      }
    }
    if (next > 0) {
      engineInterface_->showUserErrorMessage("Channel group name already exists can't create group called:", poolName);
      engineInterface_->showErrorMessage("Arrays can only be made trough CreateGroup (Array_LoadGroup)");
      return nullptr;
    }
  }

  auto* group = new Tvk_ChannelGroup(engineInterface_);
  int index = AddGroup(group);
  bool asPoolInstance = poolName == nullptr;
  if (poolName) group->SetPoolName(poolName);

  if (!group->LoadChannelGroupFromFile(fileName, asPoolInstance)) {
    DeleteChannelGroup(index);
    engineInterface_->showErrorMessage("Engine::LoadChannelGroup: Error loading channel group");
    return nullptr;
  }

  if (poolName) {
    group->SetPoolName(poolName);
    group->SetPoolNr(0);
    group->CheckPublicChannels();
    return group;
  }
  if (group->GetPoolNr() == 0) {
    group->CheckPublicChannels();
    return group;
  }
  engineInterface_->showUserErrorMessage("Channel group name already exists can't create group called:",
                                         group->GetPoolName());
  DeleteChannelGroup(index);
  engineInterface_->showErrorMessage("Arrays can only be made trough CreateGroup (Array_LoadGroup)");
  return nullptr;
}

void Engine::CancelDynamicGroupLoads() {
  Tvk_Channel* loader = GetUniqueChannel(kDynamicGroupLoaderType, nullptr);
  if (loader) static_cast<Tvo_DynamicGroupLoader*>(loader)->CancelPendingLoads();
}

void Engine::DeleteAllRequests() {
  for (int i = 0; i < channelRequests_.GetItemCount(); ++i) {
    delete static_cast<PublicChannelRequest*>(channelRequests_.GetItem(i));
  }
  channelRequests_.ClearItems();
}

void Engine::ReleaseGroups() {
  CancelDynamicGroupLoads();
  DeleteAllRequests();
  for (int i = 0; i < groups_.GetItemCount(); ++i) DeleteChannelGroup(i);
  groups_.ClearItems();
}

// ---- public channels across groups ------------------------------------------------

void Engine::CheckPublicChannelRemoval(Tvk_Channel* channel, int poolNr) {
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    if (Tvk_ChannelGroup* group = GetChannelGroup(i)) group->CheckPublicChannelRemoval(channel, poolNr);
  }
}

void Engine::CheckPublicCallChannelRemoval(Tvk_Channel* channel) {
  for (int i = 0; i < channelRequests_.GetItemCount(); ++i) {
    auto* request = static_cast<PublicChannelRequest*>(channelRequests_.GetItem(i));
    if (request && request->channel == channel) {
      delete request;
      channelRequests_.SetItem(nullptr, i);
    }
  }
}

void Engine::CheckInterfaceChange(const char* poolName, Tvk_Channel* publicChannel) {
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    if (Tvk_ChannelGroup* group = GetChannelGroup(i)) group->CheckInterfaceChange(poolName, publicChannel);
  }
}

Tvk_Channel* Engine::GetPublicChannel(PublicCallInfo* info) {
  if (!info) return nullptr;
  for (int i = 0; i < groups_.GetItemCount(); ++i) {
    Tvk_ChannelGroup* group = GetChannelGroup(i);
    if (!group || group->GetPoolNr() != info->requestedPublicChannelNr) continue;
    if (Tvk_Channel* found = group->GetPublicChannel(info)) return found;
  }
  return nullptr;
}

bool Engine::AddChannelRequest(int poolNr, Tvk_Channel* channel) {
  channelRequests_.AddItemOrNULL(new PublicChannelRequest{channel, poolNr});
  return true;
}

void Engine::CheckChannelRequest(Tvk_ChannelGroup* group, int poolNr, Tvk_Channel* channel) {
  if (!group || !channel) return;
  for (int i = 0; i < channelRequests_.GetItemCount(); ++i) {
    auto* request = static_cast<PublicChannelRequest*>(channelRequests_.GetItem(i));
    if (!request || request->key != poolNr) continue;
    if (channelInternal.CheckPublicChannelRequest(request->channel, channel, poolNr, group->GetPoolName())) {
      delete request;
      channelRequests_.SetItem(nullptr, i);
    }
  }
}

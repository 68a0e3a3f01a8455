// The channel's side of channel pools: the pools it was added to and, for a
// pool user, the pool paths it forwards to with the pool channels found there.
// The engine-wide pool registry owns the pools themselves.

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "ChannelPools.h"
#include "Tvk_Channel.h"
#include "Tvk_String.h"
#include "internal/PoolRecords.h"

namespace {

Tvk_String* NameAt(const Tvk_List& names, int index) { return static_cast<Tvk_String*>(names.GetItem(index)); }

int FindName(const Tvk_List& names, const char* path) {
  for (int i = 0; i < names.GetItemCount(); ++i) {
    const Tvk_String* name = NameAt(names, i);
    if (name && TextEqualsIgnoreCase(name->GetString(), path)) return i;
  }
  return -1;
}

void AddName(Tvk_List& names, const char* path) {
  Tvk_String* name = new Tvk_String;
  name->SetString(path);
  names.AddItem(name);
}

bool RemoveName(Tvk_List& names, const char* path) {
  const int index = FindName(names, path);
  if (index < 0) return false;
  delete NameAt(names, index);
  names.RemoveItem(index);
  return true;
}

void DeleteNames(Tvk_List& names) {
  for (int i = 0; i < names.GetItemCount(); ++i) delete NameAt(names, i);
  names.ReleaseItems();
}

void DeleteItems(Tvk_List& items) {
  for (int i = 0; i < items.GetItemCount(); ++i) delete static_cast<ChannelPoolItemInfo*>(items.GetItem(i));
  items.ReleaseItems();
}

// Pool channels share the pool user's interface: their base type, or their own
// type, is the user's base type.
bool IsPoolChannelFor(Tvk_Channel* member, Tvk_Channel* user) {
  const ChannelType memberType = member->GetChannelType();
  const GUID userBase = user->GetChannelType().baseGuid;
  return memberType.baseGuid == userBase || memberType.guid == userBase;
}

}  // namespace

namespace pool_records {

// `poolNames` is already detached from the channel, so the registry's release
// (which drops the name from the channel's own list) cannot pull names out from
// under this walk. ChannelPoolManagement is not declared to the channel model
// yet: once it is, each name is first released with the registry's
// ReleasePoolItem(name, channel), guarded by GetChannelPoolManagement() being
// set. Until then no pool can hold the channel, so only the names are freed.
void ReleaseMemberships(EngineInterface*, Tvk_Channel*, Tvk_List* poolNames) {
  if (!poolNames) return;
  DeleteNames(*poolNames);
  delete poolNames;
}

void DeletePoolInfo(ChannelPoolInfo* info) {
  if (!info) return;
  DeleteNames(info->poolNames);
  DeleteItems(info->items);
  delete info;
}

}  // namespace pool_records

// Pool channels come with the pool registry; until then no channel has any.
int Tvk_Channel::GetPoolChannelCount() { return 0; }

Tvk_Channel* Tvk_Channel::GetPoolChannel(int) { return nullptr; }

void Tvk_Channel::LinkPoolToChannel() {}

void ChannelInternal::AddChannelToPool(Tvk_Channel* channel, char* path) {
  if (!channel || !path) return;
  if (!channel->poolNames_) channel->poolNames_ = new Tvk_List;
  if (FindName(*channel->poolNames_, path) < 0) AddName(*channel->poolNames_, path);
}

void ChannelInternal::RemoveChannelFromPool(Tvk_Channel* channel, char* path) {
  if (channel && path && channel->poolNames_) RemoveName(*channel->poolNames_, path);
}

// Any change of the paths makes the pool channels be looked up again.
void ChannelInternal::AddPoolToChannel(Tvk_Channel* channel, char* path) {
  if (!channel || !path) return;
  if (!channel->channelPoolInfo_) channel->channelPoolInfo_ = new ChannelPoolInfo;
  ChannelPoolInfo& info = *channel->channelPoolInfo_;
  if (FindName(info.poolNames, path) < 0) AddName(info.poolNames, path);
  info.timeStamp = 0;
}

void ChannelInternal::RemovePoolFromChannel(Tvk_Channel* channel, char* path) {
  if (!channel || !path || !channel->channelPoolInfo_) return;
  RemoveName(channel->channelPoolInfo_->poolNames, path);
  channel->channelPoolInfo_->timeStamp = 0;
}

ChannelPoolInfo* ChannelInternal::GetChannelPoolInfo(Tvk_Channel* channel) {
  return channel ? channel->channelPoolInfo_ : nullptr;
}

// Appends the compatible members of the pool and of every pool inside it.
void ChannelInternal::AddChannelsFromPoolToPoolInfo(Tvk_Channel* channel, PoolItem* pool) {
  if (!channel || !pool || !channel->channelPoolInfo_) return;
  for (int j = 0; j < pool->channels.GetItemCount(); ++j) {
    Tvk_Channel* member = static_cast<Tvk_Channel*>(pool->channels.GetItem(j));
    if (!member || !IsPoolChannelFor(member, channel)) continue;
    channel->channelPoolInfo_->items.AddItem(new ChannelPoolItemInfo{pool->index, j});
  }
  for (int k = 0; k < pool->subPoolItems.GetItemCount(); ++k)
    AddChannelsFromPoolToPoolInfo(channel, static_cast<PoolItem*>(pool->subPoolItems.GetItem(k)));
}

// The items are found again in the registry's pools by path; without a registry
// there are none.
void ChannelInternal::RecalculateChannelPoolInfo(Tvk_Channel* channel) {
  if (!channel || !channel->channelPoolInfo_) return;
  DeleteItems(channel->channelPoolInfo_->items);
}

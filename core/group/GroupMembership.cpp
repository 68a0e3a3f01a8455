// Which channels a group holds and under which index. Indices are the
// channels' identity inside the group (links are saved as indices), so a
// removal leaves a hole instead of moving the later channels.

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "internal/GroupRecords.h"

namespace {

int FindSlot(const Tvk_List& channels, const Tvk_Channel* channel) {
  if (channel == nullptr) return -1;
  for (int i = 0; i < channels.GetItemCount(); ++i) {
    if (channels.GetItem(i) == channel) return i;
  }
  return -1;
}

}  // namespace

int Tvk_ChannelGroup::AddChannel(Tvk_Channel* channel) {
  if (channel == nullptr) return -1;
  int existing = FindSlot(channels_, channel);
  if (existing != -1) return existing;
  int index = channels_.AddItemOrNULL(channel);
  // The list leaves the item out when it cannot grow; the channel then stays
  // with its caller.
  if (channels_.GetItem(index) != channel) return -1;
  channelInternal.SetChannelIDIndexNr(channel, index);
  channelInternal.SetChannelGroup(channel, this);
  return index;
}

bool Tvk_ChannelGroup::RemoveChannel(Tvk_Channel* channel) {
  int index = FindSlot(channels_, channel);
  return index != -1 && RemoveChannel(index);
}

// The engine hears about public channels and public calls, every channel of
// the group (the removed one included) drops its links to this index, and only
// then is the channel deleted.
bool Tvk_ChannelGroup::RemoveChannel(int index) {
  auto* channel = static_cast<Tvk_Channel*>(channels_.GetItem(index));
  if (channel == nullptr) return false;

  EngineInterfaceExt* ext = engine_ != nullptr ? engine_->engineInterfaceExt : nullptr;
  int type = channel->GetChannelInterfaceType();
  if (ext != nullptr && group_internal::IsPublicInterfaceType(type)) {
    ext->CheckPublicChannelRemoval(channel, poolNr_);
  } else if (ext != nullptr && type == TVO_PUBLICCALL) {
    ext->CheckPublicCallChannelRemoval(channel);
  }

  if (!releasing_) {
    for (int i = 0; i < channels_.GetItemCount(); ++i) {
      if (auto* other = static_cast<Tvk_Channel*>(channels_.GetItem(i))) other->CheckIndexNrRemoval(index);
    }
  }

  // A notified channel may itself have removed this one meanwhile.
  if (channels_.GetItem(index) != channel) return true;
  group_internal::DropRequestsOf(requests_, channel);
  // The slot is a hole before the destructor runs, so nothing that looks the
  // channel up by index finds a half-destroyed object.
  channels_.SetItem(nullptr, index);
  delete channel;
  return true;
}

// Moves a channel to another group without telling anyone: the channel gets
// its new index and group there and leaves a hole here.
bool Tvk_ChannelGroup::TransferChannel(int index, Tvk_ChannelGroup* target) {
  auto* channel = static_cast<Tvk_Channel*>(channels_.GetItem(index));
  if (channel == nullptr || target == nullptr) return false;
  // Already where it is asked to go; making a hole would lose it.
  if (target == this) return true;
  if (target->AddChannel(channel) == -1) return false;
  channels_.SetItem(nullptr, index);
  return true;
}

int Tvk_ChannelGroup::GetChannelCount() { return channels_.GetItemCount(); }

Tvk_Channel* Tvk_ChannelGroup::GetChannel(int index) { return static_cast<Tvk_Channel*>(channels_.GetItem(index)); }

Tvk_Channel* Tvk_ChannelGroup::GetChannel(const char* name) {
  if (name == nullptr) return nullptr;
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    auto* channel = static_cast<Tvk_Channel*>(channels_.GetItem(i));
    if (channel != nullptr && TextEqualsIgnoreCase(channel->GetChannelName(), name)) return channel;
  }
  return nullptr;
}

// A raw slot store for the loader: neither the channel's index nor its group
// is touched.
void Tvk_ChannelGroup::SetChannel(Tvk_Channel* channel, int index) { channels_.SetItem(channel, index); }

bool Tvk_ChannelGroup::GetIfChannelInGroup(Tvk_Channel* channel) { return FindSlot(channels_, channel) != -1; }

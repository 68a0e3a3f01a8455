// The group's side of public channels and public calls: answering searches
// by name, offering its public channels to outstanding requests, and passing
// removals and interface changes on to its public calls.

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "PublicCallInfo.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "internal/GroupRecords.h"

namespace {

using group_internal::IsPublicChannel;
using group_internal::kPublicNameCompareChars;

// Both names taken to at most 79 characters, compared ignoring case.
bool PublicNamesEqual(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return false;
  char left[kPublicNameCompareChars + 1];
  char right[kPublicNameCompareChars + 1];
  CopyText(left, a, kPublicNameCompareChars);
  CopyText(right, b, kPublicNameCompareChars);
  return TextEqualsIgnoreCase(left, right);
}

}  // namespace

Tvk_Channel* Tvk_ChannelGroup::GetPublicChannel(PublicCallInfo* info) {
  if (info == nullptr || poolNr_ != info->requestedPublicChannelNr) return nullptr;
  // The record's texts fill fixed fields; read them bounded.
  char poolName[sizeof(info->poolName)];
  char channelName[sizeof(info->channelName)];
  CopyText(poolName, info->poolName, sizeof(poolName) - 1);
  CopyText(channelName, info->channelName, sizeof(channelName) - 1);
  if (!TextEqualsIgnoreCase(poolName_.GetString(), poolName)) return nullptr;
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    auto* channel = static_cast<Tvk_Channel*>(channels_.GetItem(i));
    if (IsPublicChannel(channel) && PublicNamesEqual(channel->GetChannelName(), channelName)) return channel;
  }
  return nullptr;
}

void Tvk_ChannelGroup::CheckPublicChannels() {
  EngineInterfaceExt* ext = engine_ != nullptr ? engine_->engineInterfaceExt : nullptr;
  if (ext == nullptr) return;
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    auto* channel = static_cast<Tvk_Channel*>(channels_.GetItem(i));
    if (IsPublicChannel(channel)) ext->CheckChannelRequest(this, poolNr_, channel);
  }
}

void Tvk_ChannelGroup::CheckPublicChannelRemoval(Tvk_Channel* removed, int nr) {
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    if (auto* channel = static_cast<Tvk_Channel*>(channels_.GetItem(i))) {
      channelInternal.CheckPublicChannelInstanceRemoval(channel, removed, nr);
    }
  }
}

bool Tvk_ChannelGroup::CheckDuplicatePublicChannelName(Tvk_Channel* channel) {
  if (channel == nullptr || channel->GetChannelName() == nullptr) return false;
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    auto* other = static_cast<Tvk_Channel*>(channels_.GetItem(i));
    if (other == channel || !IsPublicChannel(other)) continue;
    if (TextEqualsIgnoreCase(other->GetChannelName(), channel->GetChannelName())) return true;
  }
  return false;
}

// Public calls into the changed pool throw their link positions away; they
// are rebuilt on demand from the new interface. With a public channel named,
// only the calls that resolve to it are affected.
void Tvk_ChannelGroup::CheckInterfaceChange(const char* poolName, Tvk_Channel* publicChannel) {
  if (poolName == nullptr) return;
  for (int i = 0; i < channels_.GetItemCount(); ++i) {
    auto* channel = static_cast<Tvk_Channel*>(channels_.GetItem(i));
    if (channel == nullptr || channel->GetChannelInterfaceType() != TVO_PUBLICCALL) continue;
    PublicCallInfo info = channelInternal.GetPublicCallInfo(channel);
    if (!TextEqualsIgnoreCase(info.poolName, poolName)) continue;
    if (publicChannel != nullptr && channelInternal.GetPublicChannelForPublicCall(channel, false) != publicChannel) {
      continue;
    }
    channel->SetChildCreationCount(0);
    channel->RemoveChildren();
  }
}

// Handles that notice deletion by looking the channel up again by its group's
// registry index and its index number: they validate positions, not identities.

#include "ChannelHandles.h"

#include "ChannelInternal.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

namespace {

Tvk_Channel* ChannelAtPosition(EngineInterface* engine, int groupIndex, int indexNr) {
  Tvk_ChannelGroup* group = engine->GetChannelGroup(groupIndex);
  return group ? group->GetChannel(indexNr) : nullptr;
}

}  // namespace

void GChannel::SetChannel(Tvk_Channel* channel) {
  groupIndex_ = -1;
  channelIndexNr_ = -1;
  channel_ = nullptr;
  engine_ = nullptr;
  if (!channel || !channel->GetChannelGroup()) return;
  groupIndex_ = channel->GetChannelGroup()->GetGroupIndex();
  channelIndexNr_ = channel->GetChannelIDIndexNr();
  channel_ = channel;
  engine_ = channel->GetEngineInterface();
}

Tvk_Channel* GChannel::GetChannel() {
  if (groupIndex_ == -1 || channelIndexNr_ == -1 || !engine_) return nullptr;
  Tvk_Channel* found = ChannelAtPosition(engine_, groupIndex_, channelIndexNr_);
  return found == channel_ ? channel_ : nullptr;
}

SmartChannel::SmartChannel() : SmartChannel(globalEngine) {}

SmartChannel::SmartChannel(EngineInterface* engine)
    : groupIndex_(-1), channelIndexNr_(-1), channel_(nullptr), engine_(engine) {}

SmartChannel::~SmartChannel() { channel_ = nullptr; }

// A channel without a group is kept, unchecked, with no group index.
bool SmartChannel::SetChannel(Tvk_Channel* channel) {
  channel_ = nullptr;
  groupIndex_ = -1;
  if (!channel) return false;
  channel_ = channel;
  Tvk_ChannelGroup* group = channel->GetChannelGroup();
  if (!group) return false;
  groupIndex_ = group->GetGroupIndex();
  channelIndexNr_ = channel->GetChannelIDIndexNr();
  return true;
}

Tvk_Channel* SmartChannel::GetInternalChannel() {
  if (!channel_) return nullptr;
  if (!engine_) engine_ = globalEngine;
  if (!engine_) return nullptr;
  Tvk_ChannelGroup* group = engine_->GetChannelGroup(groupIndex_);
  if (!group) return groupIndex_ == -1 ? channel_ : nullptr;
  return group->GetChannel(channelIndexNr_) == channel_ ? channel_ : nullptr;
}

// The channel the handle stands for, resolved by its interface type.
Tvk_Channel* SmartChannel::GetChannel() {
  Tvk_Channel* channel = GetInternalChannel();
  if (!channel) return nullptr;
  switch (channel->GetChannelInterfaceType()) {
    case TVO_PRIVATE:
    case TVO_PUBLIC:
      return channel;
    case TVO_PUBLICCALL:
      return channelInternal.GetPublicChannelForPublicCall(channel, false);
    case TVO_CUSTOMCHANNELGET:
    case TVO_PUBLICCUSTOMCHANNELGET:
      return channel->GetChannelFromChannel(nullptr, nullptr);
    default:
      return nullptr;  // parameters stand for nothing outside a call
  }
}

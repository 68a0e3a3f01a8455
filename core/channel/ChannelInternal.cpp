// The one exported ChannelInternal and its operations on a channel's identity,
// calculation passes, calling times and parameter record. Every operation
// accepts a null channel and then answers false, 0 or null, or does nothing.

#include "ChannelInternal.h"

#include "Platform.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"

ENGINECORE_API ChannelInternal channelInternal;

ChannelInternal::~ChannelInternal() = default;

void ChannelInternal::SetChannelIDIndexNr(Tvk_Channel* channel, int indexNr) {
  if (channel) channel->channelIDIndexNr_ = indexNr;
}

void ChannelInternal::SetChannelGroup(Tvk_Channel* channel, Tvk_ChannelGroup* group) {
  if (channel) channel->channelGroup_ = group;
}

bool ChannelInternal::GetIgnoreTreeCount(Tvk_Channel* channel) { return channel && channel->ignoreTreeCount_; }

void ChannelInternal::SetIgnoreTreeCount(Tvk_Channel* channel, bool ignore) {
  if (channel) channel->ignoreTreeCount_ = ignore;
}

void ChannelInternal::SetTreeCountMode(Tvk_Channel* channel, std::uint8_t mode) {
  if (channel) channel->treeCountMode_ = mode;
}

std::uint8_t ChannelInternal::GetTreeCountMode(Tvk_Channel* channel) { return channel ? channel->treeCountMode_ : 0; }

std::uint8_t ChannelInternal::GetTreeRecalculateCount(Tvk_Channel* channel) {
  return channel ? channel->treeRecalculateCount_ : 0;
}

// Only channels of groups registered with the engine record when they were
// reached, so a host can show what ran recently.
void ChannelInternal::UpdateCallingTime(Tvk_Channel* channel) {
  if (!channel || !channel->channelGroup_) return;
  if (channel->channelGroup_->GetGroupIndex() == -1) return;
  channel->getChildTime_ = platform::GetTickCount();
}

int ChannelInternal::GetChannelGetChildTime(Tvk_Channel* channel) {
  return channel ? static_cast<int>(channel->getChildTime_) : 0;
}

ParameterInfo* ChannelInternal::GetParameterInfo(Tvk_Channel* channel) {
  return channel ? channel->parameterInfo_ : nullptr;
}

void ChannelInternal::SetParameterInfo(Tvk_Channel* channel, int parameterNr) {
  if (channel && channel->parameterInfo_) channel->parameterInfo_->parameterNr = parameterNr;
}

void ChannelInternal::SetParameterInfo(Tvk_Channel* channel, ParameterInfo info) {
  SetParameterInfo(channel, info.parameterNr);
}

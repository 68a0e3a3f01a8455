// The record of a public call and its accessors, and the bookkeeping of the
// public channels a public call resolved.

#include <cstring>

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "PublicCallInfo.h"
#include "Tvk_Channel.h"
#include "internal/ChannelMessages.h"

// Hosts and plug-ins build these records; the constructor is exported.
PublicCallInfo::PublicCallInfo()
    : channelName{},
      poolName{},
      fileName{},
      requestedPublicChannelNr(0),
      autoLoadGroup(1),
      padding{},
      dynamicAutoLoadGroup(0),
      childCreation() {
  CopyText(channelName, "No Name", sizeof(channelName) - 1);
  CopyText(poolName, "No Pool", sizeof(poolName) - 1);
  CopyText(fileName, "No File", sizeof(fileName) - 1);
}

namespace {

// A record handed in by a host or read from a file may lack terminators; every
// text of the stored record ends inside its field.
void TerminateTexts(PublicCallInfo& info) {
  info.channelName[sizeof(info.channelName) - 1] = '\0';
  info.poolName[sizeof(info.poolName) - 1] = '\0';
  info.fileName[sizeof(info.fileName) - 1] = '\0';
  info.childCreation.childName[sizeof(info.childCreation.childName) - 1] = '\0';
}

}  // namespace

// The next resolution starts from scratch: the engine forgets the channel's
// requests and the channel its resolved targets.
bool ChannelInternal::SetPublicCallInfo(Tvk_Channel* channel, PublicCallInfo info) {
  if (!channel || !channel->publicCallInfo_) return false;
  *channel->publicCallInfo_ = info;
  TerminateTexts(*channel->publicCallInfo_);
  if (EngineInterfaceExt* ext = channel_messages::Ext(channel->engine_)) ext->CheckPublicCallChannelRemoval(channel);
  delete channel->publicCallTargets_;
  channel->publicCallTargets_ = nullptr;
  delete channel->publicCallPending_;
  channel->publicCallPending_ = nullptr;
  return true;
}

// The embedded link position is always the default one: it belongs to the
// channel, not to whoever asks.
PublicCallInfo ChannelInternal::GetPublicCallInfo(Tvk_Channel* channel) {
  PublicCallInfo result;
  if (!channel || !channel->publicCallInfo_) return result;
  const PublicCallInfo& own = *channel->publicCallInfo_;
  std::memset(result.fileName, 0, sizeof(result.fileName));
  std::memset(result.poolName, 0, sizeof(result.poolName));
  std::memset(result.channelName, 0, sizeof(result.channelName));
  CopyText(result.fileName, own.fileName, 259);
  CopyText(result.poolName, own.poolName, 78);
  CopyText(result.channelName, own.channelName, 78);
  result.requestedPublicChannelNr = own.requestedPublicChannelNr;
  result.autoLoadGroup = own.autoLoadGroup;
  result.dynamicAutoLoadGroup = own.dynamicAutoLoadGroup;
  return result;
}

// Loading on the spot and loading in the background exclude each other.
void ChannelInternal::SetAutoLoadGroup(Tvk_Channel* channel, bool on) {
  if (!channel || !channel->publicCallInfo_) return;
  channel->publicCallInfo_->autoLoadGroup = on ? 1 : 0;
  if (on) channel->publicCallInfo_->dynamicAutoLoadGroup = 0;
}

void ChannelInternal::SetDynamicAutoLoadGroup(Tvk_Channel* channel, bool on) {
  if (!channel || !channel->publicCallInfo_) return;
  channel->publicCallInfo_->dynamicAutoLoadGroup = on ? 1 : 0;
  if (on) channel->publicCallInfo_->autoLoadGroup = 0;
}

bool ChannelInternal::GetAutoLoadGroup(Tvk_Channel* channel) {
  return channel && channel->publicCallInfo_ && channel->publicCallInfo_->autoLoadGroup != 0;
}

bool ChannelInternal::GetDynamicAutoLoadGroup(Tvk_Channel* channel) {
  return channel && channel->publicCallInfo_ && channel->publicCallInfo_->dynamicAutoLoadGroup != 0;
}

void ChannelInternal::SetRequestedPublicChannelNr(Tvk_Channel* channel, int nr) {
  if (channel && channel->interfaceType_ == TVO_PUBLICCALL && channel->publicCallInfo_)
    channel->publicCallInfo_->requestedPublicChannelNr = nr;
}

// A public channel went away: a public call that had resolved it at this
// number resolves again next time.
void ChannelInternal::CheckPublicChannelInstanceRemoval(Tvk_Channel* caller, Tvk_Channel* removed, int nr) {
  if (!caller || caller->interfaceType_ != TVO_PUBLICCALL || !caller->publicCallInfo_) return;
  Tvk_List* targets = caller->publicCallTargets_;
  if (targets && removed && targets->GetItem(nr) == removed) targets->SetItem(nullptr, nr);
}

// Resolution of public calls (searching the engine, loading groups, leaving
// requests) arrives with the cross-group work; until then a public call
// resolves to nothing and no request is ever outstanding.
Tvk_Channel* ChannelInternal::GetPublicChannelForPublicCall(Tvk_Channel*, bool) { return nullptr; }

bool ChannelInternal::CheckPublicChannelRequest(Tvk_Channel*, Tvk_Channel*, int, const char*) { return false; }

#include "Tvk_Channel.h"

#include <cstdlib>

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"
#include "PublicCallInfo.h"
#include "Tvk_ChannelGroup.h"
#include "internal/ChannelMessages.h"
#include "internal/NodeLayout.h"
#include "internal/PoolRecords.h"

Tvk_Channel::Tvk_Channel()
    : channelType_(nullptr),
      lastTreeCount_(-1),
      channelIDIndexNr_(-1),
      interfaceType_(TVO_PRIVATE),
      publicCallInfo_(nullptr),
      parameterInfo_(nullptr),
      linkRequests_(nullptr),
      publicCallPending_(nullptr),
      publicCallTargets_(nullptr),
      channelName_(nullptr),
      channelGroup_(nullptr),
      placeholderLinks_(false),
      getChildTime_(platform::GetTickCount()),
      ignoreTreeCount_(false),
      timeStamp_(static_cast<std::uint32_t>(std::rand())),
      dynamicLoadRequested_(false),
      treeCountMode_(1),
      treeRecalculateCount_(0),
      usePoolChannel_(false),
      poolNames_(nullptr),
      channelPoolInfo_(nullptr),
      publicInterface_(nullptr),
      interfaceTranslation_(nullptr) {}

// Frees what the channel owns and nothing else: leaving the group and telling
// the rest of the graph is the group's RemoveChannel, which deletes last.
Tvk_Channel::~Tvk_Channel() {
  node_layout::DeleteCreations(childCreations_);
  node_layout::DeleteNodes(children_);

  if (linkRequests_) {
    for (int i = 0; i < linkRequests_->GetItemCount(); ++i)
      delete static_cast<LinkRequest*>(linkRequests_->GetItem(i));
    delete linkRequests_;
    linkRequests_ = nullptr;
  }

  delete parameterInfo_;
  parameterInfo_ = nullptr;
  delete publicCallInfo_;
  publicCallInfo_ = nullptr;

  delete interfaceTranslation_;
  interfaceTranslation_ = nullptr;

  delete[] channelName_;
  channelName_ = nullptr;
  delete channelType_;
  channelType_ = nullptr;

  // Their entries are markers and channels owned elsewhere.
  delete publicCallPending_;
  publicCallPending_ = nullptr;
  delete publicCallTargets_;
  publicCallTargets_ = nullptr;

  Tvk_List* poolNames = poolNames_;
  poolNames_ = nullptr;
  pool_records::ReleaseMemberships(engine_, this, poolNames);
  pool_records::DeletePoolInfo(channelPoolInfo_);
  channelPoolInfo_ = nullptr;

  if (publicInterface_) publicInterface_->interfaceItems.ReleaseItems();
  delete publicInterface_;
  publicInterface_ = nullptr;

  children_.ReleaseItems();
  childCreations_.ReleaseItems();
}

void Tvk_Channel::CallChannel() {}

void Tvk_Channel::OneTimeInitialize() {}

void Tvk_Channel::DoEvent(int, unsigned long) {}

// Fetched from the library once per channel; later changes of the library's
// record are not seen. Without an engine there is nothing to ask, so nothing is
// cached and the default record is answered.
ChannelType Tvk_Channel::GetChannelType() {
  if (!channelType_) {
    EngineInterfaceExt* ext = channel_messages::Ext(engine_);
    if (!ext) return ChannelType();
    channelType_ = new ChannelType(ext->GetDLLType(dllInstance_));
  }
  return *channelType_;
}

// A pool user stands for the pool channel its parent's node was laid out for;
// when the pools changed since, the parent is re-laid at the next frame.
Tvk_Channel* Tvk_Channel::GetChannelFromChannel(Tvk_Channel* caller, ChildInfo* node) {
  if (!usePoolChannel_ || !caller || !node) return nullptr;
  if (node->poolChannelCount == GetPoolChannelCount()) return GetPoolChannel(node->poolChannelIndex);
  if (EngineInterfaceExt* ext = channel_messages::Ext(engine_)) ext->DoLinkPoolToChannel(caller);
  return nullptr;
}

std::uint32_t Tvk_Channel::GetTimeStamp() { return timeStamp_; }

void Tvk_Channel::SetTimeStamp() { timeStamp_ += platform::GetTickCount() + 1u; }

void Tvk_Channel::DoDependencyInit(Tvk_List*) {}

void Tvk_Channel::SetChannelName(const char* name) {
  if (!name) return;
  std::size_t length = 0;
  while (length < static_cast<std::size_t>(kChannelNameMaxChars) && name[length]) ++length;
  char* copy = new char[length + 1];
  CopyText(copy, name, length);
  delete[] channelName_;
  channelName_ = copy;
}

// Channels reached several times in one pass calculate on the first visit only.
// The pass is the group's count (the engine's plus the group's own) or, for a
// channel outside any group, the engine's.

// The link members of Tvk_Channel: declaring link positions, linking, the
// resolved child lookup and removal of links.

#include <cstring>

#include "BoundedText.h"
#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "internal/ChannelMessages.h"
#include "internal/NodeLayout.h"

using node_layout::CreationAt;
using node_layout::NodeAt;

// Plug-ins build these records; the constructor is part of the library's exports.
ChildCreation::ChildCreation()
    : channelType(),
      requestLink(-1),
      reserved(0),
      createChild(0),
      childName{},
      childTypeGuid(kZeroGuid),
      childInfo(nullptr),
      userValue(1) {
  channelType.guid = kWildcardGuid;
  channelType.baseGuid = kWildcardGuid;
}

namespace {

ChildInfo* NewPositionNode(int linkPosition, bool multiLink) {
  ChildInfo* node = new ChildInfo;
  node->linkPosition = linkPosition;
  node->isPositionNode = true;
  node->isMultiLink = multiLink;
  node->nodeOffset = linkPosition;
  return node;
}

int IndexOfNode(const Tvk_List& children, const ChildInfo* node) {
  if (NodeAt(children, node->nodeOffset) == node) return node->nodeOffset;
  for (int i = 0; i < children.GetItemCount(); ++i)
    if (NodeAt(children, i) == node) return i;
  return -1;
}

// Drops a position node together with the run in front of it; the index the
// group started at, or -1 when the node is not in the list.
int RemovePositionGroup(Tvk_List& children, ChildInfo* positionNode) {
  const int index = IndexOfNode(children, positionNode);
  if (index < 0) return -1;
  int first = positionNode->isMultiLink ? index - positionNode->targetIndex : index;
  if (first < 0) first = 0;
  for (int i = index; i >= first; --i) {
    delete NodeAt(children, i);
    children.RemoveItem(i);
  }
  return first;
}

// Where a position node goes when its slot is taken by links of other
// positions: after the next position node, so no run is split from its node.
bool InsertAfterNextGroup(Tvk_List& children, ChildInfo* node, int from) {
  const int count = children.GetItemCount();
  for (int i = from; i < count; ++i) {
    ChildInfo* existing = NodeAt(children, i);
    if (!existing) {
      children.SetItem(node, i);
      return true;
    }
    if (existing->isPositionNode) return children.InsertItem(node, i + 1);
  }
  return children.AddItem(node) >= 0 && NodeAt(children, count) == node;
}

// A position declared before any link exists lands at its own index. One
// declared again replaces its earlier declaration, and that one's links, where
// it stood; a new one declared after links exist goes after the next position
// node. Either way no node of another position is disturbed.
bool PlacePositionNode(Tvk_List& children, ChildInfo* node, ChildInfo* oldNode, int linkPosition) {
  ChildInfo* atSlot = NodeAt(children, linkPosition);
  if (oldNode && oldNode == atSlot && oldNode->targetIndex == 0) {
    children.SetItem(node, linkPosition);
    delete oldNode;
    return true;
  }
  if (oldNode) {
    const int groupStart = RemovePositionGroup(children, oldNode);
    if (groupStart >= 0) return children.InsertItem(node, groupStart);
  }
  if (!NodeAt(children, linkPosition)) {
    children.SetItem(node, linkPosition);
    return NodeAt(children, linkPosition) == node;
  }
  return InsertAfterNextGroup(children, node, linkPosition);
}

constexpr int kMaxRunLength = 1 << 20;

// Parameter channels that stand for each other in a loop would otherwise
// recurse without end.
int parameterDepth = 0;
constexpr int kMaxParameterDepth = 256;

Tvk_Channel* ResolveParameter(Tvk_Channel* parent, Tvk_Channel* child) {
  Tvk_ChannelGroup* group = parent->GetChannelGroup();
  ParameterInfo* info = channelInternal.GetParameterInfo(child);
  if (!group || !info) return nullptr;
  if (parameterDepth >= kMaxParameterDepth) {
    channel_messages::Error(parent->GetEngineInterface(),
                            "Tvk_Channel::GetChild parameter channels stand for each other in a loop");
    return nullptr;
  }
  ++parameterDepth;
  Tvk_Channel* result = group->GetParameterChannel(info->parameterNr);
  --parameterDepth;
  return result;
}

// The children GetChild replaces: public calls, parameters, custom-get channels.
Tvk_Channel* ResolveExternalChild(Tvk_Channel* parent, Tvk_Channel* child, ChildInfo* node, bool tracking) {
  Tvk_Channel* result;
  switch (child->GetChannelInterfaceType()) {
    case TVO_PUBLICCALL:
      result = channelInternal.GetPublicChannelForPublicCall(child, true);
      break;
    case TVO_PARAMETER:
      return ResolveParameter(parent, child);
    case TVO_CUSTOMCHANNELGET:
    case TVO_PUBLICCUSTOMCHANNELGET:
      result = child->GetChannelFromChannel(parent, node);
      break;
    default:
      return child;
  }
  if (tracking && result) channelInternal.UpdateCallingTime(result);
  return result;
}

// GetChild while the engine tracks calling times: the parent, the linked
// channel and what it resolves to (parameters excepted) record the time.
Tvk_Channel* GetTrackedChild(Tvk_Channel* parent, int index) {
  channelInternal.UpdateCallingTime(parent);
  ChildInfo* node = parent->GetChildInfo(index);
  if (!node || !node->channel) return nullptr;
  channelInternal.UpdateCallingTime(node->channel);
  return ResolveExternalChild(parent, node->channel, node, true);
}

// What GetChildTypeCount and GetChildFromLinkGuid compare: custom-get channels
// by what they name, every other channel as linked.
Tvk_Channel* ExaminedChannel(Tvk_Channel* parent, ChildInfo* node) {
  Tvk_Channel* child = node->channel;
  if (!child) return nullptr;
  const int type = child->GetChannelInterfaceType();
  if (type == TVO_CUSTOMCHANNELGET || type == TVO_PUBLICCUSTOMCHANNELGET)
    return child->GetChannelFromChannel(parent, node);
  return child;
}

bool IsOfType(Tvk_Channel* channel, const GUID& type) {
  const ChannelType channelType = channel->GetChannelType();
  return channelType.guid == type || channelType.baseGuid == type;
}

}  // namespace

void Tvk_Channel::SetChildCreationCount(int) {
  node_layout::DeleteCreations(childCreations_);
  node_layout::DeleteNodes(children_);
}

void Tvk_Channel::SetChildCreateType(ChildCreation creation, int linkPosition) {
  for (int i = 0; i < childCreations_.GetItemCount(); ++i) {
    const ChildCreation* existing = CreationAt(childCreations_, i);
    if (existing && existing->requestLink != -1 && existing->requestLink == creation.requestLink) {
      channel_messages::Error(engine_, "Can't add child creation with the same request link!");
      return;
    }
  }
  // A public call's positions come from the interface it calls.
  if (interfaceType_ == TVO_PUBLICCALL || linkPosition < 0) return;

  ChildCreation* record = new ChildCreation(creation);
  record->reserved = 0;
  std::memset(record->childName, 0, sizeof(record->childName));
  creation.childName[sizeof(creation.childName) - 1] = '\0';
  CopyText(record->childName, creation.childName, kChildNameMaxChars);
  record->childInfo = nullptr;

  ChildCreation* old = CreationAt(childCreations_, linkPosition);
  childCreations_.SetItem(record, linkPosition);
  if (CreationAt(childCreations_, linkPosition) != record) {
    delete record;  // the list could not grow; the old declaration stays
    return;
  }
  ChildInfo* oldNode = old ? old->childInfo : nullptr;
  delete old;

  ChildInfo* node = NewPositionNode(linkPosition, record->requestLink == -1);
  if (PlacePositionNode(children_, node, oldNode, linkPosition)) {
    record->childInfo = node;
  } else {
    delete node;
  }
  node_layout::RecalculateOffsets(children_);
}

Tvk_Channel* Tvk_Channel::GetTrackedChild(int index) { return ::GetTrackedChild(this, index); }

Tvk_Channel* Tvk_Channel::ResolveLinkedChild(Tvk_Channel* child, ChildInfo* node) {
  return ResolveExternalChild(this, child, node, false);
}

int Tvk_Channel::SetChild(Tvk_Channel* channel, int targetChannel, int linkPosition) {
  if (!channel) return -1;
  if (channel == this) {
    channel_messages::Error(engine_, "SetChild channel==this");
    return -1;
  }
  if (interfaceType_ == TVO_PUBLICCUSTOMCHANNELGET && channel->interfaceType_ != TVO_PRIVATE &&
      channel->interfaceType_ != TVO_PUBLIC) {
    channel_messages::UserInfo(engine_, "Parameter channels are not allowed to be linked to public ChannelSwitches");
    return -1;
  }
  if (targetChannel < -1) {
    channel_messages::UserInfo(engine_, "Tvk_Channel::SetChild targetChannel<-1 is out of range");
    targetChannel = -1;  // append, so no node outside the run is touched
  }

  bool toPlaceholder = false;
  if (interfaceType_ == TVO_PUBLICCALL && !channelInternal.GetPublicChannelForPublicCall(this, false)) {
    channelInternal.GetChildCreateType(this, 0);
    if (placeholderLinks_) {
      targetChannel = linkPosition;
      linkPosition = 0;
      toPlaceholder = true;
    }
  }
  if (!toPlaceholder && linkPosition < -1) return channelInternal.SetChildByType(this, channel, -1);
  if (linkPosition >= channelInternal.GetChildCreationCount(this))
    return channelInternal.SetChildByType(this, channel, -1);
  if (linkPosition == -1) return channelInternal.SetChildByType(this, channel, targetChannel);

  ChildCreation* creation = channelInternal.GetChildCreateType(this, linkPosition);
  if (!creation) {
    channel_messages::UserInfo(engine_, "Tvk_Channel::SetChild childCreation==NULL for this target type");
    return -1;
  }
  if (!node_layout::Accepts(*creation, channel)) {
    channel_messages::UserInfo(engine_,
                               "This channel was unable to be linked. The type of the channel was not accepted at "
                               "this link position");
    return -1;
  }
  ChildInfo* positionNode = creation->childInfo;
  if (!positionNode) {
    channel_messages::UserInfo(engine_, "Tvk_Channel::SetChild childCreation->childInfo==NULL group not found?");
    return -1;
  }

  if (!positionNode->isMultiLink) {
    positionNode->channel = channel;
    return positionNode->nodeOffset;
  }

  const int runLength = positionNode->targetIndex;
  if (targetChannel >= 0 && targetChannel < runLength) {
    const int index = node_layout::RunStart(*positionNode) + targetChannel;
    ChildInfo* node = NodeAt(children_, index);
    if (!node) {
      channel_messages::UserInfo(engine_, "Tvk_Channel::SetChild invalid targetChannel");
      channel_messages::UserInfo(engine_, channel->GetChannelName() ? channel->GetChannelName() : "");
      channel_messages::UserInfo(engine_, targetChannel);
      channel_messages::UserInfo(engine_, linkPosition);
      channel_messages::UserInfo(engine_, GetChildCount());
      channel_messages::UserInfo(engine_, channelName_ ? channelName_ : "");
      return -1;
    }
    node->channel = channel;
    return index;
  }

  // Append, padding the run with empty nodes up to the target channel. A target
  // far beyond any real run (a damaged file) must not exhaust memory.
  if (targetChannel >= kMaxRunLength) {
    channel_messages::UserInfo(engine_, "Tvk_Channel::SetChild targetChannel is out of range");
    return -1;
  }
  if (!node_layout::PadRun(children_, *positionNode, targetChannel)) return -1;
  return node_layout::InsertNode(children_, node_layout::NewLinkNode(channel, linkPosition), positionNode->nodeOffset);
}

int Tvk_Channel::GetChildLinkPositionCount(int linkPosition) {
  const ChildCreation* creation = channelInternal.GetChildCreateType(this, linkPosition);
  return creation && creation->childInfo ? creation->childInfo->targetIndex : 0;
}

Tvk_Channel* Tvk_Channel::GetChildFromLinkPosition(int linkPosition, int n) {
  const ChildCreation* creation = channelInternal.GetChildCreateType(this, linkPosition);
  if (!creation || !creation->childInfo || n < 0) return nullptr;
  const ChildInfo& positionNode = *creation->childInfo;
  if (n > positionNode.targetIndex) return nullptr;
  return GetChild(node_layout::RunStart(positionNode) + n);
}

int Tvk_Channel::GetChildTypeCount(GUID type) {
  int matches = 0;
  for (int i = 0; i < children_.GetItemCount(); ++i) {
    ChildInfo* node = NodeAt(children_, i);
    if (!node) continue;
    Tvk_Channel* examined = ExaminedChannel(this, node);
    if (examined && IsOfType(examined, type)) ++matches;
  }
  return matches;
}

Tvk_Channel* Tvk_Channel::GetChildFromLinkGuid(GUID type, int n) {
  int matches = 0;
  for (int i = 0; i < children_.GetItemCount(); ++i) {
    ChildInfo* node = NodeAt(children_, i);
    if (!node) continue;
    Tvk_Channel* examined = ExaminedChannel(this, node);
    if (!examined || !IsOfType(examined, type)) continue;
    if (matches == n) return GetChild(i);
    ++matches;
  }
  return nullptr;
}

void Tvk_Channel::RemoveChild(int index) {
  if (ChildInfo* node = GetChildInfo(index)) node->channel = nullptr;
}

// Every run goes; every position node stays, empty.
void Tvk_Channel::RemoveChildren() {
  int i = 0;
  while (i < children_.GetItemCount()) {
    ChildInfo* node = NodeAt(children_, i);
    if (node && !node->isPositionNode) {
      delete node;
      children_.RemoveItem(i);
      continue;
    }
    if (node) node->channel = nullptr;
    ++i;
  }
  node_layout::RecalculateOffsets(children_);
}

// Nodes are emptied, not removed, so the target channels of a run keep their
// indices. Channels are judged as linked, not by what they resolve to.
void Tvk_Channel::CheckIndexNrRemoval(int indexNr) {
  for (int i = 0; i < children_.GetItemCount(); ++i) {
    ChildInfo* node = NodeAt(children_, i);
    if (node && node->channel && node->channel->channelIDIndexNr_ == indexNr) node->channel = nullptr;
  }
}

Tvk_Channel* Tvk_Channel::GetInternalChild(int index) {
  ChildInfo* node = GetChildInfo(index);
  return node ? node->channel : nullptr;
}

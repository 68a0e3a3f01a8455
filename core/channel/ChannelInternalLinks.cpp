// ChannelInternal's link operations: linking by type, removal, the node
// layout, and links that wait for their child while a group loads.

#include "ChannelHandles.h"
#include "ChannelInternal.h"
#include "Tvk_Channel.h"
#include "internal/NodeLayout.h"

using node_layout::CreationAt;
using node_layout::NodeAt;

namespace {

bool IsExternalType(int type) {
  return type == TVO_PUBLICCALL || type == TVO_PARAMETER || type == TVO_CUSTOMCHANNELGET ||
         type == TVO_PUBLICCUSTOMCHANNELGET;
}

// A link node of a run that holds nothing (position nodes never count).
bool IsEmptyLinkNode(const ChildInfo* node) {
  return node && !node->channel && !node->isPositionNode && !node->isMultiLink;
}

int FirstEmptyInRun(const Tvk_List& children, const ChildInfo& positionNode) {
  const int start = node_layout::RunStart(positionNode);
  for (int t = 0; t < positionNode.targetIndex; ++t) {
    const ChildInfo* node = NodeAt(children, start + t);
    if (node && !node->channel) return t;
  }
  return -1;
}

}  // namespace

ChildInfo* ChannelInternal::GetChildInfo(Tvk_Channel* channel, int index) {
  return channel ? channel->GetChildInfo(index) : nullptr;
}

Tvk_Channel* ChannelInternal::GetInternalChild(Tvk_Channel* channel, int index) {
  return channel ? channel->GetInternalChild(index) : nullptr;
}

// A public call's positions behave like any other channel's until they are
// derived from the interface it calls.
ChildCreation* ChannelInternal::GetChildCreateType(Tvk_Channel* channel, int linkPosition) {
  return channel ? CreationAt(channel->childCreations_, linkPosition) : nullptr;
}

int ChannelInternal::GetChildCreationCount(Tvk_Channel* channel) {
  return channel ? channel->childCreations_.GetItemCount() : 0;
}

int ChannelInternal::GetChildLinkPosition(Tvk_Channel* channel, int index) {
  const ChildInfo* node = GetChildInfo(channel, index);
  return node ? node->linkPosition : -1;
}

bool ChannelInternal::GetIfExternalChild(Tvk_Channel* channel, int index) {
  const ChildInfo* node = GetChildInfo(channel, index);
  return node && node->channel && IsExternalType(node->channel->interfaceType_);
}

// Silent: the first position that takes the child gets it; an occupied
// single-link position is passed over, a run's first hole is filled first.
int ChannelInternal::SetChildByType(Tvk_Channel* parent, Tvk_Channel* child, int targetChannel) {
  if (!parent || !child) return -1;
  const int count = GetChildCreationCount(parent);
  for (int i = 0; i < count; ++i) {
    const ChildCreation* creation = GetChildCreateType(parent, i);
    if (!creation || !creation->childInfo || !node_layout::Accepts(*creation, child)) continue;
    const ChildInfo& positionNode = *creation->childInfo;
    if (!positionNode.isMultiLink) {
      if (!positionNode.channel) return parent->SetChild(child, 0, i);
      continue;
    }
    if (targetChannel != -1) return parent->SetChild(child, targetChannel, i);
    return parent->SetChild(child, FirstEmptyInRun(parent->children_, positionNode), i);
  }
  return -1;
}

void ChannelInternal::RemoveChildPosition(Tvk_Channel* channel, int index) {
  if (!channel) return;
  Tvk_List& children = channel->children_;
  if (ChildInfo* node = NodeAt(children, index)) {
    node->channel = nullptr;
    if (!node->isPositionNode) {
      delete node;
      children.RemoveItem(index);
    }
  }
  node_layout::RecalculateOffsets(children);
}

// Drops every link that holds `child` or stands for it (a public call that
// resolves to it, a custom-get channel that names it). Removing "no channel"
// removes nothing: links that resolve to nothing stay.
void ChannelInternal::RemoveChild(Tvk_Channel* parent, Tvk_Channel* child) {
  if (!parent || !child) return;
  for (int i = 0; i < parent->GetChildCount(); ++i) {
    Tvk_Channel* linked = parent->GetInternalChild(i);
    if (!linked) continue;
    if (linked == child) {
      parent->RemoveChild(i);
      continue;
    }
    SmartChannel handle(parent->GetEngineInterface());
    handle.SetChannel(linked);
    if (handle.GetChannel() == child) parent->RemoveChild(i);
  }
}

void ChannelInternal::RecalculateNodeOffsets(Tvk_Channel* channel) {
  if (channel) node_layout::RecalculateOffsets(channel->children_);
}

// Closes the gaps of every run; later run members move down.
void ChannelInternal::SortChilderen(Tvk_Channel* channel) {
  if (!channel) return;
  int i = 0;
  while (i < channel->children_.GetItemCount()) {
    if (IsEmptyLinkNode(NodeAt(channel->children_, i))) {
      const int before = channel->children_.GetItemCount();
      RemoveChildPosition(channel, i);
      if (channel->children_.GetItemCount() < before) continue;
    }
    ++i;
  }
}

void ChannelInternal::ReleaseChilderen(Tvk_Channel* channel) {
  if (!channel) return;
  node_layout::DeleteNodes(channel->children_);
  channel->SetChildCreationCount(0);
}

bool ChannelInternal::CheckChannelRequest(Tvk_Channel* channel, int childIndexNr, int targetChannel,
                                          Tvk_Channel* child, int linkPosition) {
  if (!channel || !channel->linkRequests_) return false;
  Tvk_List* requests = channel->linkRequests_;
  for (int i = 0; i < requests->GetItemCount(); ++i) {
    LinkRequest* request = static_cast<LinkRequest*>(requests->GetItem(i));
    if (!request || request->childIndexNr != childIndexNr || request->targetChannel != targetChannel) continue;
    if (linkPosition == -1) {
      channel->SetChild(child, -1, -1);
    } else {
      channel->SetChild(child, targetChannel, linkPosition);
    }
    requests->RemoveItem(i);
    delete request;
    if (requests->GetItemCount() == 0) {
      delete requests;
      channel->linkRequests_ = nullptr;
    }
    return true;
  }
  return false;
}

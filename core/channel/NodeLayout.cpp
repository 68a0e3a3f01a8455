#include "internal/NodeLayout.h"

#include "Tvk_Channel.h"

namespace node_layout {

void RecalculateOffsets(Tvk_List& children) {
  int runCounter = 0;
  const int count = children.GetItemCount();
  for (int i = 0; i < count; ++i) {
    ChildInfo* node = NodeAt(children, i);
    if (!node) continue;
    node->nodeOffset = i;
    node->targetIndex = runCounter;
    runCounter = node->isMultiLink ? 0 : runCounter + 1;
    if (node->isPositionNode && !node->isMultiLink) {
      node->targetIndex = 0;
      runCounter = 0;
    }
  }
}

int InsertNode(Tvk_List& children, ChildInfo* node, int index) {
  if (index > children.GetItemCount()) index = children.GetItemCount();
  if (index < 0 || !children.InsertItem(node, index)) {
    delete node;
    return -1;
  }
  RecalculateOffsets(children);
  return index;
}

bool PadRun(Tvk_List& children, const ChildInfo& positionNode, int length) {
  const int linkPosition = positionNode.linkPosition;
  const int missing = length - positionNode.targetIndex;
  const int at = positionNode.nodeOffset;
  bool grown = true;
  for (int i = 0; i < missing && grown; ++i) {
    ChildInfo* node = NewLinkNode(nullptr, linkPosition);
    grown = children.InsertItem(node, at);
    if (!grown) delete node;
  }
  RecalculateOffsets(children);
  return grown;
}

void DeleteNodes(Tvk_List& children) {
  for (int i = 0; i < children.GetItemCount(); ++i) {
    delete NodeAt(children, i);
    children.SetItem(nullptr, i);
  }
  children.ClearItems();
}

void DeleteCreations(Tvk_List& creations) {
  for (int i = 0; i < creations.GetItemCount(); ++i) {
    delete CreationAt(creations, i);
    creations.SetItem(nullptr, i);
  }
  creations.ClearItems();
}

ChildInfo* NewLinkNode(Tvk_Channel* channel, int linkPosition) {
  ChildInfo* node = new ChildInfo;
  node->channel = channel;
  node->linkPosition = linkPosition;
  return node;
}

bool Accepts(const ChildCreation& creation, Tvk_Channel* channel) {
  const GUID& wanted = creation.channelType.guid;
  if (wanted == kWildcardGuid) return true;
  const ChannelType type = channel->GetChannelType();
  return wanted == type.guid || wanted == type.baseGuid;
}

}  // namespace node_layout

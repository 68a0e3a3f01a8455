#pragma once

// The node layout every link operation keeps: each link position has one
// position node; a multi-link position's run sits directly before its position
// node; nodeOffset is the node's index and targetIndex its place in the run (on
// a multi-link position node: the run length).

#include "ChildLinks.h"
#include "Tvk_List.h"

class Tvk_Channel;

namespace node_layout {

inline ChildInfo* NodeAt(const Tvk_List& children, int index) {
  return static_cast<ChildInfo*>(children.GetItem(index));
}

inline ChildCreation* CreationAt(const Tvk_List& creations, int index) {
  return static_cast<ChildCreation*>(creations.GetItem(index));
}

// Restores nodeOffset and targetIndex after nodes moved.
void RecalculateOffsets(Tvk_List& children);

// Inserts `node` at `index` and recalculates; the index it landed at, or -1
// (the node is then deleted) when the list could not take it.
int InsertNode(Tvk_List& children, ChildInfo* node, int index);

// Inserts empty link nodes in front of a multi-link position node until its
// run is `length` long; false when the list could not grow.
bool PadRun(Tvk_List& children, const ChildInfo& positionNode, int length);

// Deletes every node (or record) and empties the list.
void DeleteNodes(Tvk_List& children);
void DeleteCreations(Tvk_List& creations);

// A link node of `linkPosition`, holding `channel` (null: an empty node).
ChildInfo* NewLinkNode(Tvk_Channel* channel, int linkPosition);

// The type rule: the position takes a channel whose type guid or base guid is
// the position's guid, or every channel when that is the wildcard.
bool Accepts(const ChildCreation& creation, Tvk_Channel* channel);

// Index of the first node of the run in front of a multi-link position node.
inline int RunStart(const ChildInfo& positionNode) { return positionNode.nodeOffset - positionNode.targetIndex; }

}  // namespace node_layout

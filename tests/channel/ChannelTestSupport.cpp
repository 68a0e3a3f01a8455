#include "ChannelTestSupport.h"

namespace channeltest {

std::string LayoutOf(Tvk_Channel& channel) {
  std::string text;
  for (int i = 0; i < channel.GetChildCount(); ++i) {
    const ChildInfo* node = channel.GetChildInfo(i);
    if (!text.empty()) text += ' ';
    if (!node) {
      text += '.';
    } else if (!node->isPositionNode) {
      const char* name = node->channel ? node->channel->GetChannelName() : nullptr;
      text += node->channel ? (name ? name : "?") : "_";
    } else {
      text += (node->isMultiLink ? "M" : "S") + std::to_string(node->linkPosition);
      if (node->channel) text += std::string("=") + (node->channel->GetChannelName() ? node->channel->GetChannelName() : "?");
    }
  }
  return text;
}

namespace {

::testing::AssertionResult CheckPositionRecords(Tvk_Channel& channel) {
  const int positions = channelInternal.GetChildCreationCount(&channel);
  for (int p = 0; p < positions; ++p) {
    const ChildCreation* creation = channelInternal.GetChildCreateType(&channel, p);
    if (!creation) continue;
    const ChildInfo* node = creation->childInfo;
    if (!node) return ::testing::AssertionFailure() << "position " << p << " has no position node";
    if (channel.GetChildInfo(node->nodeOffset) != node)
      return ::testing::AssertionFailure() << "position " << p << ": its node is not at its nodeOffset";
    if (!node->isPositionNode || node->linkPosition != p)
      return ::testing::AssertionFailure() << "position " << p << ": record refers to a node of another kind";
    if (node->isMultiLink != (creation->requestLink == -1))
      return ::testing::AssertionFailure() << "position " << p << ": multi-link flag disagrees with requestLink";
    int nodesOfPosition = 0;
    for (int i = 0; i < channel.GetChildCount(); ++i) {
      const ChildInfo* other = channel.GetChildInfo(i);
      if (other && other->isPositionNode && other->linkPosition == p) ++nodesOfPosition;
    }
    if (nodesOfPosition != 1)
      return ::testing::AssertionFailure() << "position " << p << " has " << nodesOfPosition << " position nodes";
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult CheckRuns(Tvk_Channel& channel) {
  int runStart = 0;
  int runLength = 0;
  int runPosition = -1;
  for (int i = 0; i < channel.GetChildCount(); ++i) {
    const ChildInfo* node = channel.GetChildInfo(i);
    if (!node) {
      if (runLength) return ::testing::AssertionFailure() << "hole inside a run at " << i;
      continue;
    }
    if (node->nodeOffset != i) return ::testing::AssertionFailure() << "node " << i << " has nodeOffset " << node->nodeOffset;
    if (!node->isPositionNode) {
      if (node->isMultiLink) return ::testing::AssertionFailure() << "run node " << i << " is flagged multi-link";
      if (runLength == 0) {
        runStart = i;
        runPosition = node->linkPosition;
      }
      if (node->linkPosition != runPosition)
        return ::testing::AssertionFailure() << "run mixes link positions at " << i;
      if (node->targetIndex != runLength)
        return ::testing::AssertionFailure() << "run node " << i << " has targetIndex " << node->targetIndex;
      ++runLength;
      continue;
    }
    if (node->isMultiLink) {
      if (node->channel) return ::testing::AssertionFailure() << "multi-link position node " << i << " holds a channel";
      if (runLength && runPosition != node->linkPosition)
        return ::testing::AssertionFailure() << "run before " << i << " belongs to position " << runPosition;
      if (node->targetIndex != runLength)
        return ::testing::AssertionFailure() << "position node " << i << " counts " << node->targetIndex << ", run has "
                                             << runLength << " (from " << runStart << ")";
    } else {
      if (runLength) return ::testing::AssertionFailure() << "run in front of single-link position node " << i;
      if (node->targetIndex != 0) return ::testing::AssertionFailure() << "single-link node " << i << " targetIndex";
    }
    runLength = 0;
  }
  if (runLength) return ::testing::AssertionFailure() << "run without position node at the end";
  return ::testing::AssertionSuccess();
}

}  // namespace

::testing::AssertionResult HasValidNodeLayout(Tvk_Channel& channel) {
  ::testing::AssertionResult records = CheckPositionRecords(channel);
  if (!records) return records << " [" << LayoutOf(channel) << "]";
  ::testing::AssertionResult runs = CheckRuns(channel);
  if (!runs) return runs << " [" << LayoutOf(channel) << "]";
  return ::testing::AssertionSuccess();
}

}  // namespace channeltest

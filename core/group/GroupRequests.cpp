// Pending links of a group being loaded: a channel's saved link may name a
// child that is read only later, so the link waits here until that index
// holds a channel.

#include <cstddef>
#include <vector>

#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "internal/GroupRecords.h"
#include "internal/RequestLinking.h"

namespace {

constexpr const char* kNullRequest = "BUG: error in channel request list";

ChannelRequestInfo* RequestAt(const Tvk_List& requests, int i) {
  return static_cast<ChannelRequestInfo*>(requests.GetItem(i));
}

void ReportNullRequest(EngineInterface* engine) {
  if (engine != nullptr) engine->showErrorMessage(kNullRequest);
}

bool TryRequest(const ChannelRequestInfo& request, Tvk_Channel* child) {
  return channelInternal.CheckChannelRequest(request.channel, request.childIndexNr, request.targetChannel, child,
                                             request.linkPosition);
}

// Deletes the requests that linked and closes the gaps, the others keeping
// their order: what removing each one as it succeeded would have left.
void RemoveLinked(Tvk_List& requests, const std::vector<char>& linked) {
  int kept = 0;
  const int count = requests.GetItemCount();
  for (int i = 0; i < count; ++i) {
    ChannelRequestInfo* request = RequestAt(requests, i);
    if (static_cast<std::size_t>(i) < linked.size() && linked[i]) {
      delete request;
      continue;
    }
    requests.SetItem(request, kept++);
  }
  while (requests.GetItemCount() > kept) requests.RemoveItem(requests.GetItemCount() - 1);
}

}  // namespace

void group_internal::DeleteRequests(Tvk_List& requests) {
  for (int i = 0; i < requests.GetItemCount(); ++i) {
    delete RequestAt(requests, i);
    requests.SetItem(nullptr, i);
  }
  requests.ReleaseItems();
}

void group_internal::DropRequestsOf(Tvk_List& requests, Tvk_Channel* channel) {
  std::vector<char> dropped(static_cast<std::size_t>(requests.GetItemCount()), 0);
  bool any = false;
  for (int i = 0; i < requests.GetItemCount(); ++i) {
    ChannelRequestInfo* request = RequestAt(requests, i);
    if (request != nullptr && request->channel == channel) dropped[i] = any = true;
  }
  if (any) RemoveLinked(requests, dropped);
}

void Tvk_ChannelGroup::AddChannelRequest(ChannelRequestInfo info) {
  auto* request = new ChannelRequestInfo(info);
  int index = requests_.AddItem(request);
  if (requests_.GetItem(index) != request) delete request;
}

// A request whose check fails stays failed while the list is walked: linking
// only ever removes pending pairs. So one pass finds the same successes in the
// same order as starting over after each one. Requests whose requesting
// channel does not hold the pair stay for a later index or for the loader to
// discard.
void Tvk_ChannelGroup::CheckRequestListForIndex(int index) {
  // Without a channel at the index there is nothing to link yet; the request
  // and the channel's pending pair are kept rather than used up.
  Tvk_Channel* child = GetChannel(index);
  std::vector<char> linked;
  for (int i = 0; i < requests_.GetItemCount(); ++i) {
    ChannelRequestInfo* request = RequestAt(requests_, i);
    if (request == nullptr) {
      ReportNullRequest(engine_);
      continue;
    }
    if (child == nullptr || request->childIndexNr != index || !TryRequest(*request, child)) continue;
    if (linked.size() <= static_cast<std::size_t>(i)) linked.resize(static_cast<std::size_t>(i) + 1, 0);
    linked[i] = 1;
  }
  if (!linked.empty()) RemoveLinked(requests_, linked);
}

// The requests are grouped by child index with a counting sort, which keeps
// list order within one index: the order of the per-index walks.
void group_internal::LinkRequestsOfPresentChannels(Tvk_ChannelGroup& group, Tvk_List& requests,
                                                   EngineInterface* engine) {
  const int count = requests.GetItemCount();
  const int slots = group.GetChannelCount();
  std::vector<int> perIndex(static_cast<std::size_t>(slots) + 1, 0);
  std::vector<int> childOf(static_cast<std::size_t>(count), -1);
  for (int i = 0; i < count; ++i) {
    const ChannelRequestInfo* request = RequestAt(requests, i);
    if (request == nullptr) {
      ReportNullRequest(engine);
      continue;
    }
    const int child = request->childIndexNr;
    if (child < 0 || child >= slots || group.GetChannel(child) == nullptr) continue;
    childOf[static_cast<std::size_t>(i)] = child;
    ++perIndex[static_cast<std::size_t>(child) + 1];
  }
  for (int index = 0; index < slots; ++index) perIndex[index + 1] += perIndex[index];
  std::vector<int> order(static_cast<std::size_t>(perIndex[slots]));
  for (int i = 0; i < count; ++i) {
    const int child = childOf[static_cast<std::size_t>(i)];
    if (child >= 0) order[static_cast<std::size_t>(perIndex[child]++)] = i;
  }

  std::vector<char> linked(static_cast<std::size_t>(count), 0);
  for (int i : order) {
    const ChannelRequestInfo* request = RequestAt(requests, i);
    Tvk_Channel* child = group.GetChannel(request->childIndexNr);
    if (child != nullptr && TryRequest(*request, child)) linked[static_cast<std::size_t>(i)] = 1;
  }
  RemoveLinked(requests, linked);
}

// Pending links of a group being loaded: a channel's saved link may name a
// child that is read only later, so the link waits here until that index
// holds a channel.

#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "internal/GroupRecords.h"

void group_internal::DeleteRequests(Tvk_List& requests) {
  for (int i = 0; i < requests.GetItemCount(); ++i) {
    delete static_cast<ChannelRequestInfo*>(requests.GetItem(i));
    requests.SetItem(nullptr, i);
  }
  requests.ReleaseItems();
}

void group_internal::DropRequestsOf(Tvk_List& requests, Tvk_Channel* channel) {
  int i = 0;
  while (i < requests.GetItemCount()) {
    auto* request = static_cast<ChannelRequestInfo*>(requests.GetItem(i));
    if (request != nullptr && request->channel == channel) {
      delete request;
      requests.RemoveItem(i);
    } else {
      ++i;
    }
  }
}

void Tvk_ChannelGroup::AddChannelRequest(ChannelRequestInfo info) {
  auto* request = new ChannelRequestInfo(info);
  int index = requests_.AddItem(request);
  if (requests_.GetItem(index) != request) delete request;
}

// Each success changes the list, so the walk starts over; requests whose
// requesting channel does not hold the pair stay for a later index or for the
// loader to discard.
void Tvk_ChannelGroup::CheckRequestListForIndex(int index) {
  // Without a channel at the index there is nothing to link yet; the request
  // and the channel's pending pair are kept rather than used up.
  Tvk_Channel* child = GetChannel(index);
  int i = 0;
  while (i < requests_.GetItemCount()) {
    auto* request = static_cast<ChannelRequestInfo*>(requests_.GetItem(i));
    if (request == nullptr) {
      if (engine_ != nullptr) engine_->showErrorMessage("BUG: error in channel request list");
      ++i;
      continue;
    }
    if (child != nullptr && request->childIndexNr == index &&
        channelInternal.CheckChannelRequest(request->channel, request->childIndexNr, request->targetChannel, child,
                                            request->linkPosition)) {
      delete request;
      requests_.RemoveItem(i);
      i = 0;
      continue;
    }
    ++i;
  }
}

// Public interfaces of public channels and the parameter translation of public
// calls. Interfaces are built with the cross-group parameter work; until then
// no channel has one, and these operations answer as for a channel without one.

#include <cstdint>

#include "ChannelInternal.h"
#include "Tvk_Channel.h"

void ChannelInternal::ReCreateChildInterface(Tvk_Channel*) {}

void ChannelInternal::CreatePublicInterface(Tvk_Channel*) {}

void ChannelInternal::AddInterfaceItem(Tvk_Channel*, int) {}

void ChannelInternal::RemoveInterfaceItem(Tvk_Channel*, int) {}

void ChannelInternal::SwapInterfaceItems(Tvk_Channel*, int, int) {}

bool ChannelInternal::GetIfUsePublicInterface(Tvk_Channel*) { return false; }

int ChannelInternal::GetPublicInterfaceCount(Tvk_Channel*) { return 0; }

int ChannelInternal::GetPublicInterfaceItemNr(Tvk_Channel*, int) { return -1; }

// A public call maps group parameter numbers to its own link positions; every
// other channel offers the parameters as they are numbered.
int ChannelInternal::TranslateGroupInterfaceNr(Tvk_Channel* channel, int parameterNr) {
  if (!channel || !channel->publicCallInfo_) return parameterNr;
  const Tvk_List* translation = channel->interfaceTranslation_;
  if (!translation || translation->GetItemCount() == 0) return parameterNr;
  if (parameterNr < 0 || parameterNr >= translation->GetItemCount()) return -1;
  return static_cast<int>(reinterpret_cast<std::intptr_t>(translation->GetItem(parameterNr)));
}

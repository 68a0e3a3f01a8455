#pragma once

#include "Tvk_Channel.h"
#include "Tvo_FloatChannel.h"
#include "Tvo_TextChannel.h"

namespace lua_channel {

// Value and text channels are recognised by the base type their plug-in
// names; a channel of either kind is used through that kind's operations.
inline Tvo_FloatChannel* AsValueChannel(Tvk_Channel* channel) {
  if (!channel || channel->GetChannelType().baseGuid != kValueChannelType) return nullptr;
  return static_cast<Tvo_FloatChannel*>(channel);
}

inline Tvo_TextChannel* AsTextChannel(Tvk_Channel* channel) {
  if (!channel || channel->GetChannelType().baseGuid != kTextChannelType) return nullptr;
  return static_cast<Tvo_TextChannel*>(channel);
}

}  // namespace lua_channel

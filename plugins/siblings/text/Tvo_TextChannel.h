#pragma once

#include "Guid.h"
#include "Tvk_Channel.h"

// The text channel type. Channels whose type record names it as their base
// are text channels: other channels read and write their text through the two
// operations below, the first ones after those of Tvk_Channel.
inline constexpr GUID kTextChannelType{0xF3A80D62, 0x5C19, 0x47E4, {0xB6, 0xA1, 0x8D, 0x35, 0xC0, 0x7E, 0x2F, 0x19}};

class Tvo_TextChannel : public Tvk_Channel {
 public:
  // The current text, or null when there is none.
  virtual const char* GetText() = 0;
  // Copies the text; null clears it.
  virtual void SetText(const char* text) = 0;
};

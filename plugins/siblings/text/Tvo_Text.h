#pragma once

#include "Tvk_String.h"
#include "Tvo_TextChannel.h"

// The text channel: holds one text and keeps it in its channel record.
class Tvo_Text final : public Tvo_TextChannel {
 public:
  static ChannelType* TypeRecord();

  bool SaveChannel(TvkFileSaver& saver) override;
  bool LoadChannel(TvkFileLoader& loader, Tvk_ChannelGroup* group) override;

  const char* GetText() override;
  void SetText(const char* text) override;

 private:
  Tvk_String text_;
};

#include "Tvo_Text.h"

#include <cstring>
#include <new>
#include <vector>

#include "EngineInterface.h"
#include "SiblingType.h"
#include "TvkFile.h"

ChannelType* Tvo_Text::TypeRecord() {
  static ChannelType record = MakeSiblingType("Text", kTextChannelType);
  return &record;
}

const char* Tvo_Text::GetText() { return text_.GetString(); }

void Tvo_Text::SetText(const char* text) { text_.SetString(text); }

// "TXTX" holds the text with its terminator; a channel without text writes
// no block, so null and the empty text stay apart.
bool Tvo_Text::SaveChannel(TvkFileSaver& saver) {
  if (!Tvk_Channel::SaveChannel(saver)) return false;
  if (const char* text = text_.GetString()) {
    saver.SaveBlock("TXTX", text, static_cast<std::uint32_t>(std::strlen(text) + 1));
  }
  return true;
}

bool Tvo_Text::LoadChannel(TvkFileLoader& loader, Tvk_ChannelGroup* group) {
  if (!Tvk_Channel::LoadChannel(loader, group)) return false;
  if (!loader.GetInfoIfTag("TXTX")) return true;
  if (!loader.GetIfBlockInsideData()) {
    if (engine_) engine_->showErrorMessage("Text channel: a block runs past the end of the data:", "TXTX");
    return false;
  }
  const std::uint32_t size = loader.GetSizeDataBlock(false);
  std::vector<char> text;
  try {
    text.assign(static_cast<std::size_t>(size) + 1, '\0');  // a terminator even when the block lacks one
  } catch (const std::bad_alloc&) {
    loader.SkipDataBlock();
    if (engine_) engine_->showErrorMessage("Text channel: not enough memory for the text of", static_cast<int>(size));
    return false;
  }
  loader.CopyTagDataToPointer(text.data(), size);
  text_.SetString(text.data());
  return true;
}

// What the engine looks up in "text.dll".

#include <new>

#include "EngineCoreExport.h"
#include "Tvo_Text.h"

VARNEL_PLUGIN_C_API ChannelType* GetType() { return Tvo_Text::TypeRecord(); }

VARNEL_PLUGIN_C_API DllInterface* InitDLL() {
  try {
    return new Tvo_Text();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

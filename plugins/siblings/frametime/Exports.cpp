// What the engine looks up in "frametime.dll".

#include <new>

#include "EngineCoreExport.h"
#include "Tvo_FrameTime.h"

VARNEL_PLUGIN_C_API ChannelType* GetType() { return Tvo_FrameTime::TypeRecord(); }

VARNEL_PLUGIN_C_API DllInterface* InitDLL() {
  try {
    return new Tvo_FrameTime();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

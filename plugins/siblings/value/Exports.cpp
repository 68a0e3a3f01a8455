// What the engine looks up in "value.dll".

#include <new>

#include "EngineCoreExport.h"
#include "SiblingType.h"
#include "Tvo_FloatChannel.h"

VARNEL_PLUGIN_C_API ChannelType* GetType() {
  static ChannelType record = MakeSiblingType("Value", kValueChannelType);
  return &record;
}

VARNEL_PLUGIN_C_API DllInterface* InitDLL() {
  try {
    return new Tvo_FloatChannel();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// What the engine looks up in "tagreader.dll".

#include <new>

#include "EngineCoreExport.h"
#include "Tvo_TagReader.h"

VARNEL_PLUGIN_C_API ChannelType* GetType() { return Tvo_TagReader::TypeRecord(); }

VARNEL_PLUGIN_C_API DllInterface* InitDLL() {
  try {
    return new Tvo_TagReader();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// What the engine looks up in "tagwriter.dll".

#include <new>

#include "EngineCoreExport.h"
#include "Tvo_TagWriter.h"

VARNEL_PLUGIN_C_API ChannelType* GetType() { return Tvo_TagWriter::TypeRecord(); }

VARNEL_PLUGIN_C_API DllInterface* InitDLL() {
  try {
    return new Tvo_TagWriter();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

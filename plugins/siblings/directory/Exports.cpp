// What the engine looks up in "Directory.dll".

#include <new>

#include "EngineCoreExport.h"
#include "Tvo_DirectoryListing.h"

VARNEL_PLUGIN_C_API ChannelType* GetType() { return Tvo_DirectoryListing::TypeRecord(); }

VARNEL_PLUGIN_C_API DllInterface* InitDLL() {
  try {
    return new Tvo_DirectoryListing();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

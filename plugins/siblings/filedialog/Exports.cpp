// What the engine looks up in "filedialog.dll".

#include <new>

#include "EngineCoreExport.h"
#include "Tvo_FileDialog.h"

VARNEL_PLUGIN_C_API ChannelType* GetType() { return Tvo_FileDialog::TypeRecord(); }

VARNEL_PLUGIN_C_API DllInterface* InitDLL() {
  try {
    return new Tvo_FileDialog();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

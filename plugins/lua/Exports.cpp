// What the engine looks up in the Lua channel's library.

#include <new>

#include "BoundedText.h"
#include "EngineCoreExport.h"
#include "Tvo_Lua.h"

VARNEL_PLUGIN_C_API ChannelType* GetType() {
  static ChannelType record;
  CopyText(record.name, "Lua Script", sizeof(record.name) - 1);
  record.guid = kLuaScriptType;
  record.baseGuid = kValueChannelType;
  record.versionInfo[2] = 0;
  return &record;
}

VARNEL_PLUGIN_C_API DllInterface* InitDLL() {
  try {
    return new Tvo_Lua();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

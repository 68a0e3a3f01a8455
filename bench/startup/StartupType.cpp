// The type record of start-up plug-in STARTUP_PLUGIN_INDEX: one file, built
// once per plug-in with its own index, gives every plug-in its own type GUID.

#include "BoundedText.h"
#include "ChannelType.h"
#include "EngineCoreExport.h"

namespace {

ChannelType MakeRecord() {
  ChannelType record;
  CopyText(record.name, "Startup plug-in", sizeof(record.name) - 1);
  record.guid = GUID{0x57A27000u + STARTUP_PLUGIN_INDEX, 0x1B2C, 0x4D3E, {0x8F, 0x40, 0x51, 0x62, 0x73, 0x84, 0x95, 0xA6}};
  record.baseGuid = record.guid;
  return record;
}

ChannelType record = MakeRecord();

}  // namespace

VARNEL_PLUGIN_C_API ChannelType* GetType() { return &record; }

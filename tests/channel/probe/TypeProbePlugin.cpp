// A plug-in library with a type record only, whose record the test can change
// after channels have read it.

#include "BoundedText.h"
#include "ChannelType.h"
#include "EngineCoreExport.h"

namespace {

ChannelType& Record() {
  static ChannelType record = [] {
    ChannelType type;
    CopyText(type.name, "Probe", sizeof(type.name) - 1);
    type.guid = GUID{0x7E57AB1E, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};
    type.baseGuid = type.guid;
    return type;
  }();
  return record;
}

}  // namespace

ENGINECORE_C_API ChannelType* GetType() { return &Record(); }

ENGINECORE_C_API void RenameProbeType(const char* name) { CopyText(Record().name, name, sizeof(Record().name) - 1); }

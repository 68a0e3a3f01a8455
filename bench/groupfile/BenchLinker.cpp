// The channel type of the group file benchmark: a channel with one multi-link
// position and nothing of its own to save.

#include "BenchLinkerType.h"
#include "BoundedText.h"
#include "ChannelType.h"
#include "ChildLinks.h"
#include "EngineCoreExport.h"
#include "Tvk_Channel.h"

namespace {

ChannelType MakeType() {
  ChannelType record;
  CopyText(record.name, "Group file bench linker", sizeof(record.name) - 1);
  record.guid = kBenchLinkerType;
  record.baseGuid = kBenchLinkerType;
  return record;
}

ChannelType typeRecord = MakeType();

class BenchLinker : public Tvk_Channel {
 public:
  BenchLinker() { SetChildCreateType(ChildCreation(), 0); }
};

}  // namespace

VARNEL_PLUGIN_C_API ChannelType* GetType() { return &typeRecord; }

VARNEL_PLUGIN_C_API DllInterface* InitDLL() { return new BenchLinker(); }

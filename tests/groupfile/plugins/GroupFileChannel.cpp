// The channel types of the group file tests, one per library; GROUPFILE_KIND
// picks which one this library is.

#include <cstring>

#include "BoundedText.h"
#include "ChannelType.h"
#include "ChildLinks.h"
#include "EngineCoreExport.h"
#include "GroupFileTypes.h"
#include "TvkFile.h"
#include "Tvk_Channel.h"

namespace {

enum Kind { kLinker = 1, kChatty = 2, kAlternate = 3 };

ChannelType MakeType(const char* name, GUID type) {
  ChannelType record;
  CopyText(record.name, name, sizeof(record.name) - 1);
  record.guid = type;
  record.baseGuid = type;
  return record;
}

#if GROUPFILE_KIND == 1
ChannelType typeRecord = MakeType("Group file linker", groupfiletest::kLinkerType);
#elif GROUPFILE_KIND == 2
ChannelType typeRecord = MakeType("Group file chatty", groupfiletest::kChattyType);
#else
ChannelType typeRecord = MakeType("Group file alternate", groupfiletest::kAlternateType);
#endif

class GroupFileChannel : public Tvk_Channel {
 public:
  GroupFileChannel() {
    SetChildCreationCount(2);
    SetChildCreateType(ChildCreation(), 0);
    ChildCreation single;
    single.requestLink = 1;
    SetChildCreateType(single, 1);
    if (GROUPFILE_KIND == kAlternate) SetChannelName(groupfiletest::kAlternateName);
  }

  // The chatty type appends data its LoadChannel leaves unread, bytes that
  // look like an index tag among them.
  bool SaveChannel(TvkFileSaver& saver) override {
    Tvk_Channel::SaveChannel(saver);
    if (GROUPFILE_KIND != kChatty) return true;
    const unsigned char trailing[] = {'C', 'H', 'I', 'X', 0xFF, 0xFF, 0xFF, 0x7F, 'm', 'o', 'r', 'e'};
    saver.SaveBlock("CHTX", trailing, sizeof trailing);
    saver.SaveTag("XTRA");
    const char* name = GetChannelName();
    if (name != nullptr && std::strcmp(name, groupfiletest::kSpoilName) == 0) saver.SaveTag(nullptr);
    return true;
  }
};

}  // namespace

VARNEL_PLUGIN_C_API ChannelType* GetType() { return &typeRecord; }

VARNEL_PLUGIN_C_API DllInterface* InitDLL() { return new GroupFileChannel(); }

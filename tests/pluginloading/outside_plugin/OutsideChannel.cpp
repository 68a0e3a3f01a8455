// A channel that counts the frames it sees and brings a file loader child,
// written against nothing but the installed engine headers.

#include <EngineCore/EngineCore.h>

#include <cstdio>

namespace {

// 0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9
constexpr GUID kOutsideType{0x0F1E2D3C, 0x4B5A, 0x4978, {0x86, 0x95, 0xA4, 0xB3, 0xC2, 0xD1, 0xE0, 0xF9}};
// The engine's file loader channel.
constexpr GUID kFileLoader{0xB3E0F51C, 0x72A4, 0x4D19, {0x8E, 0x6B, 0x3C, 0x0A, 0x9F, 0x27, 0xD8, 0x15}};
constexpr int kFrameEvent = 0;

class OutsideChannel : public Tvk_Channel {
 public:
  OutsideChannel() {
    SetChildCreationCount(1);
    ChildCreation reader;
    reader.channelType.guid = kFileLoader;
    reader.requestLink = 0;
    reader.createChild = 1;
    CopyText(reader.childName, "Reader", kChildNameMaxChars);
    SetChildCreateType(reader, 0);
  }
  ~OutsideChannel() override { engine_->RemoveChannelFromEvent(this, kFrameEvent); }

  void OneTimeInitialize() override { engine_->AddChannelToEvent(this, kFrameEvent); }

  void DoEvent(int event, unsigned long) override {
    if (event != kFrameEvent) return;
    char name[32];
    std::snprintf(name, sizeof name, "frames %d", ++frames_);
    SetChannelName(name);
  }

 private:
  int frames_ = 0;
};

ChannelType MakeRecord() {
  ChannelType record;
  CopyText(record.name, "Outside Channel", sizeof(record.name) - 1);
  record.guid = kOutsideType;
  record.baseGuid = kOutsideType;
  return record;
}

ChannelType record = MakeRecord();

}  // namespace

VARNEL_PLUGIN_C_API ChannelType* GetType() { return &record; }

VARNEL_PLUGIN_C_API DllInterface* InitDLL() { return new OutsideChannel(); }

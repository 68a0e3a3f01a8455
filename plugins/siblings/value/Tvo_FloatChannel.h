#pragma once

#include "EngineCoreExport.h"
#include "Guid.h"
#include "Tvk_Channel.h"

// The value channel type. Channels whose type record names it as their base
// are value channels: other channels read and write them through the value
// operations below.
inline constexpr GUID kValueChannelType{0x91C5F2E8, 0x3A07, 0x4B6D, {0x8E, 0x19, 0xC4, 0xB2, 0x7A, 0x05, 0xD6, 0xE3}};

// A channel that holds one float. Derived value channels compute their value
// and store it in `value_`; the value operations come after those of
// Tvk_Channel, in this order, for every plug-in compiled against this class.
class VARNEL_PLUGIN_CLASS Tvo_FloatChannel : public Tvk_Channel {
 public:
  Tvo_FloatChannel();
  ~Tvo_FloatChannel() override;

  bool SaveChannel(TvkFileSaver& saver) override;
  bool LoadChannel(TvkFileLoader& loader, Tvk_ChannelGroup* group) override;

  virtual float GetFloat();
  // The value before the last SetFloat.
  virtual float GetOldFloat();
  virtual void SetFloat(float value);
  virtual float GetDefaultFloat();
  virtual void SetDefaultFloat(float value);
  // With the default setting on, a loaded channel starts from its default
  // value instead of the value it was saved with.
  virtual bool GetDefaultFloatSetting();
  virtual void SetDefaultFloatSetting(bool useDefault);

 protected:
  float value_;
  float oldValue_;
  float defaultValue_;
  bool useDefault_;
};

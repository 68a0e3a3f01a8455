#pragma once

#include <cstdint>

#include "Guid.h"
#include "Tvo_FloatChannel.h"

inline constexpr GUID kFrameTimeType{0xC4A19E27, 0x6B3D, 0x4F08, {0xA5, 0xE2, 0x91, 0xD0, 0x7B, 0x3C, 0x6F, 0x84}};

// The frame-time channel: a value channel whose value is the duration of the
// last frame in units of 1/25 second, measured between two frame events.
// SetFloat replaces the value until the next frame measures again, which
// lets a test or a script pin it.
class Tvo_FrameTime final : public Tvo_FloatChannel {
 public:
  static ChannelType* TypeRecord();

  ~Tvo_FrameTime() override;
  void OneTimeInitialize() override;
  void DoEvent(int event, unsigned long data) override;

 private:
  bool registered_ = false;
  bool measured_ = false;
  std::uint32_t lastTick_ = 0;
};

#include "Tvo_FrameTime.h"

#include "EngineInterface.h"
#include "Platform.h"
#include "SiblingType.h"

namespace {

constexpr int kFrameEvent = 0;
constexpr float kMillisecondsPerUnit = 40.0f;  // 1/25 second

}  // namespace

ChannelType* Tvo_FrameTime::TypeRecord() {
  static ChannelType record = [] {
    ChannelType type = MakeSiblingType("Frame Time", kFrameTimeType);
    type.baseGuid = kValueChannelType;  // read like any other value channel
    return type;
  }();
  return &record;
}

Tvo_FrameTime::~Tvo_FrameTime() {
  if (registered_ && engine_) engine_->RemoveChannelFromEvent(this, kFrameEvent);
}

void Tvo_FrameTime::OneTimeInitialize() {
  if (registered_ || !engine_) return;
  engine_->AddChannelToEvent(this, kFrameEvent);
  registered_ = true;
}

// The tick counter is 32 bits and wraps; the unsigned difference stays right
// across the wrap.
void Tvo_FrameTime::DoEvent(int event, unsigned long) {
  if (event != kFrameEvent) return;
  const std::uint32_t now = platform::GetTickCount();
  if (measured_) SetFloat(static_cast<float>(now - lastTick_) / kMillisecondsPerUnit);
  lastTick_ = now;
  measured_ = true;
}

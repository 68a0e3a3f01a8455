#pragma once

#include "Guid.h"
#include "Tvk_Channel.h"

// The engine-wide loader that loads groups in the background over the
// following frames. It is a unique channel of an outside plug-in type; the
// engine uses these three operations of it.
inline constexpr GUID kDynamicGroupLoaderType{
    0xE5728C3B, 0x9A14, 0x4F60, {0xB2, 0xD7, 0x71, 0xF0, 0x8E, 0x3A, 0x5C, 0x29}};

class ENGINECORE_API Tvo_DynamicGroupLoader : public Tvk_Channel {
 public:
  // Queues the file for loading under the pool name.
  virtual void QueueGroupLoad(const char* completeFilePath, const char* poolName) = 0;
  // The group of this pool is about to be loaded directly.
  virtual void NotifyDirectLoad(const char* poolName) = 0;
  // No load queued before this call is carried out afterwards.
  virtual void CancelPendingLoads() = 0;
};

#pragma once

#include "EngineCoreExport.h"

class EngineInterface;
class Tvk_Channel;

// An observer that hears of channels about to be deleted. It registers with the
// engine named by `globalEngine` when constructed and leaves it when destroyed.
class ENGINECORE_API EngineListener {
 public:
  EngineListener();
  virtual ~EngineListener();
  virtual void OnAboutToReleaseChannel(Tvk_Channel* channel);

  EngineListener(const EngineListener&) = delete;
  EngineListener& operator=(const EngineListener&) = delete;

 private:
  EngineInterface* engine_;
};

#include "EngineListener.h"

#include "DllInterface.h"
#include "EngineInterface.h"

EngineListener::EngineListener() : engine_(globalEngine) {
  if (engine_) engine_->AddListener(this);
}

EngineListener::~EngineListener() {
  if (engine_) engine_->RemoveListener(this);
}

void EngineListener::OnAboutToReleaseChannel(Tvk_Channel*) {}

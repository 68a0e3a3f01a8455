#pragma once

#include "EngineCoreExport.h"
#include "PlatformTypes.h"

class EngineInterface;

// The engine and the plug-in module of an object created by a plug-in. The
// engine sets both globals under its plug-in lock just before a plug-in builds
// a channel, so constructors can reach the engine.
ENGINECORE_API extern EngineInterface* globalEngine;
ENGINECORE_API extern HINSTANCE globalDllInstance;

class ENGINECORE_API DllInterface {
 public:
  DllInterface();
  virtual ~DllInterface();

  HINSTANCE GetDllInstance() const { return dllInstance_; }
  EngineInterface* GetEngineInterface() const { return engine_; }
  // The engine stores both again after a plug-in's InitDLL, whatever the
  // constructors did.
  void SetDllInterface(HINSTANCE instance, EngineInterface* engine) {
    dllInstance_ = instance;
    engine_ = engine;
  }

 protected:
  HINSTANCE dllInstance_;
  EngineInterface* engine_;
};

#include "DllInterface.h"

EngineInterface* globalEngine = nullptr;
HINSTANCE globalDllInstance = nullptr;

// The engine sets both globals under its plug-in lock just before a plug-in
// constructs a channel, so this picks up the engine and the plug-in module.
DllInterface::DllInterface() : dllInstance_(globalDllInstance), engine_(globalEngine) {}

DllInterface::~DllInterface() = default;

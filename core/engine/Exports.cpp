// The library's C entry points for hosts.

#include <new>

#include "ChannelType.h"
#include "EngineControl.h"

EngineControl* GetEngineControlInstance() { return new (std::nothrow) EngineControl(); }

int GetEngineVersion() { return kEngineVersion; }

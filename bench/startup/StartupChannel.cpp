// What every start-up plug-in makes: a plain channel. Compiled once and linked
// into all of them.

#include "EngineCoreExport.h"
#include "Tvk_Channel.h"

VARNEL_PLUGIN_C_API DllInterface* InitDLL() { return new Tvk_Channel(); }

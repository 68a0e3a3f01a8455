#pragma once

// Everything the engine core offers to hosts and plug-ins carries ENGINECORE_API;
// the rest of the library is hidden. Plug-ins that export classes of their own
// use the same default visibility through their own macro.
#define ENGINECORE_API __attribute__((visibility("default")))
#define ENGINECORE_C_API extern "C" __attribute__((visibility("default")))

// What a channel plug-in exports: `GetType` and `InitDLL`, undecorated, and any
// classes it offers to other plug-ins.
#define VARNEL_PLUGIN_C_API extern "C" __attribute__((visibility("default")))
#define VARNEL_PLUGIN_CLASS __attribute__((visibility("default")))

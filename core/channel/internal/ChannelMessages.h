#pragma once

// Channels emit through the engine they were created with; a channel built
// without an engine stays silent rather than dereferencing nothing.

#include "EngineInterface.h"

namespace channel_messages {

inline void Error(EngineInterface* engine, const char* text) {
  if (engine) engine->showErrorMessage(text);
}

inline void UserInfo(EngineInterface* engine, const char* text) {
  if (engine) engine->showUserInfoMessage(text);
}

inline void UserInfo(EngineInterface* engine, int value) {
  if (engine) engine->showUserInfoMessage(value);
}

// The ext part is where the engine keeps its bookkeeping of public channels;
// null before the engine is fully built.
inline EngineInterfaceExt* Ext(EngineInterface* engine) { return engine ? engine->engineInterfaceExt : nullptr; }

}  // namespace channel_messages

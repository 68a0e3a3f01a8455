#include "Diagnostics.h"

// The sink: null until the engine control installs its error log, or a host
// installs a sink of its own.
DebugOutPut* debugOutPut = nullptr;

DebugMessage::DebugMessage() : messageType_(kMessageDebug) {}

DebugMessage::~DebugMessage() = default;

const char* DebugMessage::GetDebugMessage() { return message_.GetString(); }

int DebugMessage::GetMessageType() { return messageType_; }

void DebugMessage::SetDebugMessage(const char* text) { message_.SetString(text); }

void DebugMessage::SetMessageType(int type) { messageType_ = type; }

DebugOutPut::DebugOutPut() : useDebug_(true) {}

DebugOutPut::~DebugOutPut() = default;

void DebugOutPut::ShowDebugMessage(DebugMessage* message) {}

void DebugOutPut::SetUseDebug(bool use) { useDebug_ = use; }

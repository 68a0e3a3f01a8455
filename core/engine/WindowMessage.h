#pragma once

#include <cstdint>

#include "PlatformTypes.h"

// The data of engine event 1: a channel that handles the event reads the
// message in this field order.
struct WindowMessage {
  std::uint32_t message;
  WPARAM wParam;
  LPARAM lParam;
  HWND window;
};

// The two event codes the engine dispatches.
enum EngineEvent { kEventFrame = 0, kEventWindowMessage = 1 };

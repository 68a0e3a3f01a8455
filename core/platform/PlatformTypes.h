#pragma once

#include <cstdint>

// Handles of the host platform, opaque to the engine: a module (a loaded
// library or the host's executable) and a window.
struct ModuleHandleTag;
struct WindowHandleTag;
using HINSTANCE = ModuleHandleTag*;
using HWND = WindowHandleTag*;

// Window message parameters are pointer-sized so that a message can carry an
// address on 64-bit hosts.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;

#pragma once

#include "Guid.h"
#include "Tvk_Channel.h"

// The file dialog is a channel of an outside plug-in type; the engine needs
// one operation of it.
inline constexpr GUID kFileDialogType{0x4C19E7A2, 0x6B30, 0x4F85, {0x9D, 0x2A, 0x1E, 0x7B, 0x05, 0xC4, 0xA9, 0x3F}};
inline constexpr int kFileDialogPathSize = 260;

class ENGINECORE_API Tvo_FileDialogChannel : public Tvk_Channel {
 public:
  // Leaves the chosen path, or the empty text when cancelled, in `path`
  // (kFileDialogPathSize bytes). Answers whether a path was chosen.
  virtual bool OpenFileDialog(const char* filter, const char* defaultExtension, char* path) = 0;
};

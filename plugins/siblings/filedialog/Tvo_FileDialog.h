#pragma once

#include <string>

#include "FileDialogChannel.h"

// The environment variable that answers the dialog before anything else.
inline constexpr const char* kOpenFileVariable = "VARNEL_OPEN_FILE";
// The settings value under the engine's key that answers it otherwise.
inline constexpr const char* kOpenFileSetting = "OpenFile";

// The file dialog without a window: the chosen file is the one named by
// VARNEL_OPEN_FILE, else by the setting "OpenFile", else none (cancelled).
// Filter and default extension are not applied: whoever names the file chose it.
class Tvo_FileDialog final : public Tvo_FileDialogChannel {
 public:
  static ChannelType* TypeRecord();

  ChannelType GetChannelType() override;
  bool OpenFileDialog(const char* filter, const char* defaultExtension, char* path) override;

 private:
  bool TakePath(const std::string& chosen, char* path);
  bool FromSettings(char* path);
};

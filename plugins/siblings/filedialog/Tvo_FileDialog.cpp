#include "Tvo_FileDialog.h"

#include <cstring>
#include <optional>
#include <string>

#include "BoundedText.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "Platform.h"
#include "SiblingType.h"

namespace {
constexpr int kPathMaxChars = kFileDialogPathSize - 1;
}

ChannelType* Tvo_FileDialog::TypeRecord() {
  static ChannelType record = MakeSiblingType("File Dialog", kFileDialogType);
  return &record;
}

ChannelType Tvo_FileDialog::GetChannelType() { return *TypeRecord(); }

// The environment wins over the settings, so a run can choose without
// touching the stored value.
bool Tvo_FileDialog::OpenFileDialog(const char*, const char*, char* path) {
  if (!path) return false;
  path[0] = '\0';
  const std::optional<std::string> chosen = platform::GetEnvironmentValue(kOpenFileVariable);
  if (chosen && !chosen->empty()) return TakePath(*chosen, path);
  return FromSettings(path);
}

// A path too long for the buffer is refused rather than cut: a cut path would
// name another file. Refused counts as cancelled.
bool Tvo_FileDialog::TakePath(const std::string& chosen, char* path) {
  if (chosen.size() > static_cast<std::size_t>(kPathMaxChars)) {
    if (engine_)
      engine_->showErrorMessage("File dialog: the path in VARNEL_OPEN_FILE is too long, characters:",
                                static_cast<int>(chosen.size()));
    return false;
  }
  CopyText(path, chosen.c_str(), kPathMaxChars);
  return true;
}

// The store fills exactly the size it is given, so one byte stays for the
// terminator. A value too long for the buffer is not found.
bool Tvo_FileDialog::FromSettings(char* path) {
  if (!engine_ || !engine_->engineInterfaceExt) return false;
  if (!engine_->engineInterfaceExt->GetRegData(kOpenFileSetting, path, kPathMaxChars)) {
    path[0] = '\0';
    return false;
  }
  path[kPathMaxChars] = '\0';
  return path[0] != '\0';
}

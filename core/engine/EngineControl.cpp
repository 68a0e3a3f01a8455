// The host's control object: start-up, projects, the frame, shut-down.

#include "EngineControl.h"

#include <new>

#include "BoundedText.h"
#include "Diagnostics.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "FileDialogChannel.h"
#include "Platform.h"
#include "Tvk_ChannelGroup.h"

bool engineControlHosted = false;

namespace {

void ShowErrorBox(const char* text) {
  platform::ShowModalMessageBox(nullptr, text, "Varnel Error", platform::MessageBoxIcon::Error,
                                platform::MessageBoxButtons::Ok);
}

}  // namespace

EngineControl::EngineControl()
    : engineInterface_(nullptr),
      startGroup_(nullptr),
      commandLine_{},
      initialized_(false),
      errorLog_(nullptr),
      inLoop_(false),
      installDir_{},
      registryKey_{} {}

EngineControl::~EngineControl() {
  if (!initialized_) {
    if (engineInterface_) {
      engineInterface_->showErrorMessage(
          "EngineControl: Engine is already deleted or being deleted at this time. Request to release engine is "
          "ignored.");
    }
    return;
  }
  initialized_ = false;
  engineInterface_->engineInterfaceExt->Release();
  delete engineInterface_;
  engineInterface_ = nullptr;
  // The error log goes last, so messages emitted while the engine releases still reach it.
  delete errorLog_;
  errorLog_ = nullptr;
  debugOutPut = nullptr;
}

bool EngineControl::InitEngine(HINSTANCE instance, char* className, HWND window) {
  initialized_ = false;
  engineControlHosted = true;

  engineInterface_ = new (std::nothrow) EngineInterface();
  if (engineInterface_) {
    engineInterface_->engineInterfaceExt->SetInstallDir(installDir_);
    engineInterface_->engineInterfaceExt->SetVarnelRegKey(registryKey_);
    // The log reads its "WriteErrorLog" setting, so the key is set first.
    errorLog_ = new ErrorLogOutPut(engineInterface_);
    debugOutPut = errorLog_;
  }
  if (!engineInterface_) {
    platform::ShowModalMessageBox(nullptr, "EngineControl::InitEngine: Out of memory", "Varnel Error",
                                  platform::MessageBoxIcon::None, platform::MessageBoxButtons::Ok);
    return false;
  }

  if (engineInterface_->engineInterfaceExt->InitEngine(instance, className)) {
    engineInterface_->engineInterfaceExt->SetWindowHandle(window);
    initialized_ = true;
    return true;
  }

  ShowErrorBox("An error occured during the initalization of Varnel");
  delete errorLog_;
  errorLog_ = nullptr;
  debugOutPut = nullptr;
  engineInterface_->engineInterfaceExt->Release();
  delete engineInterface_;
  engineInterface_ = nullptr;
  return false;
}

int EngineControl::LoadProject() {
  if (!engineInterface_) return kProjectUnreadable;
  EngineInterfaceExt* ext = engineInterface_->engineInterfaceExt;

  char path[260] = {};
  if (commandLine_[0]) {
    CopyText(path, commandLine_, 258);
  } else {
    Tvk_Channel* channel = engineInterface_->InitChannelFromType(kFileDialogType, nullptr, false);
    if (!channel) {
      ShowErrorBox(
          "The varnel viewer was unable to start the file dialog module. Please re-install the viewer package.");
      return kProjectUnreadable;
    }
    auto* dialog = static_cast<Tvo_FileDialogChannel*>(channel);
    dialog->OpenFileDialog("Varnel file (*.vnl)", "vnl", path);
    path[sizeof(path) - 1] = '\0';
    delete dialog;  // it never joins a group
  }

  ext->ReleaseGroups();
  startGroup_ = nullptr;  // it was one of the groups just deleted
  if (!path[0]) return kProjectNoFile;

  int result = ext->InitializeVNLFile(path);
  if (result != kProjectLoaded) return result;
  startGroup_ = ext->GetVNLStartGroup();
  return startGroup_ ? kProjectLoaded : kProjectStartGroupFailed;
}

void EngineControl::EngineLoop() {
  // A channel that pumps window messages during a frame can make the host call
  // in again; that nested call does nothing.
  if (inLoop_ || !initialized_) return;
  inLoop_ = true;
  EngineInterfaceExt* ext = engineInterface_->engineInterfaceExt;
  ext->IncreaseTreeCount();
  startGroup_ = engineInterface_->GetChannelGroup(ext->GetStartGroup());
  if (startGroup_) startGroup_->CallStartChannel();
  inLoop_ = false;
}

void EngineControl::SetCommandLine(char* text) {
  if (text) CopyText(commandLine_, text, sizeof(commandLine_) - 1);
}

EngineInterface* EngineControl::GetEngineInterface() { return engineInterface_; }

void EngineControl::ProcessWindowMessage(HWND window, unsigned int message, WPARAM wParam, LPARAM lParam) {
  if (engineInterface_ && initialized_) {
    engineInterface_->engineInterfaceExt->ProcessWindowMessage(window, message, wParam, lParam);
  }
}

void EngineControl::SetInstallDir(const char* dir) {
  if (dir) CopyText(installDir_, dir, sizeof(installDir_) - 1);
}

void EngineControl::SetVarnelRegKey(const char* key) {
  if (key) CopyText(registryKey_, key, sizeof(registryKey_) - 1);
}

bool EngineControl::GetIfKeepRunningApplication() {
  return engineInterface_ ? engineInterface_->engineInterfaceExt->GetIfKeepRunningApplication() : false;
}

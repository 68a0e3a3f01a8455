#pragma once

#include "EngineCoreExport.h"
#include "PlatformTypes.h"

class EngineInterface;
class ErrorLogOutPut;
class Tvk_ChannelGroup;

// LoadProject's answers.
enum LoadProjectResult {
  kProjectLoaded = 0,
  kProjectUnreadable = 1,
  kProjectRefused = 2,
  kProjectNoFile = 3,
  kProjectStartGroupFailed = 4,
};

// The one object a host talks to.
class ENGINECORE_API EngineControl {
 public:
  EngineControl();
  virtual ~EngineControl();

  virtual int LoadProject();
  virtual bool InitEngine(HINSTANCE instance, char* className, HWND window);
  virtual void EngineLoop();
  virtual void SetCommandLine(char* text);
  virtual EngineInterface* GetEngineInterface();
  virtual void ProcessWindowMessage(HWND window, unsigned int message, WPARAM wParam, LPARAM lParam);
  virtual void SetInstallDir(const char* dir);
  virtual void SetVarnelRegKey(const char* key);
  virtual bool GetIfKeepRunningApplication();

  EngineControl(const EngineControl&) = delete;
  EngineControl& operator=(const EngineControl&) = delete;

  // The start group of the last frame (or of the last LoadProject), for hosts.
  Tvk_ChannelGroup* GetStartGroupOfLastFrame() const { return startGroup_; }

 private:
  EngineInterface* engineInterface_;
  Tvk_ChannelGroup* startGroup_;
  char commandLine_[1000];
  bool initialized_;
  ErrorLogOutPut* errorLog_;
  bool inLoop_;
  char installDir_[400];
  char registryKey_[600];
};

ENGINECORE_C_API EngineControl* GetEngineControlInstance();
ENGINECORE_C_API int GetEngineVersion();

// Set by every InitEngine of an EngineControl; tells the channel directory scan
// that the engine runs under a host's control object.
ENGINECORE_API extern bool engineControlHosted;

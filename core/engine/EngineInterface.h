#pragma once

#include "ChannelType.h"
#include "Diagnostics.h"
#include "EngineCoreExport.h"
#include "Guid.h"
#include "PlatformTypes.h"
#include "Tvk_List.h"

class Engine;
class EngineInterfaceExt;
class EngineListener;
class Tvk_Channel;
class Tvk_ChannelGroup;

// The API every channel holds in its engine_ field. Plug-ins call these
// operations through their virtual slots, so their order is fixed.
class ENGINECORE_API EngineInterface {
 public:
  EngineInterface();
  virtual ~EngineInterface();

  virtual const char* GetInstallDir();
  virtual const char* GetEngineClassName();
  virtual HINSTANCE GetEngineInstance();
  virtual HWND GetWindowHandle();
  virtual int GetTreeCalculateCount();
  virtual void SetTreeCalculateCount(int count);
  virtual Tvk_ChannelGroup* CreateNewGroup(const char* poolName, bool array, int poolNr);
  virtual Tvk_ChannelGroup* GetChannelGroup(const char* fileName, int poolNr);
  virtual Tvk_ChannelGroup* GetChannelGroup(int index);
  virtual Tvk_ChannelGroup* GetPoolGroup(const char* poolName, int poolNr);
  virtual Tvk_ChannelGroup* LoadChannelGroup(const char* fileName, const char* poolName);
  virtual int GetHighInstance(const char* poolName);
  virtual void DeleteChannelGroup(int index);
  virtual int GetChannelGroupCount();
  virtual Tvk_Channel* InitChannelFromType(GUID type, Tvk_ChannelGroup* group, bool createChildren);
  virtual Tvk_Channel* InitChannelFromType(ChannelType type, Tvk_ChannelGroup* group, bool createChildren);
  virtual Tvk_Channel* GetUniqueChannel(GUID type, const char* name);
  virtual Tvk_Channel* GetUniqueChannel(ChannelType type, const char* name);
  virtual void AddChannelToEvent(Tvk_Channel* channel, int code);
  virtual void RemoveChannelFromEvent(Tvk_Channel* channel, int code);
  virtual bool GetGraphRunning();

  void AddListener(EngineListener* listener);
  void RemoveListener(EngineListener* listener);
  void AboutToReleaseChannel(Tvk_Channel* channel);

  EngineInterface(const EngineInterface&) = delete;
  EngineInterface& operator=(const EngineInterface&) = delete;

  ShowDebugMessage showDebugMessage;
  ShowErrorMessage showErrorMessage;
  ShowInfoMessage showInfoMessage;
  ShowMessageBox showMessageBox;
  ShowUserInfoMessage showUserInfoMessage;
  ShowUserWarningMessage showUserWarningMessage;
  ShowUserErrorMessage showUserErrorMessage;
  EngineInterfaceExt* engineInterfaceExt;

 private:
  friend class EngineInterfaceExt;
  Engine* engineImpl_;
  Tvk_List listeners_;
};

#pragma once

// The state of one running engine. Not exported: channels and hosts reach it
// through EngineInterface and EngineInterfaceExt only.

#include "ChannelType.h"
#include "Guid.h"
#include "PlatformTypes.h"
#include "Tvk_List.h"
#include "WindowMessage.h"

class ChannelList;
class DllInterface;
class EngineInterface;
class Tvk_Channel;
class Tvk_ChannelGroup;
class Tvk_Tread;
struct PublicCallInfo;

struct PublicChannelRequest {
  Tvk_Channel* channel;
  int key;  // the pool number the public call is bound to
};

struct EventTarget {
  Tvk_Channel* channel;
  int code;
};

inline constexpr int kTreeCountWrap = 30000;
// currentEvent_ after Release: nothing is dispatched any more.
inline constexpr int kEventReleased = -3;

class Engine {
 public:
  Engine();
  virtual ~Engine();

  virtual const char* GetInstallDir();
  virtual Tvk_ChannelGroup* CreateNewGroup(const char* poolName, bool array, int poolNr);
  virtual void DeleteChannelGroup(int index);
  virtual int GetChannelGroupCount();
  virtual void ReleaseGroups();
  virtual void CheckPublicChannelRemoval(Tvk_Channel* channel, int poolNr);
  virtual void CheckPublicCallChannelRemoval(Tvk_Channel* channel);
  virtual void CheckInterfaceChange(const char* poolName, Tvk_Channel* publicChannel);
  virtual Tvk_Channel* GetPublicChannel(PublicCallInfo* info);
  virtual bool AddChannelRequest(int poolNr, Tvk_Channel* channel);
  virtual void CheckChannelRequest(Tvk_ChannelGroup* group, int poolNr, Tvk_Channel* channel);
  virtual HWND GetWindowHandle();
  virtual void SetWindowHandle(HWND window);
  virtual void SetEngineInterface(EngineInterface* engine);
  virtual bool SetRegData(const char* valueName, const char* text);
  virtual bool GetRegData(const char* valueName, char* text, int size);
  virtual Tvk_Tread* GetNewTread();
  virtual void KillTread(Tvk_Tread* thread);
  virtual Tvk_Tread* GetTreadFromID(int id);
  virtual int GetCurrentEvent();
  virtual void DoEvent(int code, unsigned long data);
  virtual void AddChannelToEvent(Tvk_Channel* channel, int code);
  virtual void RemoveChannelFromEvent(Tvk_Channel* channel, int code);
  virtual void ProcessWindowMessage(HWND window, unsigned int message, WPARAM wParam, LPARAM lParam);
  virtual void SetStartGroup(int index);
  virtual int GetStartGroup();

  const char* GetEngineClassName() const { return className_; }
  HINSTANCE GetEngineInstance() const { return engineInstance_; }
  int GetTreeCalculateCount() const { return treeCount_; }
  void SetTreeCalculateCount(int count) { treeCount_ = count; }
  Tvk_ChannelGroup* GetChannelGroup(int index);
  Tvk_ChannelGroup* GetChannelGroup(const char* fileName, int poolNr);
  Tvk_ChannelGroup* GetPoolGroup(const char* poolName, int poolNr);
  int GetHighInstance(const char* poolName);
  Tvk_ChannelGroup* LoadChannelGroup(const char* fileName, const char* poolName);
  int AddGroup(Tvk_ChannelGroup* group);
  void IncreaseTreeCount();
  void UpdateChannelTree();
  void DoLinkPoolToChannel(Tvk_Channel* channel);
  void Release();
  void SetInstallDir(const char* dir);
  void SetVarnelRegKey(const char* key);
  const char* GetVarnelRegKey() const { return registryKey_; }
  bool IsInitialized() const { return initialized_; }
  ChannelList* GetChannelList() const { return channelList_; }
  Tvk_ChannelGroup* GetUniqueChannelGroup() const { return uniqueChannels_; }
  int GetLibraryCount() const { return libraries_.GetItemCount(); }
  HINSTANCE GetLibrary(int index) const { return static_cast<HINSTANCE>(libraries_.GetItem(index)); }

  // Plug-in loading and channel creation.
  bool InitEngine(HINSTANCE instance, const char* className);
  Tvk_Channel* InitChannelFromType(GUID type, Tvk_ChannelGroup* group, bool createChildren);
  Tvk_Channel* InitChannelFromType(const ChannelType& type, Tvk_ChannelGroup* group, bool createChildren);
  Tvk_Channel* CreateChannelFromDLL(const char* file, Tvk_ChannelGroup* group, bool createChildren);
  Tvk_Channel* GetUniqueChannel(GUID type, const char* name);
  Tvk_Channel* GetUniqueChannel(const ChannelType& type, const char* name);
  int GetUniqueChannelCount();
  ChannelType GetDLLType(HINSTANCE instance);
  ChannelType GetDLLType(const char* file);
  DllInterface* GetDLLInstance(const char* file);

  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

 private:
  bool SamePoolName(Tvk_ChannelGroup* group, const char* poolName) const;
  void DeleteAllRequests();
  void CancelDynamicGroupLoads();
  DllInterface* CallInitDLL(HINSTANCE instance);
  DllInterface* LoadPluginLibrary(const char* file);
  Tvk_Channel* CreateChannelFromInstance(HINSTANCE instance, Tvk_ChannelGroup* group, bool createChildren);
  void CreateAutomaticChildren(Tvk_Channel* channel, Tvk_ChannelGroup* group);

  Tvk_ChannelGroup* uniqueChannels_;
  Tvk_List groups_;
  int treeCount_;
  ChannelList* channelList_;
  HWND windowHandle_;
  Tvk_List channelRequests_;
  char className_[260];
  HINSTANCE engineInstance_;
  char installDir_[300];
  char registryKey_[300];
  EngineInterface* engineInterface_;
  bool initialized_;
  Tvk_List threads_;
  Tvk_List libraries_;
  Tvk_List eventTargets_;
  int currentEvent_;
  WindowMessage windowMessage_;
  int startGroup_;
  Tvk_List poolLinkQueue_;
};

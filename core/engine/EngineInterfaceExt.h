#pragma once

#include "ChannelType.h"
#include "EngineCoreExport.h"
#include "PlatformTypes.h"

class ChannelList;
class ChannelPoolManagement;
class DllInterface;
class EngineInterface;
class ProjectPackageLoader;
class Tvk_Channel;
class Tvk_ChannelGroup;
class Tvk_Tread;
class TvkFileLoader;
class Tvo_FileLoaderChannel;
struct PublicCallInfo;

inline constexpr int kDebugLineCount = 10;
inline constexpr int kDebugLineSize = 300;

// The extended engine API, owned by the EngineInterface. Its virtual slot order
// is part of the plug-in interface.
class ENGINECORE_API EngineInterfaceExt {
 public:
  EngineInterfaceExt();
  virtual ~EngineInterfaceExt();

  virtual void SetInstallDir(const char* dir);
  virtual void ProcessWindowMessage(HWND window, unsigned int message, WPARAM wParam, LPARAM lParam);
  virtual int GetInterfaceID();
  virtual bool InitEngine(HINSTANCE instance, const char* className);
  virtual void UpdateChannelTree();
  virtual void ReleaseGroups();
  virtual void CheckPublicChannelRemoval(Tvk_Channel* channel, int poolNr);
  virtual void CheckPublicCallChannelRemoval(Tvk_Channel* channel);
  virtual void CheckInterfaceChange(const char* poolName, Tvk_Channel* publicChannel);
  virtual void IncreaseTreeCount();
  virtual Tvk_Channel* GetPublicChannel(PublicCallInfo* info);
  virtual bool AddChannelRequest(int poolNr, Tvk_Channel* channel);
  virtual void CheckChannelRequest(Tvk_ChannelGroup* group, int poolNr, Tvk_Channel* channel);
  virtual DllInterface* GetDLLInstance(const char* file);
  virtual Tvk_Channel* CreateChannelFromDLL(const char* file, Tvk_ChannelGroup* group, bool createChildren);
  virtual void SetWindowHandle(HWND window);
  virtual ChannelList* GetChannelList();
  virtual void DebugOut(const char* text, int line);
  virtual const char* GetDebug(int line);
  virtual void KillTread(Tvk_Tread* thread);
  virtual void SetIfTrackChannelCalling(bool track);
  virtual void SetGraphRunning(bool running);
  virtual bool GetGraphRunning();
  virtual int InitializeVNLFile(const char* path);
  virtual Tvk_ChannelGroup* GetVNLStartGroup();
  virtual void SetStartGroup(int index);
  virtual int GetStartGroup();
  virtual void Release();
  virtual int GetUniqueChannelCount();
  virtual void SetVarnelRegKey(const char* key);
  virtual void TranslateFile(Tvo_FileLoaderChannel* fileChannel);
  virtual void TranslateFile(TvkFileLoader* loader);
  virtual bool SetRegData(const char* valueName, const char* text);
  virtual bool GetRegData(const char* valueName, char* text, int size);
  virtual Tvk_Tread* GetNewTread();
  virtual Tvk_Tread* GetTreadFromID(int id);
  virtual int GetCurrentEvent();
  virtual bool GetIfKeepRunningApplication();
  virtual void SetIfKeepRunningApplication(bool keepRunning);
  virtual void DoLinkPoolToChannel(Tvk_Channel* channel);
  virtual ChannelPoolManagement* GetChannelPoolManagement();
  virtual bool GetInitialized();
  virtual void SetInitialized(bool initialized);

  void SetEngineInterface(EngineInterface* engine);
  // Read on the hot path of every child lookup, hence inline.
  bool GetIfTrackChannelCalling() const { return trackChannelCalling_; }
  ChannelType GetDLLType(const char* file);
  ChannelType GetDLLType(HINSTANCE instance);

  EngineInterfaceExt(const EngineInterfaceExt&) = delete;
  EngineInterfaceExt& operator=(const EngineInterfaceExt&) = delete;

 private:
  class Engine* GetEngine() const;

  bool trackChannelCalling_;
  bool graphRunning_;
  ProjectPackageLoader* projectLoader_;
  EngineInterface* engineInterface_;
  char debugStrings_[kDebugLineCount][kDebugLineSize];
  bool keepRunningApplication_;
  ChannelPoolManagement* channelPoolManagement_;
  bool initialized_;
};

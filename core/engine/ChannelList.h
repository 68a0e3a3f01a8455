#pragma once

#include "ChannelType.h"
#include "EngineCoreExport.h"
#include "Guid.h"
#include "PlatformTypes.h"
#include "Tvk_List.h"

class EngineInterface;
class Tvk_Channel;

// One plug-in file and the type record its GetType returned. The first two
// fields (392 bytes) are what "channels.lst" stores per entry.
struct ChannelListItem {
  ChannelType type;
  char fileName[260];
  bool loadFailed = false;
  HINSTANCE dllInstance = nullptr;
};

// Joins channel type GUIDs to plug-in files, cached between runs.
class ENGINECORE_API ChannelList {
 public:
  explicit ChannelList(EngineInterface* engine);
  virtual ~ChannelList();

  virtual bool CreateChannelList();
  virtual bool SaveChannelList();
  virtual bool LoadChannelList();
  virtual void SortChannelList();
  virtual void Release();
  virtual void AddDirectory(char* directory, int unused);
  virtual ChannelListItem* GetItem(GUID type);
  virtual ChannelListItem* GetItem(int index);
  virtual int GetItemCount();
  virtual ChannelType GetChannelType(GUID type);
  virtual void SetChannelDir(char* directory);
  virtual void CheckChannelUpdate(Tvk_Channel* channel);
  virtual void SetVersionInfo(GUID type, int versions[3]);

  ChannelList(const ChannelList&) = delete;
  ChannelList& operator=(const ChannelList&) = delete;

 private:
  // Whether an entry names this file already.
  bool Named(const char* fileName);

  Tvk_List items_;
  char channelDir_[260];
  EngineInterface* engineInterface_;
};

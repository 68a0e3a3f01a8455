#pragma once

#include <cstdint>

#include "EngineCoreExport.h"
#include "EngineInterface.h"
#include "Guid.h"
#include "PlatformTypes.h"
#include "Tvk_List.h"
#include "Tvk_String.h"

class EngineInterface;
class SmartChannel;
class Tvk_Channel;
class TvkFileLoader;
class TvkFileSaver;
struct PublicCallInfo;

// A pending link: the channel at childIndexNr becomes a child of `channel`.
struct ChannelRequestInfo {
  std::int32_t childIndexNr;
  std::int32_t targetChannel;
  Tvk_Channel* channel;
  std::int32_t linkPosition;  // -1: the first position that accepts the child
};

// One entry of a group's parameter interface; the same 56 bytes are written to
// group files.
struct ParameterInterfaceInfo {
  char name[40];
  GUID typeGuid;
};
static_assert(sizeof(ParameterInterfaceInfo) == 56, "ParameterInterfaceInfo is stored raw in group files");
inline constexpr int kParameterNameMaxChars = 38;

// The parameter a TVO_PARAMETER channel stands for.
struct ParameterInfo {
  std::int32_t parameterNr = 0;
};

inline constexpr int kGroupTreeCountWrap = 30000;

// An indexed set of channels saved and loaded together. The group owns its
// channels; removing one leaves a hole so the others keep their indices.
class ENGINECORE_API Tvk_ChannelGroup {
 public:
  Tvk_ChannelGroup();
  explicit Tvk_ChannelGroup(EngineInterface* engine);
  virtual ~Tvk_ChannelGroup();

  virtual void Release();
  virtual bool SaveChannelGroup(TvkFileSaver& saver);
  virtual bool SaveChannelGroup(const char* fileName);
  virtual bool LoadChannelGroupFromFile(const char* fileName, bool asPoolInstance);
  virtual bool LoadChannelGroupFromBuffer(const char* fileName, int size, char* data, bool asPoolInstance);
  virtual bool LoadChannelGroup(TvkFileLoader& loader, bool asPoolInstance);
  virtual int GetGroupIndex();
  virtual void SetGroupIndex(int index);
  virtual void AddChannelRequest(ChannelRequestInfo info);
  virtual void CheckPublicChannels();
  virtual void CheckRequestListForIndex(int index);
  virtual int AddChannel(Tvk_Channel* channel);
  virtual bool RemoveChannel(Tvk_Channel* channel);
  virtual bool RemoveChannel(int index);
  virtual bool TransferChannel(int index, Tvk_ChannelGroup* target);
  virtual int GetChannelCount();
  virtual Tvk_Channel* GetChannel(const char* name);
  virtual Tvk_Channel* GetChannel(int index);
  virtual void SetChannel(Tvk_Channel* channel, int index);
  virtual const char* GetChannelGroupFileName();
  virtual bool GetIfChannelInGroup(Tvk_Channel* channel);
  virtual Tvk_Channel* GetPublicChannel(PublicCallInfo* info);
  virtual void CheckPublicChannelRemoval(Tvk_Channel* removed, int nr);
  virtual void CallStartChannel();
  virtual void SetStartChannel(int index);
  virtual int GetStartChannel();
  virtual int GetPoolNr();
  virtual void SetPoolNr(int nr);
  virtual const char* GetPoolName();
  virtual void SetPoolName(const char* name);
  virtual Tvk_Channel* GetParameterChannel(int parameterNr);
  virtual void SetParameterChannel(Tvk_Channel* channel);
  virtual int GetParameterCount();
  virtual ParameterInterfaceInfo GetParameterInfo(int index);
  virtual void SetParameterInfo(ParameterInterfaceInfo info, int index);
  virtual int AddParameterInfo(ParameterInterfaceInfo info);
  virtual void RemoveParameterInfo(int index);
  virtual bool CheckDuplicatePublicChannelName(Tvk_Channel* channel);
  virtual void CheckInterfaceChange(const char* poolName, Tvk_Channel* publicChannel);
  virtual GUID GetUniqueGroupGuid();
  virtual void SetChannelGroupFileName(const char* fileName);
  virtual bool GetIfArrayGroup();
  virtual void SetIfArrayGroup(bool array);
  virtual HWND GetParentWindow();
  virtual void SetParentWindow(HWND window);
  virtual bool GetReadOnly();
  virtual void SetReadOnly(bool readOnly);
  virtual void SetChannelTypeChangeSave(int index, GUID type);
  virtual int GetChannelTypeChangeSave(GUID* type);

  // The engine's count plus the group's own: what CheckRenderCount compares.
  int GetTreeCalculateCount() { return (engine_ ? engine_->GetTreeCalculateCount() : 0) + treeCount_; }
  void IncreaseTreeCount();
  EngineInterface* GetEngineInterface() const { return engine_; }

  Tvk_ChannelGroup(const Tvk_ChannelGroup&) = delete;
  Tvk_ChannelGroup& operator=(const Tvk_ChannelGroup&) = delete;

 private:
  void Initialise(EngineInterface* engine);

  bool readOnly_;
  Tvk_List channels_;
  Tvk_List requests_;
  Tvk_String fileName_;
  Tvk_String poolName_;
  std::int32_t groupIndex_;
  std::int32_t startChannel_;
  std::int32_t poolNr_;
  SmartChannel* parameterChannel_;
  Tvk_List parameterInfos_;
  std::int32_t treeCount_;
  GUID uniqueGroupGuid_;
  bool arrayGroup_;
  bool releasing_;
  EngineInterface* engine_;
  HWND parentWindow_;
  std::int32_t typeChangeSaveIndex_;
  GUID typeChangeSaveGuid_;
};

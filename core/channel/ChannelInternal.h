#pragma once

#include <cstdint>

#include "ChildLinks.h"
#include "EngineCoreExport.h"
#include "PublicCallInfo.h"
#include "Tvk_List.h"

class Tvk_Channel;
class Tvk_ChannelGroup;
struct ChannelPoolInfo;
struct ParameterInfo;
struct PoolItem;

// The channel operations that are not members of Tvk_Channel. Stateless; the
// library exports exactly one instance, `channelInternal`. Every operation
// takes the channel first.
class ENGINECORE_API ChannelInternal {
 public:
  ChannelInternal() = default;
  virtual ~ChannelInternal();

  virtual int SetChildByType(Tvk_Channel* parent, Tvk_Channel* child, int targetChannel);
  virtual void RemoveChildPosition(Tvk_Channel* channel, int index);
  virtual void RemoveChild(Tvk_Channel* parent, Tvk_Channel* child);
  virtual void RecalculateNodeOffsets(Tvk_Channel* channel);
  virtual void SortChilderen(Tvk_Channel* channel);
  virtual int GetChildCreationCount(Tvk_Channel* channel);
  virtual int GetChildLinkPosition(Tvk_Channel* channel, int index);
  virtual bool CheckChannelRequest(Tvk_Channel* channel, int childIndexNr, int targetChannel, Tvk_Channel* child,
                                   int linkPosition);
  virtual void SetChannelIDIndexNr(Tvk_Channel* channel, int indexNr);
  virtual void SetChannelGroup(Tvk_Channel* channel, Tvk_ChannelGroup* group);
  virtual bool GetIfExternalChild(Tvk_Channel* channel, int index);
  virtual bool SetPublicCallInfo(Tvk_Channel* channel, PublicCallInfo info);
  virtual PublicCallInfo GetPublicCallInfo(Tvk_Channel* channel);
  virtual void SetAutoLoadGroup(Tvk_Channel* channel, bool on);
  virtual void SetDynamicAutoLoadGroup(Tvk_Channel* channel, bool on);
  virtual bool GetAutoLoadGroup(Tvk_Channel* channel);
  virtual bool GetDynamicAutoLoadGroup(Tvk_Channel* channel);
  virtual void CheckPublicChannelInstanceRemoval(Tvk_Channel* caller, Tvk_Channel* removed, int nr);
  virtual bool CheckPublicChannelRequest(Tvk_Channel* caller, Tvk_Channel* candidate, int nr, const char* poolName);
  virtual void SetRequestedPublicChannelNr(Tvk_Channel* channel, int nr);
  virtual void DoPublicChannelNameCheck(Tvk_Channel* channel);
  virtual ParameterInfo* GetParameterInfo(Tvk_Channel* channel);
  virtual void SetParameterInfo(Tvk_Channel* channel, int parameterNr);
  virtual void SetParameterInfo(Tvk_Channel* channel, ParameterInfo info);
  virtual int GetChannelGetChildTime(Tvk_Channel* channel);
  virtual void UpdateCallingTime(Tvk_Channel* channel);
  virtual bool GetIgnoreTreeCount(Tvk_Channel* channel);
  virtual void SetIgnoreTreeCount(Tvk_Channel* channel, bool ignore);
  virtual void GetChannelDepenency(Tvk_Channel* channel, Tvk_List* dependencies);
  virtual void ReleaseChilderen(Tvk_Channel* channel);

  // Child links.
  ChildInfo* GetChildInfo(Tvk_Channel* channel, int index);
  Tvk_Channel* GetInternalChild(Tvk_Channel* channel, int index);
  ChildCreation* GetChildCreateType(Tvk_Channel* channel, int linkPosition);

  // Public calls.
  Tvk_Channel* GetPublicChannelForPublicCall(Tvk_Channel* channel, bool forCall);

  // Public interfaces.
  void ReCreateChildInterface(Tvk_Channel* channel);
  void CreatePublicInterface(Tvk_Channel* channel);
  void AddInterfaceItem(Tvk_Channel* channel, int parameterNr);
  void RemoveInterfaceItem(Tvk_Channel* channel, int index);
  void SwapInterfaceItems(Tvk_Channel* channel, int first, int second);
  bool GetIfUsePublicInterface(Tvk_Channel* channel);
  int GetPublicInterfaceCount(Tvk_Channel* channel);
  int GetPublicInterfaceItemNr(Tvk_Channel* channel, int index);
  int TranslateGroupInterfaceNr(Tvk_Channel* channel, int parameterNr);

  // Calculation passes.
  void SetTreeCountMode(Tvk_Channel* channel, std::uint8_t mode);
  std::uint8_t GetTreeCountMode(Tvk_Channel* channel);
  std::uint8_t GetTreeRecalculateCount(Tvk_Channel* channel);

  // Pools.
  void AddChannelToPool(Tvk_Channel* channel, char* path);
  void RemoveChannelFromPool(Tvk_Channel* channel, char* path);
  void AddPoolToChannel(Tvk_Channel* channel, char* path);
  void RemovePoolFromChannel(Tvk_Channel* channel, char* path);
  ChannelPoolInfo* GetChannelPoolInfo(Tvk_Channel* channel);
  void AddChannelsFromPoolToPoolInfo(Tvk_Channel* channel, PoolItem* pool);
  void RecalculateChannelPoolInfo(Tvk_Channel* channel);
};

ENGINECORE_API extern ChannelInternal channelInternal;

#pragma once

#include <cstdint>

#include "ChannelType.h"
#include "ChildLinks.h"
#include "DllInterface.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "EngineCoreExport.h"
#include "Guid.h"
#include "Tvk_List.h"
#include "Tvk_ChannelGroup.h"

class Tvk_ChannelGroup;
class TvkFileLoader;
class TvkFileSaver;
class ChannelInternal;
struct ChannelPoolInfo;
struct ParameterInfo;
struct PublicCallInfo;
struct PublicInterfaceInfo;

// How other channels reach a channel.
enum ChannelInterfaceType : int {
  TVO_PRIVATE = 0,
  TVO_PUBLIC = 1,
  TVO_PUBLICCALL = 2,
  TVO_PARAMETER = 3,
  TVO_CUSTOMCHANNELGET = 4,
  TVO_PUBLICCUSTOMCHANNELGET = 5,
};

inline constexpr int kChannelNameMaxChars = 500;

// The base class of every channel. Plug-ins derive from it and override its
// virtual operations, whose order is part of the plug-in interface.
class ENGINECORE_API Tvk_Channel : public DllInterface {
 public:
  Tvk_Channel();
  ~Tvk_Channel() override;

  virtual void CallChannel();
  virtual void OneTimeInitialize();
  virtual void DoEvent(int event, unsigned long data);
  virtual ChannelType GetChannelType();
  virtual bool SaveChannel(TvkFileSaver& saver);
  virtual bool LoadChannel(TvkFileLoader& loader, Tvk_ChannelGroup* group);
  virtual void SetChannelInterfaceType(int type);
  virtual Tvk_Channel* GetChannelFromChannel(Tvk_Channel* caller, ChildInfo* node);
  virtual std::uint32_t GetTimeStamp();
  virtual void SetTimeStamp();
  virtual void DoDependencyInit(Tvk_List* dependencies);
  virtual void CheckIndexNrRemoval(int indexNr);
  virtual Tvk_Channel* GetInternalChild(int index);

  Tvk_Channel(const Tvk_Channel&) = delete;
  Tvk_Channel& operator=(const Tvk_Channel&) = delete;

  // Names and identity.
  void SetChannelName(const char* name);
  const char* GetChannelName() const { return channelName_; }
  Tvk_ChannelGroup* GetChannelGroup() const { return channelGroup_; }
  int GetChannelIDIndexNr() const { return channelIDIndexNr_; }
  int GetChannelInterfaceType() const { return interfaceType_; }

  // Links to children.
  void SetChildCreationCount(int count);
  void SetChildCreateType(ChildCreation creation, int linkPosition);
  int GetChildCount() const { return children_.GetItemCount(); }
  ChildInfo* GetChildInfo(int index) const { return static_cast<ChildInfo*>(children_.GetItem(index)); }
  Tvk_Channel* GetChild(int index);
  int SetChild(Tvk_Channel* channel, int targetChannel, int linkPosition);
  int GetChildLinkPositionCount(int linkPosition);
  Tvk_Channel* GetChildFromLinkPosition(int linkPosition, int n);
  int GetChildTypeCount(GUID type);
  Tvk_Channel* GetChildFromLinkGuid(GUID type, int n);
  void RemoveChild(int index);
  void RemoveChildren();

  // Dependencies.
  void AddChannelGuidDepend(GUID type, Tvk_List* dependencies);
  void AddDLLDepend(const char* dllName, Tvk_List* dependencies);

  // Pools.
  int GetPoolChannelCount();
  Tvk_Channel* GetPoolChannel(int index);
  bool GetIfUsePoolChannel() const { return usePoolChannel_; }
  void SetIfUsePoolChannel(bool use) { usePoolChannel_ = use; }
  void LinkPoolToChannel();

 protected:
  // True on the first visit in the current calculation pass.
  bool CheckRenderCount();

 private:
  // GetChild while calling times are tracked, and the resolution of children
  // that stand for other channels: both off the hot path.
  Tvk_Channel* GetTrackedChild(int index);
  Tvk_Channel* ResolveLinkedChild(Tvk_Channel* child, ChildInfo* node);

 private:
  friend class ChannelInternal;
  friend class Tvk_ChannelGroup;

  ChannelType* channelType_;
  std::int32_t lastTreeCount_;
  std::int32_t channelIDIndexNr_;
  std::int32_t interfaceType_;
  PublicCallInfo* publicCallInfo_;
  ParameterInfo* parameterInfo_;
  Tvk_List children_;
  Tvk_List childCreations_;
  Tvk_List* linkRequests_;
  Tvk_List* publicCallPending_;
  Tvk_List* publicCallTargets_;
  char* channelName_;
  Tvk_ChannelGroup* channelGroup_;
  bool placeholderLinks_;
  std::uint32_t getChildTime_;
  bool ignoreTreeCount_;
  std::uint32_t timeStamp_;
  bool dynamicLoadRequested_;
  std::uint8_t treeCountMode_;
  std::uint8_t treeRecalculateCount_;
  bool usePoolChannel_;
  Tvk_List* poolNames_;
  ChannelPoolInfo* channelPoolInfo_;
  PublicInterfaceInfo* publicInterface_;
  Tvk_List* interfaceTranslation_;
};

// The walk down the graph runs through these two on every visit of every
// frame, hence inline.
inline Tvk_Channel* Tvk_Channel::GetChild(int index) {
  if (engine_ && engine_->engineInterfaceExt && engine_->engineInterfaceExt->GetIfTrackChannelCalling())
    return GetTrackedChild(index);
  ChildInfo* node = GetChildInfo(index);
  if (!node || !node->channel) return nullptr;
  Tvk_Channel* child = node->channel;
  if (child->interfaceType_ == TVO_PRIVATE || child->interfaceType_ == TVO_PUBLIC) return child;
  return ResolveLinkedChild(child, node);
}

inline bool Tvk_Channel::CheckRenderCount() {
  if (ignoreTreeCount_) {
    treeRecalculateCount_ = 0;
    return true;
  }
  int count;
  if (channelGroup_) {
    count = channelGroup_->GetTreeCalculateCount();
  } else if (engine_) {
    count = engine_->GetTreeCalculateCount();
  } else {
    return true;  // no pass to compare with
  }
  if (count == lastTreeCount_) {
    ++treeRecalculateCount_;  // 255 wraps to 0
    return false;
  }
  lastTreeCount_ = count;
  treeRecalculateCount_ = 0;
  return true;
}

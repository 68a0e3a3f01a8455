#pragma once

#include "EngineCoreExport.h"

class EngineInterface;
class Tvk_Channel;

// Handles that hold a channel by its group's registry index and its index
// number and look it up again whenever asked, so a deleted channel is noticed
// without any notification. Neither owns its channel.
class ENGINECORE_API GChannel {
 public:
  GChannel() = default;
  virtual void SetChannel(Tvk_Channel* channel);
  virtual Tvk_Channel* GetChannel();

 private:
  int groupIndex_ = -1;
  int channelIndexNr_ = -1;
  Tvk_Channel* channel_ = nullptr;
  EngineInterface* engine_ = nullptr;
};

class ENGINECORE_API SmartChannel {
 public:
  SmartChannel();
  explicit SmartChannel(EngineInterface* engine);
  virtual ~SmartChannel();
  virtual bool SetChannel(Tvk_Channel* channel);
  virtual Tvk_Channel* GetInternalChannel();
  virtual Tvk_Channel* GetChannel();

 private:
  int groupIndex_;
  int channelIndexNr_;
  Tvk_Channel* channel_;
  EngineInterface* engine_;
};

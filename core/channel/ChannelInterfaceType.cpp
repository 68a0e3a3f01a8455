// How a channel's interface type changes. Public calls and parameter channels
// keep their type for good; a custom-get channel can only become public.

#include "ChannelInternal.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "PublicCallInfo.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "internal/ChannelMessages.h"

namespace {

bool IsPublicType(int type) { return type == TVO_PUBLIC || type == TVO_PUBLICCUSTOMCHANNELGET; }

}  // namespace

void Tvk_Channel::SetChannelInterfaceType(int type) {
  if (interfaceType_ == TVO_PUBLICCALL) {
    channel_messages::Error(engine_, "Tvk_Channel::SetChannelInterfaceType interface can't be changed TVO_PUBLICCALL");
    return;
  }
  if (interfaceType_ == TVO_PARAMETER) {
    channel_messages::Error(engine_, "Tvk_Channel::SetChannelInterfaceType interface can't be changed TVO_PARAMETER");
    return;
  }
  if (interfaceType_ == TVO_CUSTOMCHANNELGET && type != TVO_PUBLICCUSTOMCHANNELGET) {
    channel_messages::Error(engine_,
                            "Tvk_Channel::SetChannelInterfaceType interface can't be changed TVO_CUSTOMCHANNELGET");
    return;
  }
  // A channel that stops being public, whatever it becomes, must not stay the
  // resolved target of public calls.
  if (IsPublicType(interfaceType_) && !IsPublicType(type) && channelGroup_) {
    if (EngineInterfaceExt* ext = channel_messages::Ext(engine_))
      ext->CheckPublicChannelRemoval(this, channelGroup_->GetPoolNr());
  }

  interfaceType_ = type;
  delete parameterInfo_;
  parameterInfo_ = nullptr;
  delete publicCallInfo_;
  publicCallInfo_ = nullptr;
  delete publicCallTargets_;
  publicCallTargets_ = nullptr;

  if (IsPublicType(type)) {
    channelInternal.DoPublicChannelNameCheck(this);
  } else if (type == TVO_PUBLICCALL) {
    channelInternal.ReleaseChilderen(this);
    publicCallInfo_ = new PublicCallInfo;
    delete interfaceTranslation_;
    interfaceTranslation_ = new Tvk_List;
  } else if (type == TVO_PARAMETER) {
    channelInternal.ReleaseChilderen(this);
    parameterInfo_ = new ParameterInfo;
  }
}

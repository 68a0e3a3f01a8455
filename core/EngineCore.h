#pragma once

// Everything a host or a channel plug-in needs of the engine core.

#include "EngineCoreExport.h"
#include "PlatformTypes.h"
#include "Platform.h"

#include "BoundedText.h"
#include "ChannelType.h"
#include "Diagnostics.h"
#include "FilePathFind.h"
#include "Guid.h"
#include "Tvk_List.h"
#include "Tvk_String.h"
#include "Tvk_Tread.h"

#include "ChannelDependency.h"
#include "ChannelHandles.h"
#include "ChannelInternal.h"
#include "ChannelPools.h"
#include "ChildLinks.h"
#include "PublicCallInfo.h"
#include "Tvk_Channel.h"

#include "Tvk_ChannelGroup.h"

#include "ChannelList.h"
#include "DllInterface.h"
#include "DynamicGroupLoader.h"
#include "EngineControl.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"
#include "EngineListener.h"
#include "FileDialogChannel.h"
#include "ProjectPackageLoader.h"
#include "WindowMessage.h"

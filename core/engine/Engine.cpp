#include "Engine.h"

#include "BoundedText.h"
#include "ChannelList.h"
#include "EngineInterface.h"
#include "Tvk_Channel.h"
#include "Tvk_ChannelGroup.h"
#include "Platform.h"
#include "Tvk_Tread.h"

Engine::Engine()
    : uniqueChannels_(nullptr),
      treeCount_(0),
      channelList_(nullptr),
      windowHandle_(nullptr),
      className_{},
      engineInstance_(nullptr),
      installDir_{},
      registryKey_{},
      engineInterface_(nullptr),
      initialized_(false),
      currentEvent_(-1),
      windowMessage_{},
      startGroup_(0) {}

// Release has normally emptied everything and only the list arrays remain; an
// engine deleted without it still frees what it owns.
Engine::~Engine() {
  for (int i = 0; i < groups_.GetItemCount(); ++i) DeleteChannelGroup(i);
  DeleteAllRequests();
  delete channelList_;
  delete uniqueChannels_;
  for (int i = 0; i < eventTargets_.GetItemCount(); ++i) delete static_cast<EventTarget*>(eventTargets_.GetItem(i));
  groups_.ReleaseItems();
  channelRequests_.ReleaseItems();
  threads_.ReleaseItems();
  libraries_.ReleaseItems();
  eventTargets_.ReleaseItems();
  poolLinkQueue_.ReleaseItems();
}

const char* Engine::GetInstallDir() { return installDir_; }

void Engine::SetInstallDir(const char* dir) {
  if (dir) CopyText(installDir_, dir, sizeof(installDir_) - 1);
}

void Engine::SetVarnelRegKey(const char* key) {
  if (key) CopyText(registryKey_, key, sizeof(registryKey_) - 1);
}

HWND Engine::GetWindowHandle() { return windowHandle_; }

void Engine::SetWindowHandle(HWND window) {
  if (window) windowHandle_ = window;
}

void Engine::SetEngineInterface(EngineInterface* engine) {
  engineInterface_ = engine;
  uniqueChannels_ = new Tvk_ChannelGroup(engine);
  channelList_ = new ChannelList(engine);
}

void Engine::SetStartGroup(int index) { startGroup_ = index; }

int Engine::GetStartGroup() { return startGroup_; }

void Engine::IncreaseTreeCount() {
  treeCount_ = treeCount_ >= kTreeCountWrap ? 0 : treeCount_ + 1;
  if (uniqueChannels_) uniqueChannels_->IncreaseTreeCount();
  if (poolLinkQueue_.GetItemCount() > 0) {
    // A channel re-laid here may queue further channels; they are reached too.
    for (int i = 0; i < poolLinkQueue_.GetItemCount(); ++i) {
      auto* channel = static_cast<Tvk_Channel*>(poolLinkQueue_.GetItem(i));
      if (channel) channel->LinkPoolToChannel();
    }
    poolLinkQueue_.ClearItems();
  }
  DoEvent(kEventFrame, 0);
}

void Engine::UpdateChannelTree() {
  Tvk_ChannelGroup* group = GetChannelGroup(startGroup_);
  if (group) group->CallStartChannel();
}

void Engine::DoLinkPoolToChannel(Tvk_Channel* channel) {
  for (int i = 0; i < poolLinkQueue_.GetItemCount(); ++i) {
    if (poolLinkQueue_.GetItem(i) == channel) return;
  }
  poolLinkQueue_.AddItem(channel);
}

void Engine::Release() {
  engineInterface_->showErrorMessage("Libraries loaded : ", libraries_.GetItemCount());
  CancelDynamicGroupLoads();
  initialized_ = false;
  currentEvent_ = kEventReleased;

  for (int i = 0; i < threads_.GetItemCount(); ++i) {
    auto* thread = static_cast<Tvk_Tread*>(threads_.GetItem(i));
    if (thread) thread->ExitThread();
  }

  for (int i = 0; i < groups_.GetItemCount(); ++i) DeleteChannelGroup(i);
  groups_.ClearItems();

  DeleteAllRequests();

  delete channelList_;  // writes the channel list file
  channelList_ = nullptr;

  // Closing a finished worker removes its handle from the list through KillTread,
  // so each slot is read again after the close.
  for (int i = 0; i < threads_.GetItemCount(); ++i) {
    auto* thread = static_cast<Tvk_Tread*>(threads_.GetItem(i));
    if (!thread) continue;
    thread->CloseTread();
    if (threads_.GetItem(i) == thread) {
      delete thread;
      threads_.SetItem(nullptr, i);
    }
  }
  threads_.ClearItems();

  delete uniqueChannels_;
  uniqueChannels_ = nullptr;

  for (int i = 0; i < eventTargets_.GetItemCount(); ++i) delete static_cast<EventTarget*>(eventTargets_.GetItem(i));
  eventTargets_.ClearItems();

  for (int i = libraries_.GetItemCount() - 1; i >= 0; --i) {
    platform::UnloadLibrary(static_cast<HINSTANCE>(libraries_.GetItem(i)));
  }
  libraries_.ClearItems();
}

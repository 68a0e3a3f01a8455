// Event registrations and their dispatch, window messages, worker threads.

#include "Engine.h"
#include "Tvk_Channel.h"
#include "Tvk_Tread.h"

int Engine::GetCurrentEvent() { return currentEvent_; }

void Engine::DoEvent(int code, unsigned long data) {
  if (currentEvent_ == kEventReleased) return;
  currentEvent_ = code;
  // The length is read again at every step: a channel that registers during the
  // dispatch is reached in the same dispatch when it lands behind the position.
  for (int i = 0; i < eventTargets_.GetItemCount(); ++i) {
    auto* target = static_cast<EventTarget*>(eventTargets_.GetItem(i));
    if (target && target->code == code) target->channel->DoEvent(code, data);
  }
}

void Engine::AddChannelToEvent(Tvk_Channel* channel, int code) {
  if (!channel || code < 0) return;
  eventTargets_.AddItem(new EventTarget{channel, code});
}

void Engine::RemoveChannelFromEvent(Tvk_Channel* channel, int code) {
  if (!channel) return;
  for (int i = 0; i < eventTargets_.GetItemCount();) {
    auto* target = static_cast<EventTarget*>(eventTargets_.GetItem(i));
    if (target && target->channel == channel && target->code == code) {
      delete target;
      eventTargets_.RemoveItem(i);
      i = 0;
    } else {
      ++i;
    }
  }
}

void Engine::ProcessWindowMessage(HWND window, unsigned int message, WPARAM wParam, LPARAM lParam) {
  windowMessage_.message = message;
  windowMessage_.wParam = wParam;
  windowMessage_.lParam = lParam;
  windowMessage_.window = window;
  DoEvent(kEventWindowMessage, reinterpret_cast<unsigned long>(&windowMessage_));
}

// ---- worker threads ----------------------------------------------------------------

Tvk_Tread* Engine::GetNewTread() {
  auto* thread = new Tvk_Tread();
  thread->SetClassID(threads_.AddItemOrNULL(thread));
  return thread;
}

void Engine::KillTread(Tvk_Tread* thread) {
  if (!thread) return;
  if (thread->GetIfTreadRunning()) {
    // Closing a finished worker calls back here, which then takes the branch below.
    thread->CloseTread();
    return;
  }
  for (int i = 0; i < threads_.GetItemCount(); ++i) {
    if (threads_.GetItem(i) == thread) {
      threads_.SetItem(nullptr, i);
      delete thread;
      return;
    }
  }
}

Tvk_Tread* Engine::GetTreadFromID(int id) { return static_cast<Tvk_Tread*>(threads_.GetItem(id)); }

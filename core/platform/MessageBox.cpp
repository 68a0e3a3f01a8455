// Modal message boxes. The engine runs headless as often as under a host with
// a window, so the box itself is whatever the host installs; without a host
// handler the box is written to standard error and answered at once.

#include <cstdio>
#include <unistd.h>
#include <mutex>

#include "Platform.h"

namespace platform {
namespace {

std::mutex& HandlerMutex() {
  static std::mutex mutex;
  return mutex;
}

MessageBoxHandler& InstalledHandler() {
  static MessageBoxHandler handler;
  return handler;
}

MessageBoxAnswer AnswerWithoutHandler(const MessageBoxRequest& request) {
  std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
  std::fflush(stderr);
  return request.buttons == MessageBoxButtons::RetryCancel ? MessageBoxAnswer::Cancel : MessageBoxAnswer::Ok;
}

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  std::lock_guard<std::mutex> lock(HandlerMutex());
  MessageBoxHandler previous = std::move(InstalledHandler());
  InstalledHandler() = std::move(handler);
  return previous;
}

MessageBoxAnswer ShowModalMessageBox(HWND owner, const char* text, const char* caption, MessageBoxIcon icon,
                                     MessageBoxButtons buttons) {
  MessageBoxRequest request;
  request.owner = owner;
  request.text = text != nullptr ? text : "";
  request.caption = caption != nullptr ? caption : "";
  request.icon = icon;
  request.buttons = buttons;
  // The handler runs outside the lock: it may show a box of its own or
  // replace itself while it runs.
  MessageBoxHandler handler;
  {
    std::lock_guard<std::mutex> lock(HandlerMutex());
    handler = InstalledHandler();
  }
  return handler ? handler(request) : AnswerWithoutHandler(request);
}

bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

}  // namespace platform

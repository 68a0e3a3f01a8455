#include <cstdio>

#include "BoundedText.h"
#include "Diagnostics.h"
#include "Platform.h"

namespace {

// The composition limits: the first text is cut to kTextCut characters; a
// second text may bring the whole to kTwoTextsTotal, a number only to kTextCut.
constexpr std::size_t kTextCut = 498;
constexpr std::size_t kTwoTextsTotal = 598;

// Large enough for any value printed with 50 significant digits.
constexpr std::size_t kNumberSize = 64;

}  // namespace

ShowDebugMessage::~ShowDebugMessage() = default;

void ShowDebugMessage::Deliver(const char* text, int type, const char* caption) {
  if (!text) return;
  DebugMessage message;
  message.SetDebugMessage(text);
  message.SetMessageType(type);
  if (debugOutPut) {
    debugOutPut->ShowDebugMessage(&message);
  } else {
    platform::ShowModalMessageBox(nullptr, text, caption, platform::MessageBoxIcon::None,
                                  platform::MessageBoxButtons::Ok);
  }
}

void ShowDebugMessage::ShowMessage(const char* text) { Deliver(text, kMessageDebug, "Debug"); }

void ShowDebugMessage::operator()(const char* text) {
  if (!debugOutPut || !text) return;
  ShowMessage(text);
}

void ShowDebugMessage::operator()(const char* text, const char* more) {
  if (!debugOutPut || !text) return;
  char composed[kTwoTextsTotal + 1];
  CopyText(composed, text, kTextCut);
  AppendText(composed, " ", kTwoTextsTotal);
  if (more) AppendText(composed, more, kTwoTextsTotal);
  ShowMessage(composed);
}

void ShowDebugMessage::operator()(const char* text, int value) {
  if (!debugOutPut) return;
  char number[32];
  std::snprintf(number, sizeof number, "%d", value);
  char composed[kTextCut + 1];
  CopyText(composed, text, kTextCut);
  AppendText(composed, " ", kTextCut);
  AppendText(composed, number, kTextCut);
  ShowMessage(composed);
}

void ShowDebugMessage::operator()(const char* text, float value) {
  if (!debugOutPut) return;
  char number[64];
  std::snprintf(number, sizeof number, "%.5g", static_cast<double>(value));
  char composed[kTextCut + 1];
  CopyText(composed, text, kTextCut);
  AppendText(composed, " ", kTextCut);
  AppendText(composed, number, kTextCut);
  ShowMessage(composed);
}

void ShowDebugMessage::operator()(float value) { (*this)(static_cast<double>(value)); }

// Integers print exactly; for every value a double holds exactly this is what
// the general format with 50 digits gives too.
void ShowDebugMessage::operator()(int value) {
  if (!debugOutPut) return;
  char number[kNumberSize];
  std::snprintf(number, sizeof number, "%d", value);
  ShowMessage(number);
}

void ShowDebugMessage::operator()(unsigned long value) {
  if (!debugOutPut) return;
  char number[kNumberSize];
  std::snprintf(number, sizeof number, "%lu", value);
  ShowMessage(number);
}

void ShowDebugMessage::operator()(double value) {
  if (!debugOutPut) return;
  char number[kNumberSize];
  std::snprintf(number, sizeof number, "%.50g", value);
  ShowMessage(number);
}

void ShowDebugMessage::operator()(GUID value) {
  if (!debugOutPut) return;
  char text[37];
  GuidToText(value, text);
  ShowMessage(text);
}

// Each emitter class differs only in its message type and fallback caption.
ShowErrorMessage::~ShowErrorMessage() = default;
void ShowErrorMessage::ShowMessage(const char* text) { Deliver(text, kMessageError, "Error"); }

ShowInfoMessage::~ShowInfoMessage() = default;
void ShowInfoMessage::ShowMessage(const char* text) { Deliver(text, kMessageInfo, "Info"); }

ShowMessageBox::~ShowMessageBox() = default;
void ShowMessageBox::ShowMessage(const char* text) { Deliver(text, kMessageBox, "Message"); }

ShowUserInfoMessage::~ShowUserInfoMessage() = default;
void ShowUserInfoMessage::ShowMessage(const char* text) { Deliver(text, kMessageUserInfo, "Error"); }

ShowUserWarningMessage::~ShowUserWarningMessage() = default;
void ShowUserWarningMessage::ShowMessage(const char* text) { Deliver(text, kMessageUserWarning, "Error"); }

ShowUserErrorMessage::~ShowUserErrorMessage() = default;
void ShowUserErrorMessage::ShowMessage(const char* text) { Deliver(text, kMessageUserError, "Error"); }

#include <cstdio>
#include <cstring>

#include "BoundedText.h"
#include "Diagnostics.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"

namespace {

// A text that gets a number appended may be this long; two joined texts may
// be this long together.
constexpr std::size_t kTextWithNumberMax = 350;
constexpr std::size_t kJoinedTextsMax = 399;

constexpr std::size_t kComposedSize = kJoinedTextsMax + 1;

void WriteLine(EngineInterface* engine, const char* text, int line) {
  if (engine && engine->engineInterfaceExt) engine->engineInterfaceExt->DebugOut(text, line);
}

void WriteNumber(EngineInterface* engine, const char* format, double value, int line) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  WriteLine(engine, text, line);
}

void WriteTextAndNumber(EngineInterface* engine, const char* text, const char* number, int line) {
  if (!text || std::strlen(text) > kTextWithNumberMax) return;
  char composed[kComposedSize];
  CopyText(composed, text, kTextWithNumberMax);
  AppendText(composed, number, kComposedSize - 1);
  WriteLine(engine, composed, line);
}

}  // namespace

void ShowDebug::operator()(const char* text, int line) {
  if (text) WriteLine(engine_, text, line);
}

void ShowDebug::operator()(float value, int line) { WriteNumber(engine_, "%.10g", value, line); }

// Every 32-bit integer has at most 10 digits, so the general format with 10
// significant digits prints them exactly.
void ShowDebug::operator()(int value, int line) { WriteNumber(engine_, "%.10g", value, line); }

void ShowDebug::operator()(unsigned int value, int line) { WriteNumber(engine_, "%.10g", value, line); }

void ShowDebug::operator()(double value, int line) { WriteNumber(engine_, "%.10g", value, line); }

void ShowDebug::operator()(const char* text, float value, int line) {
  if (!engine_) return;
  char number[32];
  std::snprintf(number, sizeof number, "%.10g", static_cast<double>(value));
  WriteTextAndNumber(engine_, text, number, line);
}

void ShowDebug::operator()(const char* text, int value, int line) {
  if (!engine_) return;
  char number[16];
  std::snprintf(number, sizeof number, "%d", value);
  WriteTextAndNumber(engine_, text, number, line);
}

void ShowDebug::operator()(const char* text, const char* more, int line) {
  if (!engine_ || !text || !more) return;
  std::size_t textLength = std::strlen(text);
  if (textLength > kJoinedTextsMax || textLength + std::strlen(more) > kJoinedTextsMax) return;
  char composed[kComposedSize];
  CopyText(composed, text, kJoinedTextsMax);
  AppendText(composed, more, kJoinedTextsMax);
  WriteLine(engine_, composed, line);
}

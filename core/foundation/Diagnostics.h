#pragma once

// Every message of the system travels one road: an emitter turns a text (and
// maybe a number, a second text or a GUID) into a DebugMessage and hands it to
// the one process-wide sink `debugOutPut`.

#include "EngineCoreExport.h"
#include "Guid.h"
#include "Tvk_String.h"

class EngineInterface;

enum MessageType {
  kMessageDebug = 0,
  kMessageError = 1,
  kMessageInfo = 2,
  kMessageBox = 3,
  kMessageUserInfo = 4,
  kMessageUserWarning = 5,
  kMessageUserError = 6,
};

class ENGINECORE_API DebugMessage {
 public:
  DebugMessage();
  virtual ~DebugMessage();
  virtual const char* GetDebugMessage();
  virtual int GetMessageType();
  virtual void SetDebugMessage(const char* text);
  virtual void SetMessageType(int type);

 private:
  Tvk_String message_;
  int messageType_;
};

// The sink. The base class ignores every message; hosts install subclasses.
class ENGINECORE_API DebugOutPut {
 public:
  DebugOutPut();
  virtual ~DebugOutPut();
  virtual void ShowDebugMessage(DebugMessage* message);
  virtual void SetUseDebug(bool use);

 protected:
  bool useDebug_;
};

ENGINECORE_API extern DebugOutPut* debugOutPut;

// The engine's sink: appends to "error.log" in the install directory when the
// setting "WriteErrorLog" allows it, and shows message-box messages.
class ENGINECORE_API ErrorLogOutPut : public DebugOutPut {
 public:
  explicit ErrorLogOutPut(EngineInterface* engine);
  ~ErrorLogOutPut() override;
  void ShowDebugMessage(DebugMessage* message) override;

 private:
  bool writeErrorLog_;
  EngineInterface* engine_;
};

// The emitters. They hold no state; every operator first checks that a sink is
// installed and is silent otherwise.
class ENGINECORE_API ShowDebugMessage {
 public:
  ShowDebugMessage() = default;
  virtual ~ShowDebugMessage();
  virtual void ShowMessage(const char* text);

  void operator()(const char* text);
  void operator()(const char* text, const char* more);
  void operator()(const char* text, int value);
  void operator()(const char* text, float value);
  void operator()(float value);
  void operator()(int value);
  void operator()(unsigned long value);
  void operator()(double value);
  void operator()(GUID value);

 protected:
  // Builds the message with the given code; falls back on a platform message
  // box with the caption when no sink is installed.
  static void Deliver(const char* text, int type, const char* caption);
};

class ENGINECORE_API ShowErrorMessage : public ShowDebugMessage {
 public:
  ~ShowErrorMessage() override;
  void ShowMessage(const char* text) override;
};
class ENGINECORE_API ShowInfoMessage : public ShowDebugMessage {
 public:
  ~ShowInfoMessage() override;
  void ShowMessage(const char* text) override;
};
class ENGINECORE_API ShowMessageBox : public ShowDebugMessage {
 public:
  ~ShowMessageBox() override;
  void ShowMessage(const char* text) override;
};
class ENGINECORE_API ShowUserInfoMessage : public ShowDebugMessage {
 public:
  ~ShowUserInfoMessage() override;
  void ShowMessage(const char* text) override;
};
class ENGINECORE_API ShowUserWarningMessage : public ShowDebugMessage {
 public:
  ~ShowUserWarningMessage() override;
  void ShowMessage(const char* text) override;
};
class ENGINECORE_API ShowUserErrorMessage : public ShowDebugMessage {
 public:
  ~ShowUserErrorMessage() override;
  void ShowMessage(const char* text) override;
};

// Writes short texts into the engine's ten debug lines.
class ENGINECORE_API ShowDebug {
 public:
  ShowDebug() : engine_(nullptr) {}
  explicit ShowDebug(EngineInterface* engine) : engine_(engine) {}

  void operator()(const char* text, int line);
  void operator()(float value, int line);
  void operator()(int value, int line);
  void operator()(unsigned int value, int line);
  void operator()(double value, int line);
  void operator()(const char* text, float value, int line);
  void operator()(const char* text, int value, int line);
  void operator()(const char* text, const char* more, int line);

  EngineInterface* engine_;
};

#pragma once

#include <atomic>
#include <cstdint>

#include "EngineCoreExport.h"
#include "Platform.h"

class EngineInterface;
class Tvk_Tread;

// A worker: a channel derives from it and overrides TreadFunction, which runs
// on a thread of its own. Stopping is cooperative: the worker polls its flags.
class ENGINECORE_API Tvk_RunTread {
 public:
  Tvk_RunTread();
  virtual ~Tvk_RunTread();

  virtual void TreadFunction();
  virtual void ExitThread();
  virtual bool GetIfExitThread();
  virtual void SetTreadClass(Tvk_Tread* tread);
  virtual bool GetIfTreadReady();
  virtual void SetIfTreadReady(bool ready);
  virtual bool CreateTread();
  virtual void ForceTreadClose();
  virtual bool GetIfContinueTreadCalls();
  virtual void* GetCustomPointer();
  virtual void SetCustomPointer(void* pointer);
  virtual std::uint32_t GetUserData();

  Tvk_RunTread(const Tvk_RunTread&) = delete;
  Tvk_RunTread& operator=(const Tvk_RunTread&) = delete;

 protected:
  Tvk_Tread* treadClass_;
  std::atomic<bool> treadReady_;
  platform::ThreadHandle threadHandle_;
  std::uint32_t threadId_;
  void* customPointer_;
  std::atomic<bool> exitThread_;
  std::uint32_t userData_;
};

// The engine-side handle of one worker, registered under a class ID.
class ENGINECORE_API Tvk_Tread {
 public:
  Tvk_Tread();
  explicit Tvk_Tread(EngineInterface* engine);
  virtual ~Tvk_Tread();

  virtual bool StartTread(Tvk_RunTread* worker);
  virtual void CloseTread();
  virtual void ExitThread();
  virtual bool GetIfTreadRunning();
  virtual bool GetIfKeepRunningTread();
  virtual int GetClassID();
  virtual void SetClassID(int id);

  Tvk_Tread(const Tvk_Tread&) = delete;
  Tvk_Tread& operator=(const Tvk_Tread&) = delete;

 private:
  Tvk_RunTread* runTread_;
  bool running_;
  EngineInterface* engine_;
  std::atomic<bool> keepRunning_;
  int classID_;
};

// Worker threads started on behalf of channels and stopped cooperatively.

#include "Tvk_Tread.h"

#include "DllInterface.h"
#include "Diagnostics.h"
#include "EngineInterface.h"
#include "EngineInterfaceExt.h"

namespace {

constexpr std::uint32_t kCloseWaitMs = 30000;
constexpr std::uint32_t kClosePollMs = 10;

void RunWorker(void* argument) {
  auto* worker = static_cast<Tvk_RunTread*>(argument);
  worker->SetIfTreadReady(false);
  worker->TreadFunction();
  // The owner may delete the worker as soon as it reads ready: nothing of it is
  // touched after this call.
  worker->SetIfTreadReady(true);
  platform::ExitCurrentThread();
}

void SetSinkEnabled(bool enabled) {
  if (debugOutPut) debugOutPut->SetUseDebug(enabled);
}

}  // namespace

// ---- Tvk_RunTread ----------------------------------------------------------------------

Tvk_RunTread::Tvk_RunTread()
    : treadClass_(nullptr),
      treadReady_(false),
      threadHandle_(nullptr),
      threadId_(0),
      customPointer_(nullptr),
      exitThread_(false),
      userData_(0) {}

Tvk_RunTread::~Tvk_RunTread() {
  if (threadHandle_) platform::CloseThreadHandle(threadHandle_);
  threadHandle_ = nullptr;
}

void Tvk_RunTread::TreadFunction() {}
void Tvk_RunTread::ExitThread() { exitThread_ = true; }
bool Tvk_RunTread::GetIfExitThread() { return exitThread_; }
void Tvk_RunTread::SetTreadClass(Tvk_Tread* tread) { treadClass_ = tread; }
bool Tvk_RunTread::GetIfTreadReady() { return treadReady_; }

// The handle is held until the worker object goes, so the creating thread and
// the worker never race over it; the flag alone changes here.
void Tvk_RunTread::SetIfTreadReady(bool ready) { treadReady_ = ready; }

bool Tvk_RunTread::CreateTread() {
  if (!treadClass_) return false;
  int error = 0;
  std::uint32_t id = 0;
  platform::ThreadHandle handle = platform::CreateThread(RunWorker, this, &id, &error);
  if (!handle) handle = platform::CreateThread(RunWorker, this, &id, &error);
  if (!handle) {
    if (globalEngine) globalEngine->showErrorMessage("Error thread not created : ", error);
    return false;
  }
  threadHandle_ = handle;
  threadId_ = id;
  return true;
}

void Tvk_RunTread::ForceTreadClose() {
  if (threadHandle_) platform::TerminateThread(threadHandle_);
  treadClass_ = nullptr;
}

bool Tvk_RunTread::GetIfContinueTreadCalls() { return treadClass_ ? treadClass_->GetIfKeepRunningTread() : false; }

void* Tvk_RunTread::GetCustomPointer() { return GetIfContinueTreadCalls() ? customPointer_ : nullptr; }
void Tvk_RunTread::SetCustomPointer(void* pointer) { customPointer_ = pointer; }
std::uint32_t Tvk_RunTread::GetUserData() { return userData_; }

// ---- Tvk_Tread ---------------------------------------------------------------------------

Tvk_Tread::Tvk_Tread() : Tvk_Tread(globalEngine) {}

Tvk_Tread::Tvk_Tread(EngineInterface* engine)
    : runTread_(nullptr), running_(false), engine_(engine), keepRunning_(false), classID_(0) {}

Tvk_Tread::~Tvk_Tread() {
  running_ = false;
  keepRunning_ = false;
  if (!runTread_) return;
  if (engine_) engine_->showErrorMessage("Tvk_Tread::~Tvk_Tread ForceTreadClose something is wrong in the thread");
  runTread_->ForceTreadClose();
  runTread_->SetTreadClass(nullptr);
  delete runTread_;
  runTread_ = nullptr;
}

bool Tvk_Tread::StartTread(Tvk_RunTread* worker) {
  if (!worker) return false;
  runTread_ = worker;
  worker->SetTreadClass(this);
  running_ = true;
  keepRunning_ = true;
  if (worker->CreateTread()) return true;
  running_ = false;
  keepRunning_ = false;
  return false;  // the worker stays attached and owned
}

void Tvk_Tread::CloseTread() {
  for (;;) {
    keepRunning_ = false;
    if (!runTread_) return;

    if (runTread_->GetIfTreadReady()) {
      delete runTread_;
      runTread_ = nullptr;
      running_ = false;
      // KillTread deletes this handle: nothing of it may be used afterwards.
      if (engine_) engine_->engineInterfaceExt->KillTread(this);
      return;
    }

    // Messages emitted while the host's thread waits are dropped.
    SetSinkEnabled(false);
    runTread_->ExitThread();
    const std::uint32_t start = platform::GetTickCount();
    while (!runTread_->GetIfTreadReady()) {
      if (platform::GetTickCount() - start > kCloseWaitMs) {
        SetSinkEnabled(true);
        if (engine_) engine_->showErrorMessage("Thread is not responding");
        return;
      }
      platform::SleepMilliseconds(kClosePollMs);
    }
    SetSinkEnabled(true);
  }
}

void Tvk_Tread::ExitThread() {
  if (runTread_) runTread_->ExitThread();
}

bool Tvk_Tread::GetIfTreadRunning() { return running_; }
bool Tvk_Tread::GetIfKeepRunningTread() { return keepRunning_; }
int Tvk_Tread::GetClassID() { return classID_; }
void Tvk_Tread::SetClassID(int id) { classID_ = id; }

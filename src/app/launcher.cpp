#include "app/launcher.h"

#include <mutex>
#include <thread>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/threads.h"

struct TExFileShared {
  std::mutex Mutex;         // completion events run one at a time
  TEvent Abort{true, false};  // releases every waiting thread
  bool Alive = true;        // read and written on the GUI thread only
};

namespace {

const TEnumInfo& WindowTypeInfo() {
  static const TEnumInfo info{
      "TWindowType", {"wtNorm", "wtMinimize", "wtMaximize", "wtHide", "wtMinNoActivate", "wtShowNoActivate"}, 0};
  return info;
}
const TEnumInfo& UseEventInfo() {
  static const TEnumInfo info{"TUseEvent", {"ueAll", "ueOnLaunchFailed", "ueOnProcCompleted", "ueNone"}, 0};
  return info;
}
const TEnumInfo& PriorityInfo() {
  static const TEnumInfo info{"TPriorityClass", {"prNormal", "prIdle", "prHigh", "prRealTime"}, 0};
  return info;
}

bool Fires(TUseEvent use, TUseEvent which) { return use == ueAll || use == which; }

}  // namespace

ZV_CLASS_IMPL(TExFile, TComponent)

void TExFile::DeclareProperties(TClassInfo& c) {
  c.String<TExFile>("Version", &TExFile::Version, &TExFile::SetVersion);
  c.String<TExFile>("ProcFileName", &TExFile::ProcFileName, &TExFile::SetProcFileName, std::string());
  c.String<TExFile>("ProcParameters", &TExFile::ProcParameters, &TExFile::SetProcParameters, std::string());
  c.String<TExFile>("ProcIdentifier", &TExFile::ProcIdentifier, &TExFile::SetProcIdentifier, std::string());
  c.String<TExFile>("ProcCurrentDir", &TExFile::ProcCurrentDir, &TExFile::SetProcCurrentDir, std::string());
  c.Method<TExFile, TProcCompletedEvent>(
      "OnProcCompleted", [](TExFile* o) { return static_cast<bool>(o->OnProcCompleted); },
      [](TExFile* o, TProcCompletedEvent e) { o->OnProcCompleted = std::move(e); });
  c.Method<TExFile, TLaunchFailedEvent>(
      "OnLaunchFailed", [](TExFile* o) { return static_cast<bool>(o->OnLaunchFailed); },
      [](TExFile* o, TLaunchFailedEvent e) { o->OnLaunchFailed = std::move(e); });
  c.Enum<TExFile>("WindowType", WindowTypeInfo(), &TExFile::WindowType, &TExFile::SetWindowType, wtNorm);
  c.Boolean<TExFile>("WaitUntilDone", &TExFile::WaitUntilDone, &TExFile::SetWaitUntilDone, false);
  c.Enum<TExFile>("UseEvent", UseEventInfo(), &TExFile::UseEvent, &TExFile::SetUseEvent, ueAll);
  c.Enum<TExFile>("Priority", PriorityInfo(), &TExFile::Priority, &TExFile::SetPriority, prNormal);
  c.Integer<TExFile>("TimeOutSec", &TExFile::TimeOutSec, &TExFile::SetTimeOutSec, 0);
}

TExFile::TExFile(TComponent* AOwner) : TComponent(AOwner), FShared(std::make_shared<TExFileShared>()) {}

TExFile::~TExFile() {
  FShared->Alive = false;
  FShared->Abort.SetEvent();
  FRecords.clear();
}

void TExFile::SetProcFileName(const std::string& v) {
  FProcFileName = v;
  FProcName = LowerCase(v);
}

int TExFile::ShowCode(TWindowType type) {
  static const int codes[] = {1, 2, 3, 0, 7, 8};
  return codes[type];
}

DWORD TExFile::PriorityClassOf(TPriorityClass priority) {
  static const DWORD classes[] = {NORMAL_PRIORITY_CLASS, IDLE_PRIORITY_CLASS, HIGH_PRIORITY_CLASS,
                                  REALTIME_PRIORITY_CLASS};
  return classes[priority];
}

DWORD TExFile::WaitTimeMs() const {
  if (FTimeOutSec <= 0) return INFINITE;
  if (FTimeOutSec > 3600) return 3600000;
  return static_cast<DWORD>(FTimeOutSec) * 1000;
}

void TExFile::LaunchFailed(const std::string& message, int code) {
  FLastError = code;
  if (OnLaunchFailed && Fires(FUseEvent, ueOnLaunchFailed))
    OnLaunchFailed(this, FProcFileName, message, code, FProcIdentifier);
}

bool TExFile::Launch(bool waiting) {
  std::erase_if(FRecords, [](const AThreadRecord& r) {
    DWORD code;
    return !r.Process || !r.Process->GetExitCode(code) || code != STILL_ACTIVE;
  });
  FCurrentDir.clear();
  if (!FProcCurrentDir.empty()) {
    if (!DirectoryExists(FProcCurrentDir)) {
      LaunchFailed("Current Directory Invalid", EXFILE_BAD_FOLDER);
      return false;
    }
    FCurrentDir = FProcCurrentDir;
  }
  if (waiting) {
    for (const AThreadRecord& r : FRecords)
      if (r.Waited == 1) {
        LaunchFailed("Cannot mix 'WaitUntilDone' types.", EXFILE_MIXED_WAIT);
        return false;
      }
  }
  for (const AThreadRecord& r : FRecords)
    if (r.Name == FProcName && r.Identifier == FProcIdentifier) {
      LaunchFailed("Another Process with the same Name and ID is executing.", EXFILE_SAME_RUNNING);
      return false;
    }

  TStartupInfo startup;
  startup.ShowWindow = ShowCode(FWindowType);
  int error = 0;
  // The program as named: the lower-cased copy would miss "Refine" on a
  // file system that tells case apart.
  TProcessHandle process = CreateProcess(FProcFileName, FProcParameters,
                                         PriorityClassOf(FPriority) | CREATE_NEW_CONSOLE, FCurrentDir, startup, error);
  bool started = static_cast<bool>(process);
  if (started && !waiting) {
    const DWORD r = WaitForInputIdle(process, 3000);
    started = r == WAIT_OBJECT_0 || r == WAIT_TIMEOUT;
  }
  if (!started) {
    LaunchFailed(SystemErrorText(error), error);
    return false;
  }
  AThreadRecord record;
  record.Name = FProcName;
  record.Identifier = FProcIdentifier;
  record.Process = process;
  record.ProcessId = process->ProcessId();
  record.Waited = waiting ? 0 : 1;
  FRecords.push_back(std::move(record));
  FLastProcess = process;
  return true;
}

bool TExFile::Execute() {
  FLastError = 0;
  const DWORD waitTime = WaitTimeMs();
  if (!FWaitUntilDone) {
    if (!Launch(false)) return false;
    TProcThread::Start(std::make_unique<TProcThread>(FLastProcess, waitTime, FUseEvent, FShared, OnProcCompleted,
                                                     FProcIdentifier, FProcFileName));
    FLastProcess.reset();
    return true;
  }
  if (!Launch(true)) return false;
  TProcessHandle process = std::move(FLastProcess);
  if (process->WaitFor(waitTime) != WAIT_OBJECT_0) {
    FExitCode = static_cast<DWORD>(FTimeOutSec);
    FLastError = EXFILE_TIMED_OUT;
    FTimedOut = true;
  } else {
    process->GetExitCode(FExitCode);
    FTimedOut = false;
  }
  if (OnProcCompleted && Fires(FUseEvent, ueOnProcCompleted))
    OnProcCompleted(this, FProcFileName, FTimedOut, FExitCode, FProcIdentifier);
  return true;
}

TProcThread::TProcThread(TProcessHandle process, DWORD waitTime, TUseEvent useEvent,
                         std::shared_ptr<TExFileShared> shared, TProcCompletedEvent completed, std::string identifier,
                         std::string fileName)
    : FProcess(std::move(process)),
      FWaitTime(waitTime),
      FUseEvent(useEvent),
      FShared(std::move(shared)),
      FCompleted(std::move(completed)),
      FIdentifier(std::move(identifier)),
      FFileName(std::move(fileName)) {}

void TProcThread::Start(std::unique_ptr<TProcThread> thread) {
  std::thread([t = std::move(thread)] { t->Execute(); }).detach();
}

void TProcThread::Execute() {
  const DWORD r = WaitForMultipleObjects({FProcess->Handle(), FShared->Abort.Handle()}, FWaitTime);
  if (r != WAIT_OBJECT_0 + 1) {
    if (r != WAIT_OBJECT_0 || !FProcess->GetExitCode(FExitCode) || FExitCode == STILL_ACTIVE) {
      FExitCode = FWaitTime / 1000;
      FTimedOut = true;
    } else {
      FTimedOut = false;
    }
    if (FCompleted && Fires(FUseEvent, ueOnProcCompleted)) {
      std::lock_guard<std::mutex> lock(FShared->Mutex);
      std::shared_ptr<TExFileShared> shared = FShared;
      Synchronize(
          [&] {
            // The component may have gone while this thread waited for its turn.
            if (shared->Alive) FCompleted(this, FFileName, FTimedOut, FExitCode, FIdentifier);
          },
          &FShared->Abort);
    }
  }
  FProcess.reset();
}

// A non-visual component that starts an external program, either waiting for
// it to end or handing the wait to a thread of its own, and reports the end or
// a failed start through two events. It refuses a program already running
// under the same name and identifier, and a waiting start while one that does
// not wait still runs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/process.h"
#include "platform/ui/classes.h"

enum TWindowType { wtNorm, wtMinimize, wtMaximize, wtHide, wtMinNoActivate, wtShowNoActivate };
enum TUseEvent { ueAll, ueOnLaunchFailed, ueOnProcCompleted, ueNone };
enum TPriorityClass { prNormal, prIdle, prHigh, prRealTime };

using TProcCompletedEvent = std::function<void(TObject* Sender, const std::string& FileName, bool TimedOut,
                                               DWORD ExitCode, const std::string& Identifier)>;
using TLaunchFailedEvent = std::function<void(TObject* Sender, const std::string& FileName,
                                              const std::string& Message, int ErrorCode,
                                              const std::string& Identifier)>;

// Failure codes besides the system's error numbers.
constexpr int EXFILE_SAME_RUNNING = -1, EXFILE_MIXED_WAIT = -2, EXFILE_TIMED_OUT = -3, EXFILE_BAD_FOLDER = -4;

// Shared with the waiting threads, which may outlive the component.
struct TExFileShared;

// A started program the component keeps track of.
struct AThreadRecord {
  std::string Name;  // lower-cased program name
  std::string Identifier;
  TProcessHandle Process;
  pid_t ProcessId = 0;
  uint32_t Reserved = 0;
  uint8_t Waited = 0;  // 1: the start did not wait
};

class TExFile : public TComponent {
  ZV_CLASS(TExFile)
public:
  explicit TExFile(TComponent* AOwner);
  ~TExFile() override;

  std::string Version() const { return "1.0"; }
  void SetVersion(const std::string&) {}
  const std::string& ProcFileName() const { return FProcFileName; }
  void SetProcFileName(const std::string& v);
  // The lower-cased copy of the program name, for telling programs apart.
  const std::string& ProcName() const { return FProcName; }
  const std::string& ProcParameters() const { return FProcParameters; }
  void SetProcParameters(const std::string& v) { FProcParameters = v; }
  const std::string& ProcIdentifier() const { return FProcIdentifier; }
  void SetProcIdentifier(const std::string& v) { FProcIdentifier = v; }
  const std::string& ProcCurrentDir() const { return FProcCurrentDir; }
  void SetProcCurrentDir(const std::string& v) { FProcCurrentDir = v; }
  TWindowType WindowType() const { return FWindowType; }
  void SetWindowType(TWindowType v) { FWindowType = v; }
  bool WaitUntilDone() const { return FWaitUntilDone; }
  void SetWaitUntilDone(bool v) { FWaitUntilDone = v; }
  TUseEvent UseEvent() const { return FUseEvent; }
  void SetUseEvent(TUseEvent v) { FUseEvent = v; }
  TPriorityClass Priority() const { return FPriority; }
  void SetPriority(TPriorityClass v) { FPriority = v; }
  int TimeOutSec() const { return FTimeOutSec; }
  void SetTimeOutSec(int v) { FTimeOutSec = v; }

  TProcCompletedEvent OnProcCompleted;
  TLaunchFailedEvent OnLaunchFailed;

  // Starts the program; true when it was started.
  bool Execute();

  // The wait that TimeOutSec gives: INFINITE for 0, at most one hour.
  DWORD WaitTimeMs() const;
  int LastError() const { return FLastError; }
  DWORD LastExitCode() const { return FExitCode; }
  bool TimedOut() const { return FTimedOut; }
  const std::vector<AThreadRecord>& Records() const { return FRecords; }

  // Show-window codes and priority classes of the enumerations.
  static int ShowCode(TWindowType type);
  static DWORD PriorityClassOf(TPriorityClass priority);

private:
  bool Launch(bool waiting);
  void LaunchFailed(const std::string& message, int code);

  std::string FProcFileName, FProcName, FProcParameters, FProcIdentifier, FProcCurrentDir;
  TWindowType FWindowType = wtNorm;
  bool FWaitUntilDone = false;
  TUseEvent FUseEvent = ueAll;
  TPriorityClass FPriority = prNormal;
  int FTimeOutSec = 0;

  std::vector<AThreadRecord> FRecords;
  std::shared_ptr<TExFileShared> FShared;
  int FLastError = 0;
  DWORD FExitCode = 0;
  bool FTimedOut = false;
  std::string FCurrentDir;
  TProcessHandle FLastProcess;
};

// The thread that waits for a program started without waiting and reports
// its end on the GUI thread. It ends by itself.
class TProcThread : public TObject {
public:
  TProcThread(TProcessHandle process, DWORD waitTime, TUseEvent useEvent, std::shared_ptr<TExFileShared> shared,
              TProcCompletedEvent completed, std::string identifier, std::string fileName);
  std::string ClassName() const override { return "TProcThread"; }
  // Runs the wait on a new thread that owns the object.
  static void Start(std::unique_ptr<TProcThread> thread);

  const std::string& FileName() const { return FFileName; }
  const std::string& Identifier() const { return FIdentifier; }

private:
  void Execute();

  TProcessHandle FProcess;
  DWORD FWaitTime;
  TUseEvent FUseEvent;
  std::shared_ptr<TExFileShared> FShared;
  TProcCompletedEvent FCompleted;
  std::string FIdentifier, FFileName;
  DWORD FExitCode = 0;
  bool FTimedOut = false;
};

// What the windows of this folder call on the main window, kept behind hooks
// so that they stand without it: the main window sets them when it is
// created and clears them when it goes. An unset hook does nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct TMainWindowLink {
  // Enables the main window's commands from the model and RunMode.
  std::function<void()> UpdateForm;
  // Puts a file at the top of the recent-file list.
  std::function<void(const std::string&)> AddRecentFile;
  // The recent-file list, most recent first.
  std::function<std::vector<std::string>()> RecentFiles;
  // What a click on an entry of the recent-file list does.
  std::function<void(const std::string&)> OpenRecentFile;
  // Called when the last busy piece of work ends after the program's close
  // was asked for during it.
  std::function<void()> BusyEnded;
};

// Work that processes messages while it holds the model, the engine binding
// or a window of the main window (a script, a refinement's cycles, a plot)
// counts itself for its lifetime, so that the program's close, which frees
// them all, waits for its end.
class TProgramBusy {
public:
  TProgramBusy();
  ~TProgramBusy();
  TProgramBusy(const TProgramBusy&) = delete;
  TProgramBusy& operator=(const TProgramBusy&) = delete;
};
bool ProgramBusy();
// Asked for by the program's close while work goes on: loops end at their
// next chance, and the last piece of work to end calls BusyEnded.
void RequestBusyEnd();
bool BusyEndRequested();

TMainWindowLink& MainWindowLink();

// Calls the main window's UpdateForm when it is linked.
void MainUpdateForm();

class TControl;
// LastActiveControl for the windows whose units must not see the model's
// headers (the string grid and the model both name a class TBackGround).
void SetLastActiveControl(TControl* Control);
TControl* GetLastActiveControl();

// After a print command: when the document went to a file (there is no
// printer), the user is told which.
void SayWherePrinted();

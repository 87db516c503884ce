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
};

TMainWindowLink& MainWindowLink();

// Calls the main window's UpdateForm when it is linked.
void MainUpdateForm();

class TControl;
// LastActiveControl for the windows whose units must not see the model's
// headers (the string grid and the model both name a class TBackGround).
void SetLastActiveControl(TControl* Control);
TControl* GetLastActiveControl();

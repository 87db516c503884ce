// The updater: finishes an update after the program has ended. It waits for
// the program's process, puts delivered files in place ("<name>_new" over
// "<name>"), works through list files (".inf"), unpacks cabinets and LZ
// files, runs delivered ".exe" programs, and starts the program again.
//
// Arguments: the process id to wait for, "L" to log (to WUPDATE.LOG in the
// current folder) or anything else, the command line to start when done or
// "null", then the file names to process.
#pragma once

#include <string>
#include <vector>

struct TUpdaterOptions {
  // The wait after the program's end and after a run program's end, so the
  // system lets go of their files.
  int SettleMs = 500;
};

// Runs the updater on its arguments (without the program's own name).
// 1 when the first argument is not a process id (nothing is done), else 0.
int RunUpdater(const std::vector<std::string>& args, const TUpdaterOptions& options = {});

// A list file's target with its folder names replaced: {APP} the current
// folder, {TMP} the temporary folder, {PF} the installation prefix, each with
// a trailing '/'; other names keep their braces.
std::string ExpandUpdaterTarget(const std::string& target);

// Opening documents and links with the desktop's handler, and starting
// programs (the shell-execute service). Tests replace the opener by a hook.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/messages.h"

constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
              SW_MAXIMIZE = 3, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWDEFAULT = 10;
// ShellExecute results at or below 32 are errors.
constexpr intptr_t SE_ERR_FNF = 2, SE_ERR_PNF = 3, SE_ERR_ACCESSDENIED = 5, SE_ERR_NOASSOC = 31;

// Operation "open" (or empty) opens File with the desktop's handler (a URL,
// or a document); a program file with Parameters is started. Returns a
// value above 32 on success.
intptr_t ShellExecute(HWND Window, const std::string& Operation, const std::string& File,
                      const std::string& Parameters, const std::string& Directory, int ShowCmd);
// True when the desktop accepted the URL or file.
bool OpenURL(const std::string& Url);
bool OpenDocument(const std::string& FileName);

// Replaces the desktop opener: gets the target (URL, file, or program with
// its parameters after a blank) and answers whether it was opened.
using TShellOpenHandler = std::function<bool(const std::string& Operation, const std::string& Target,
                                             const std::string& Parameters)>;
TShellOpenHandler SetShellOpenHandler(TShellOpenHandler Handler);

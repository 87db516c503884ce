// Handing a file to the desktop's mail program as the attachment of a new
// mail, which the user addresses, completes and sends there (xdg-email; the
// stand-in for the simple mail interface of other systems).
#pragma once

#include <functional>
#include <string>

// Answers 0 when the mail program took the file, else an error number.
using TMailHandler = std::function<int(const std::string& Subject, const std::string& FileName)>;
// Replaces how mail is handed over (tests install their own); returns the
// previous handler. An empty handler restores xdg-email.
TMailHandler SetMailHandler(TMailHandler Handler);

// A new mail with the subject and the file attached, no recipients. Runs
// xdg-email and waits until it has handed the mail over, calling WhileWaiting
// now and then (the program keeps its windows served). Answers 0, or
// xdg-email's exit code (1 bad arguments, 2 file missing, 3 no mail program,
// 4 the mail program failed), or 127 when xdg-email could not be started.
int MailAttachment(const std::string& Subject, const std::string& FileName,
                   const std::function<void()>& WhileWaiting = {});

// Whether mail can be handed over: a handler is installed, or xdg-email is on
// the PATH (looked up once per process).
bool MailAvailable();

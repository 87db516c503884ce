// Running a call of a working thread on the GUI thread (the class library's
// Synchronize). The call is queued and the message loop runs it (Run,
// ProcessMessages, HandleMessage); CheckSynchronize runs queued calls at once.
#pragma once

#include <functional>

#include "platform/rtl/process.h"

// Runs f on the GUI thread and waits until it has run (at once when called on
// the GUI thread). With an abort event, a call not yet begun when the event
// is signalled is dropped and false returned; true when f ran.
bool Synchronize(const std::function<void()>& f, TEvent* abort = nullptr);

// On the GUI thread: runs every queued call; when there is none, waits up to
// timeoutMs for one to arrive. True when a call ran.
bool CheckSynchronize(unsigned timeoutMs = 0);

// True on the thread that runs the windows.
bool IsGuiThread();

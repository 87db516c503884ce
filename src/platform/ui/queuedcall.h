// Calls queued for the event loop: they run after the current event has been
// handled (from Run, ProcessMessages or any nested loop), in the order queued.
// An exception from one goes to the application's handler.
#pragma once

#include <functional>

void QueueCall(std::function<void()> Call);

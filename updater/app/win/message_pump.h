// Keeps the window alive while a long operation runs on the user-interface
// thread.
#pragma once

#include <windows.h>

namespace zu {

// The dialog whose keyboard navigation the pump serves.
void SetMessagePumpDialog(HWND dialog);

// Dispatches every waiting message of the calling thread and returns when the
// queue is empty. A quit request met here is put back for the main loop.
void ProcessPendingMessages();

// The main loop: runs until the quit request; returns its exit code.
int RunMessageLoop();

}  // namespace zu

// The library does nothing of its own when loaded or unloaded: its only
// state (the stream table) is set up and torn down by the C++ runtime.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// The library's page and graph window procedures, which WGInit registers.
#pragma once
#include <windows.h>

namespace lmc32 {

LRESULT CALLBACK PageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace lmc32

// State the library keeps for the process besides the top descriptor.
#pragma once
#include <windows.h>

#include "lmc32.h"

// The current top descriptor. Companion modules switch it with InitDll,
// InitTop or Cleanup; the library's window procedures switch back to the
// one WGInit made.
extern "C" TopDesc* _TopDesc;

namespace lmc32 {

// Window extra data: slots of one pointer each (4 bytes on 32-bit Windows,
// so offsets there are 0, 4, 8, ...).
inline constexpr int kWindowSlot = static_cast<int>(sizeof(LONG_PTR));
inline constexpr int kPageSlotPage = 0;
inline constexpr int kPageSlotTop = kWindowSlot;
inline constexpr int kPageWindowExtra = 5 * kWindowSlot;
inline constexpr int kGraphSlotGraph = 0;
inline constexpr int kGraphSlotTop = kWindowSlot;
inline constexpr int kGraphSlotPage = 2 * kWindowSlot;
inline constexpr int kGraphSlotDataTable = 3 * kWindowSlot;
inline constexpr int kGraphWindowExtra = 4 * kWindowSlot;

HINSTANCE LibraryModule();
void SetLibraryModule(HINSTANCE module);

// The device description of the screen, filled when the library is loaded.
DevDesc& ScreenDevice();

// The descriptor made by the last WGInit.
TopDesc* InitTopDesc();
void SetInitTopDesc(TopDesc* top);

// Host window named by SetFormPage for the next page, or null.
HWND PendingFormPage();

// Enhanced metafiles are used where the system is at least version 5.1.
bool EnhancedMetafilesAvailable();
void SetEnhancedMetafilesAvailable(bool available);

// Reads a string of the library's string table; at most `limit` characters.
std::size_t LoadLibraryText(int id, wchar_t* buffer, int limit);

}  // namespace lmc32

// The exported colour functions over the palette.
#include "../palette.h"
#include "library_state.h"

using namespace lmc32;

extern "C" {

COLORREF WINAPI WGGetRGBColor(COLORREF color) { return ResolveColor(color); }

COLORREF WINAPI WGGetNearestRGBColor(COLORREF color) {
    HDC screen = GetDC(nullptr);
    COLORREF nearest = screen ? GetNearestColor(screen, color) : CLR_INVALID;
    if (screen) ReleaseDC(nullptr, screen);
    return nearest == CLR_INVALID ? color : nearest;
}

int WINAPI WGGetPureColor(COLORREF color) { return ClosestPaletteIndex(WGGetNearestRGBColor(color)); }

COLORREF WINAPI WGCreateShadeColor(COLORREF color) { return ShadeColor(color); }

COLORREF WINAPI CreateLighterColor(COLORREF color) { return LighterColor(color); }

}  // extern "C"

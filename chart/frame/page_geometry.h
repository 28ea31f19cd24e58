// Arithmetic of pages and graphs: numbers, mapping choices, sizes.
#pragma once
#include <string>

namespace lmc32 {

inline constexpr int kMaxPages = 59;
inline constexpr int kGraphSlots = 16;
inline constexpr int kFirstGraphNumber = 60;
inline constexpr int kPageLogicalExtent = 13000;
inline constexpr int kMapIsotropic = 7;
inline constexpr int kMapAnisotropic = 8;

inline int GraphNumber(int page, int slot) { return kFirstGraphNumber + kGraphSlots * page + slot; }

struct GraphAddress {
    int page;
    int slot;
};
inline GraphAddress SplitGraphNumber(int number) {
    return {(number - kFirstGraphNumber) / kGraphSlots, (number - kFirstGraphNumber) % kGraphSlots};
}

struct PageMapping {
    int mapMode;      // 7 isotropic, 8 anisotropic
    int keepAspect;   // nKeepAspect
    bool fixedFonts;  // bFixedFonts
};
// The mapping argument of page creation: 8 to 11, anything else isotropic.
PageMapping PageMappingFromArgument(int argument);

struct LogicalSize {
    int cx;
    int cy;
};
LogicalSize PageLogicalSize(int mapMode, int cxClient, int cyClient, int screenWidth, int screenHeight);

// Rounding of graph placement: add 0.5 and truncate.
int RoundHalfUp(double value);
float RoundToThousandths(float value);

struct PixelRect {
    int x, y, cx, cy;
};
PixelRect GraphPixelRect(int cxClient, int cyClient, double left, double top, double right, double bottom);

std::u16string DefaultPageTitle(int page);
// The name a page keeps: at most 12 characters.
std::u16string PageName(std::u16string_view name);

// Slot of MouseAct for a mouse message; 99999 is the host's own event.
int MouseActionSlot(unsigned message);
inline constexpr int kMouseActionDefaults[8] = {1, 0, 3, 0, 2, 0, 0, 0};

}  // namespace lmc32

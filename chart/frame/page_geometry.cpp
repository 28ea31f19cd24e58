#include "page_geometry.h"

namespace lmc32 {

PageMapping PageMappingFromArgument(int argument) {
    struct Entry {
        int argument;
        PageMapping mapping;
    };
    static constexpr Entry kTable[] = {
        {8, {kMapAnisotropic, 0, false}},
        {9, {kMapAnisotropic, 1, false}},
        {10, {kMapAnisotropic, 0, true}},
        {11, {kMapAnisotropic, 1, true}},
    };
    for (const Entry& e : kTable)
        if (e.argument == argument) return e.mapping;
    return {kMapIsotropic, 0, false};
}

LogicalSize PageLogicalSize(int mapMode, int cxClient, int cyClient, int screenWidth, int screenHeight) {
    const float extent = static_cast<float>(kPageLogicalExtent);
    if (mapMode == kMapAnisotropic) {
        if (cxClient >= cyClient) {
            return {kPageLogicalExtent,
                    static_cast<int>(extent / static_cast<float>(cxClient) * static_cast<float>(cyClient))};
        }
        return {static_cast<int>(extent / static_cast<float>(cyClient) * static_cast<float>(cxClient)),
                kPageLogicalExtent};
    }
    const int screen = cxClient > cyClient ? screenWidth : screenHeight;
    const float factor = screen != 0 ? extent / static_cast<float>(screen) : 1.0f;
    return {static_cast<int>(static_cast<float>(cxClient) * factor),
            static_cast<int>(static_cast<float>(cyClient) * factor)};
}

int RoundHalfUp(double value) { return static_cast<int>(value + 0.5); }

float RoundToThousandths(float value) {
    return static_cast<float>(RoundHalfUp(static_cast<double>(value) * 1000.0)) / 1000.0f;
}

PixelRect GraphPixelRect(int cxClient, int cyClient, double left, double top, double right, double bottom) {
    return {RoundHalfUp(cxClient * left), RoundHalfUp(cyClient * top), RoundHalfUp(cxClient * (right - left)),
            RoundHalfUp(cyClient * (bottom - top))};
}

std::u16string DefaultPageTitle(int page) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + page % 10));
        page /= 10;
    } while (page > 0);
    return u"CHART #" + digits;
}

std::u16string PageName(std::u16string_view name) { return std::u16string(name.substr(0, 12)); }

int MouseActionSlot(unsigned message) {
    struct Entry {
        unsigned message;
        int slot;
    };
    // WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP,
    // WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MOUSEMOVE, the host's event.
    static constexpr Entry kTable[] = {
        {0x0201, 0}, {0x0202, 1}, {0x0204, 2}, {0x0205, 3}, {0x0203, 4}, {0x0206, 5}, {0x0200, 6}, {99999, 7},
    };
    for (const Entry& e : kTable)
        if (e.message == message) return e.slot;
    return 0;
}

}  // namespace lmc32

// A host program of lmc32: a page with graphs of different backgrounds and
// borders, written as a .BMP file.
//   chart_demo.exe OUTPUT.BMP
#include <windows.h>

#include <cstdio>
#include <vector>

#include "lmc32.h"

namespace {

struct GraphSpec {
    double left, top, right, bottom;
    COLORREF background;
    int borderColor;  // palette index or COLORREF; -1 for none
    int borderWidth;  // pixels
};

// Two rows of three graphs: light and dark backgrounds, thin and thick
// frames in palette and direct colours, and none.
const GraphSpec kGraphs[] = {
    {0.03, 0.04, 0.32, 0.47, RGB(230, 240, 255), 1, 2},
    {0.355, 0.04, 0.645, 0.47, RGB(255, 245, 220), RGB(200, 120, 0), 8},
    {0.68, 0.04, 0.97, 0.47, RGB(60, 70, 90), -1, 0},
    {0.03, 0.53, 0.32, 0.96, RGB(220, 250, 225), 2, 1},
    {0.355, 0.53, 0.645, 0.96, RGB(200, 30, 40), 0, 4},
    {0.68, 0.53, 0.97, 0.96, RGB(255, 255, 255), RGB(120, 40, 160), 12},
};

bool WriteBmp(const wchar_t* path, HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info)) return false;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;  // bottom-up rows, as .BMP files keep them
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = ((info.bmWidth * 3 + 3) / 4) * 4;
    header.biSizeImage = stride * info.bmHeight;
    std::vector<BYTE> pixels(header.biSizeImage);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) return false;

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    HANDLE out = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) && written == sizeof file;
    ok = ok && WriteFile(out, &header, sizeof header, &written, nullptr) && written == sizeof header;
    ok = ok && WriteFile(out, pixels.data(), header.biSizeImage, &written, nullptr) && written == header.biSizeImage;
    CloseHandle(out);
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: chart_demo OUTPUT.BMP\n");
        return 2;
    }
    WGInit(GetModuleHandleW(nullptr), nullptr);
    WGEnableErrorMessages(FALSE);
    PgDesc* page = WGCreatePage(L"gallery", nullptr, 0, L"lmc32 gallery", nullptr, nullptr, RGB(245, 245, 245), 8,
                                WS_POPUP | WS_CAPTION, 2, 40, 40, 800, 600);
    if (!page) {
        std::fprintf(stderr, "chart_demo: no page (error %d)\n", WGGetLastError());
        return 1;
    }
    for (const GraphSpec& g : kGraphs) {
        if (!WGCreateGraph(page, nullptr, g.left, g.top, g.right, g.bottom, g.background, g.borderColor,
                           g.borderWidth)) {
            std::fprintf(stderr, "chart_demo: no graph (error %d)\n", WGGetLastError());
            return 1;
        }
    }
    WGUpdatePage(page);
    HBITMAP picture = WGGetPageBitmapHandle(page, 2);
    const bool written = picture && WriteBmp(argv[1], picture);
    if (picture) DeleteObject(picture);
    WGClosePage(page);
    if (!written) {
        std::fprintf(stderr, "chart_demo: cannot write the picture\n");
        return 1;
    }
    std::printf("page of %d graphs written\n", static_cast<int>(sizeof kGraphs / sizeof kGraphs[0]));
    return 0;
}

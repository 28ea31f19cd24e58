// A host whose errors end its process. Run by the DLL tests:
//   lmc32_error_child SCENARIO OUTPUT_FILE
// Every message box it sees is answered and appended to OUTPUT_FILE as
// caption U+001F text U+001E (UTF-16). Exits with 0 when the scenario's
// error did not end the process.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "lmc32.h"
#include "message_box_answerer.h"

namespace {

FILE* g_output = nullptr;

void Record(const SeenBox& box) {
    const std::wstring line = box.caption + L'\x1f' + box.text + L'\x1e';
    std::fwrite(line.data(), sizeof(wchar_t), line.size(), g_output);
    std::fflush(g_output);
}

void InitTopWithRealSize(LONG realSize) {
    static TopDesc top{};
    top.hInst = GetModuleHandleW(nullptr);
    top.nRealSize = realSize;
    InitTop(&top, DefWindowProcW, DefWindowProcW, CS_DBLCLKS);
}

// Page builders that fault while the page is built.
struct ForbiddenWriteBuilder {
    virtual void Build(PgDesc*) {
        int* volatile forbidden =
            static_cast<int*>(VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS));
        *forbidden = 1;
    }
};

struct DividingBuilder {
    virtual void Build(PgDesc* page) {
        volatile int zero = page->nGraphs;
        page->nPrevSel = 100 / zero;
    }
};

PgDesc* PageWith(void* builder) {
    return WGCreatePage(L"child", nullptr, 0, nullptr, builder, nullptr, 15, 8, WS_POPUP, 2, 0, 0, 200, 150);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    g_output = std::fopen(argv[2], "wb");
    if (!g_output) return 3;
    const std::string scenario = argv[1];
    MessageBoxAnswerer answerer(IDNO, &Record);

    if (scenario == "critical") {
        WGInit(GetModuleHandleW(nullptr), nullptr);
        ErrHdlr(73, 2, L"00401000");
    } else if (scenario == "silent-serious") {
        WGInit(GetModuleHandleW(nullptr), nullptr);
        WGEnableErrorMessages(FALSE);
        ErrHdlr(50, 0, nullptr);
    } else if (scenario == "realsize4") {
        InitTopWithRealSize(4);
    } else if (scenario == "realsize2") {
        InitTopWithRealSize(2);
    } else if (scenario == "faulting-builder") {
        WGInit(GetModuleHandleW(nullptr), nullptr);
        ForbiddenWriteBuilder builder;
        PageWith(&builder);
    } else if (scenario == "dividing-builder") {
        WGInit(GetModuleHandleW(nullptr), nullptr);
        DividingBuilder builder;
        PageWith(&builder);
    } else if (scenario == "page-and-graph") {
        WGInit(GetModuleHandleW(nullptr), nullptr);
        PgDesc* page = PageWith(nullptr);
        if (!page || !WGCreateGraph(page, nullptr, 0.0, 0.0, 1.0, 1.0, 15, -1, 0)) return 5;
        WGClosePage(page);
    } else {
        return 4;
    }
    return 0;
}

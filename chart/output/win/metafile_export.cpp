// A page as a metafile: the graphs are painted by their normal painter into
// the metafile's context, each moved to its place on the page.
#include "win/page_store.h"

#include "../../frame/page_geometry.h"

namespace lmc32 {
namespace {

constexpr int kEnhancedKind = 2;
constexpr DWORD kMetaDescFlags = GMEM_FIXED | GMEM_ZEROINIT;

// The graph drawn alone when one is blown up to fill the page, else null.
GrDesc* BlownUpGraph(const PgDesc& page) {
    if (!page.bBlownUp) return nullptr;
    for (int slot = 0; slot < kGraphSlots; ++slot) {
        GrDesc* graph = GraphInSlot(&page, slot);
        if (graph && graph->nGraph == page.nSel) return graph;
    }
    return nullptr;
}

// The metafile records the graph in page units: its painter must neither
// remap the context nor snap to pixels, so it is told the context is a
// metafile for the duration.
void DrawGraphInto(HDC dc, GrDesc* graph, POINT origin) {
    graph->hMetaDC = dc;
    SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
    ObjectInterpreter(graph, dc);
    CleanGDI(dc);
    graph->hMetaDC = nullptr;
}

void DrawPageInto(HDC dc, PgDesc* page, bool enhanced) {
    SetMapMode(dc, MM_ANISOTROPIC);
    SetBkMode(dc, OPAQUE);
    SetROP2(dc, R2_COPYPEN);
    if (GrDesc* graph = BlownUpGraph(*page)) {
        SetWindowExtEx(dc, graph->cxLog, graph->cyLog, nullptr);
        if (enhanced) SetViewportExtEx(dc, page->cxClient, page->cyClient, nullptr);
        DrawGraphInto(dc, graph, {0, 0});
        return;
    }
    SetWindowExtEx(dc, page->cxLog, page->cyLog, nullptr);
    if (enhanced) SetViewportExtEx(dc, page->cxClient, page->cyClient, nullptr);
    // Ascending slots: a later graph covers an earlier one where they overlap.
    for (int slot = 0; slot < kGraphSlots; ++slot)
        if (GrDesc* graph = GraphInSlot(page, slot)) DrawGraphInto(dc, graph, {-graph->xLog, -graph->yLog});
    SetWindowOrgEx(dc, 0, 0, nullptr);
}

// The page's client size in the hundredths of millimetres of the screen.
RECT EnhancedFrame(const PgDesc& page) {
    HDC screen = GetDC(nullptr);
    const int mmX = GetDeviceCaps(screen, HORZSIZE), pixX = GetDeviceCaps(screen, HORZRES);
    const int mmY = GetDeviceCaps(screen, VERTSIZE), pixY = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    const auto scale = [](LONG pixels, int mm, int screenPixels) {
        return screenPixels ? static_cast<LONG>(static_cast<long long>(pixels) * 100 * mm / screenPixels) : 0;
    };
    return {0, 0, scale(page.cxClient, mmX, pixX), scale(page.cyClient, mmY, pixY)};
}

MetaDesc* NewMetaDesc(HANDLE metafile, bool enhanced) {
    auto* meta = static_cast<MetaDesc*>(GlobalAlloc(kMetaDescFlags, sizeof(MetaDesc)));
    if (!meta) return nullptr;
    meta->hOwn = meta;
    meta->hMeta = metafile;
    meta->bEnhanced = enhanced;
    return meta;
}

}  // namespace
}  // namespace lmc32

using namespace lmc32;

extern "C" {

MetaDesc* WINAPI WGConvertPageToMeta(PgDesc* page, int kind) {
    if (!IsOpenPage(page)) return nullptr;
    const bool enhanced = kind == kEnhancedKind && EnhancedMetafilesAvailable();
    HANDLE metafile = nullptr;
    if (enhanced) {
        const RECT frame = EnhancedFrame(*page);
        HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
        if (!dc) return nullptr;
        DrawPageInto(dc, page, true);
        metafile = CloseEnhMetaFile(dc);
    } else {
        HDC dc = CreateMetaFileW(nullptr);
        if (!dc) return nullptr;
        DrawPageInto(dc, page, false);
        metafile = CloseMetaFile(dc);
    }
    if (!metafile) return nullptr;
    MetaDesc* meta = NewMetaDesc(metafile, enhanced);
    if (!meta) {
        if (enhanced) {
            DeleteEnhMetaFile(static_cast<HENHMETAFILE>(metafile));
        } else {
            DeleteMetaFile(static_cast<HMETAFILE>(metafile));
        }
        ErrHdlr(53, 2, L" - WGConvertPageToMeta");
    }
    return meta;
}

void WINAPI LMMakeMetaFile(HDC dc, PgDesc* page, int /*unused*/, int kind) {
    if (!dc || !IsOpenPage(page)) return;
    DrawPageInto(dc, page, kind == kEnhancedKind && EnhancedMetafilesAvailable());
}

void WINAPI WGDeleteMetafile(MetaDesc* meta) {
    if (!meta) return;
    if (meta->bEnhanced) {
        DeleteEnhMetaFile(static_cast<HENHMETAFILE>(meta->hMeta));
    } else {
        DeleteMetaFile(static_cast<HMETAFILE>(meta->hMeta));
    }
    GlobalFree(meta->hOwn);
}

}  // extern "C"

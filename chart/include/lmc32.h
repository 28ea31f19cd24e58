/* lmc32: charting library for Windows host programs.
 *
 * Every function uses the standard Windows calling convention. Colour
 * arguments below 20 are palette indices, anything else a COLORREF. Records
 * below are shared with hosts and companion modules and are laid out as the
 * 32-bit library stores them; fields carry a type prefix (n integer, b flag,
 * d double, f float, h handle, p pointer, sz text, cr colour, rc rectangle,
 * pfn function pointer). */
#ifndef LMC32_H
#define LMC32_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define LMC32_PAGE_TABLE_SIZE    61   /* entry 0 unused, pages 1..59 (60 accepted by lookups) */
#define LMC32_DATASET_TABLE_SIZE 1800 /* entry 0 unused */
#define LMC32_GRAPHS_PER_PAGE    16
#define LMC32_TEMP_OBJECT        32001 /* handle of a graph's temporary object */
#define LMC32_PAGE_MAGIC         0x2468ACE1u
#define LMC32_GRAPH_MAGIC        0x13579BDFu

typedef struct GrDesc GrDesc;
typedef struct PgDesc PgDesc;

/* Hooks a companion module may install; this library only stores them. */
typedef FARPROC LMHOOKPROC;
/* Draws one object of a graph into a device context. */
typedef void (WINAPI *LMDRAWPROC)(GrDesc *graph, HDC dc);

/* A pen: the first four fields are a LOGPEN. */
typedef struct LineDesc {
    LONG nStyle;      /* 0..6: solid, dash, dot, dash-dot, dash-dot-dot, null, inside-frame */
    LONG nWidthX;     /* logical width, solid and inside-frame pens only */
    LONG nWidthY;
    COLORREF cr;
    LONG nPixWidth;   /* width in device pixels as the caller gave it */
    LONG nColor;      /* colour as given: palette index, or -2 for a direct COLORREF */
    HWND hWnd;        /* window of the graph that owns the pen */
} LineDesc;

typedef struct TextDesc {
    LOGFONTW lf;
    LONG crColor;
    LONG nFontIndex;
    LONG nReserved;
    LONG nBaseSize;
    LONG nSize;       /* points */
    BYTE abReserved[48];
} TextDesc;

typedef struct PrintOpts {
    BOOL bPrintBorder;
    BOOL bPrintGraphBack;
    BOOL bPrintPlotBack;
    BOOL bScaleLineWidths;
    LONG nPrintStyle;
    BOOL bPrintKeepAspect;
    float fPrintLeft;
    float fPrintTop;
    BOOL bPrintOptsSet;
} PrintOpts;

typedef struct DevDesc {
    LONG nScreenWidth;
    LONG nScreenHeight;
    LONG nScreenPpiX;
    LONG nScreenPpiY;
    LONG nPrinterResX;
    LONG nPrinterResY;
    LONG nPrinterPpiX;
    LONG nPrinterPpiY;
    LONG nPrinterScaleX;
    LONG nPrinterScaleY;
    LONG xMouse;      /* last mouse position over a graph window, client pixels */
    LONG yMouse;
    BOOL bDefPrinter;
    HINSTANCE hModule;
    LONG nColors;
} DevDesc;

typedef struct TopDesc {
    HWND hWndMain;
    BOOL bInit;
    HGLOBAL hPgDesc[LMC32_PAGE_TABLE_SIZE];
    void *pDataSet[LMC32_DATASET_TABLE_SIZE];
    TextDesc DefText;
    LONG nRealSize;
    HRGN hClipRgn;
    LONG nPages;
    HINSTANCE hInst;
    BOOL bErrMsg;
    BOOL bTerm;
    LMHOOKPROC pfnDynLinesUpdate;
    HCURSOR hGraphCursor;
    LONG nGridsOrder;
    BOOL bCopying;
    PrintOpts PrintOpts;
    double dMaxVal;
    double dMinVal;
    double dBadVal;
    LONG nNextUserID;
    BOOL bNoAutoUserID;
    LMHOOKPROC pfnRestoreDynObj;
    LMHOOKPROC pfnSaveDynObj;
    DevDesc *pDevDesc;
} TopDesc;

struct PgDesc {
    LONG nPage;
    HWND hWnd;
    void *pBuilder;
    HWND hWndParent;
    LONG cxClient, cyClient;
    LONG cxLog, cyLog;
    COLORREF crBack;
    LONG nMapMode;
    LONG nGraphs;
    LONG nSavedMapMode;
    BOOL bBuilt;
    LONG nSel;
    LONG nPrevSel;
    BOOL bSelectors;
    BOOL bSelectorsShown;
    BOOL bHighlight;
    BOOL bBlownUp;
    float fBlowX, fBlowY, fBlowW, fBlowH;
    float fScaleX, fScaleY;
    LONG cxOrig, cyOrig;
    LONG nMajorTick, nMinorTick;
    WCHAR szName[13];
    LONG nKeepAspect;
    BOOL bFixedFonts;
    TopDesc *pTop;
    HGLOBAL hGrDesc[LMC32_GRAPHS_PER_PAGE];
    HWND hSelBtn[LMC32_GRAPHS_PER_PAGE];
    DWORD dwMagic;
    LONG nPosMode;
};

struct GrDesc {
    LONG nGraph;
    HWND hWnd;
    void *pBuilder;
    void *pCurObj;
    COLORREF crGraphBack;
    COLORREF crPlotBack;
    BOOL bBuilding;
    BOOL bBuilt;
    LineDesc Border;
    BOOL bBorder;
    BOOL bPrinting;
    HDC hMetaDC;
    RECT rcPlot;
    PgDesc *pPage;
    LONG xLog, yLog, cxLog, cyLog;
    LONG xPix, yPix, cxPix, cyPix;
    float fX, fY, fW, fH;
    float fW0, fH0;
    float fPlotX1, fPlotY1, fPlotX2, fPlotY2;
    LineDesc CurLine;
    LONG nScaleX, nScaleY;
    double dInterceptX, dInterceptY;
    double dX1, dX2, dY1, dY2;
    double dWX1, dWX2, dWY1, dWY2;
    LONG nMapMode;
    LONG cxPixel, cyPixel;
    LONG nCurObj;
    LONG nSelObj;
    LONG hXAxis, hYAxis;
    HDC hBuildDC;
    LONG nObjSlots;
    LONG pGCO;
    DWORD dwMagic;
    BYTE nRaised;
    BYTE bPaintedOnce;
    SHORT bEraseBack;
    HGLOBAL hTempObj;
    HGLOBAL hObjArray;
    HGLOBAL *pObjArray;
    BOOL bBitBlt;
    HBITMAP hBitmap;
    HDC hMemDC;
    LONG MouseAct[8][2];
    HGLOBAL hSavedXAxes[10];
    HGLOBAL hSavedYAxes[10];
    LONG nMajorTick, nMinorTick;
};

/* The common head of every object record. */
typedef struct ObjDesc {
    LONG nType;
    LONG nSubType;
    LMDRAWPROC pfnDraw;
    RECT rcObj;
    LONG hXAxisObj, hYAxisObj;
    LineDesc Line;
    LONG anTypeWords[3];
    BOOL bHighlight;
    BOOL bVisible;
    LONG nTypeWord;
    LONG nUserID;
    BOOL bUpdate;
    double dCoord[4];
} ObjDesc;

/* The 22-byte header that precedes a Windows metafile in a placeable
 * metafile file; its key is 0 when a metafile has none. */
#pragma pack(push, 2)
typedef struct PlaceableMetaHeader {
    DWORD dwKey;      /* 0x9AC6CDD7 */
    WORD hmf;
    SHORT left, top, right, bottom;
    WORD wInch;       /* logical units per inch */
    DWORD dwReserved;
    WORD wChecksum;   /* XOR of the ten preceding 16-bit words */
} PlaceableMetaHeader;
#pragma pack(pop)

/* A metafile handed to the host; the host frees it with WGDeleteMetafile. */
typedef struct MetaDesc {
    HGLOBAL hOwn;     /* the descriptor's own block */
    HANDLE hMeta;     /* HMETAFILE, or HENHMETAFILE when bEnhanced */
    PlaceableMetaHeader Header;
    BOOL bEnhanced;
} MetaDesc;

/* Initialisation and global state */
void       WINAPI WGInit(HINSTANCE hInst, HWND hWndMain);
BOOL       WINAPI InitTop(TopDesc *top, WNDPROC pageProc, WNDPROC graphProc, UINT graphClassStyle);
void       WINAPI InitDll(TopDesc *top);
BOOL       WINAPI Cleanup(TopDesc *top, BOOL bFreeArrays);
DevDesc *  WINAPI GetDevDesc(void);
int        WINAPI WGGetVersion(int *minor);
LPCWSTR    WINAPI WGGetDate(void);
void       WINAPI WGEnableErrorMessages(BOOL enable);
int        WINAPI WGGetLastError(void);
int        WINAPI ErrHdlr(int code, int mode, LPCWSTR text);
int        WINAPI ExitApplication(LPCWSTR text);
int        WINAPI WGBadValueCheck(double *value);
HWND       WINAPI SetFormPage(HWND form);
LMHOOKPROC WINAPI SetRemoteRecalc(LMHOOKPROC recalc);
void       WINAPI SetRemoteSaveRestDynObj(LMHOOKPROC save, LMHOOKPROC restore);

/* Colours */
COLORREF   WINAPI WGGetRGBColor(COLORREF color);
COLORREF   WINAPI WGGetNearestRGBColor(COLORREF color);
int        WINAPI WGGetPureColor(COLORREF color);
COLORREF   WINAPI WGCreateShadeColor(COLORREF color);
COLORREF   WINAPI CreateLighterColor(COLORREF color);

/* Utilities */
DWORD      WINAPI Delay(DWORD milliseconds, BOOL pump);
int        WINAPI WGMenuCheck(PgDesc *page, UINT item, int submenu);
void       WINAPI WGToggleOKCursor(BOOL on);
void       WINAPI WGSetOKCursor(HWND dialog);
HGLOBAL    WINAPI WGCopyMem(HGLOBAL block);
HGLOBAL    WINAPI LMRealloc(HGLOBAL block, DWORD oldSize, DWORD newSize, void **newAddress);
void       WINAPI CleanGDI(HDC dc);
HPEN       WINAPI SelectPenIndirect(GrDesc *graph, HDC dc, const LOGPEN *pen);
HBRUSH     WINAPI SelectSolidBrush(GrDesc *graph, HDC dc, COLORREF color);

/* Pages and graphs. A page is also known by its number 1..59, a graph by
 * 60 + 16 * page + slot. Builders are host objects whose first virtual
 * function is called on the first paint: a page's with the page, a graph's
 * with the graph and the paint context. */
PgDesc *   WINAPI WGCreatePage(LPCWSTR name, HWND parent, int unused, LPCWSTR title, void *builder,
                               LPCWSTR menu, COLORREF background, int mapping, DWORD style,
                               int positionMode, int x, int y, int width, int height);
PgDesc *   WINAPI InitPage(LPCWSTR name, HWND parent, LPCWSTR title, LPCWSTR menu, COLORREF background,
                           int mapping, DWORD style, int positionMode, int x, int y, int width,
                           int height, void *builder);
GrDesc *   WINAPI WGCreateGraph(PgDesc *page, void *builder, double left, double top, double right,
                                double bottom, COLORREF background, int borderColor, int borderWidth);
GrDesc *   WINAPI InitGraph(TopDesc *top, PgDesc *page, double left, double top_, double right,
                            double bottom, COLORREF background, int borderColor, int borderWidth,
                            void *builder);
void       WINAPI WGClosePage(PgDesc *page);
void       WINAPI KillGraphPage(int page);
void       WINAPI WGDeleteGraph(GrDesc *graph);
void       WINAPI WGUpdatePage(PgDesc *page);
void       WINAPI WGRedrawGraph(GrDesc *graph, BOOL recompute);
void       WINAPI WGChangeGraphBackgnd(GrDesc *graph, COLORREF color);
COLORREF   WINAPI WGGetGraphBackgnd(GrDesc *graph);
void       WINAPI WGChangePlotBackgnd(GrDesc *graph, COLORREF color);
COLORREF   WINAPI WGGetPlotBackgnd(GrDesc *graph);
void       WINAPI WGSetGraphBorder(GrDesc *graph, BOOL on, int color, int width);
void       WINAPI WGRaiseGraph(GrDesc *graph, int depth);
void       WINAPI WGSetGraphBitBltMode(GrDesc *graph, BOOL on);
BOOL       WINAPI WGGetGraphBitBltMode(GrDesc *graph);
void       WINAPI WGSetMouseEventAction(GrDesc *graph, UINT message, int action, int parameter);
int        WINAPI WGGetMouseEventAction(GrDesc *graph, UINT message, int *parameter);
GrDesc *   WINAPI WGGetGraphDesc(HWND window);
PgDesc *   WINAPI WGGetPageDesc(HWND window);
GrDesc *   WINAPI WGGetGraphInPage(PgDesc *page, int slot);
GrDesc *   WINAPI GetGrDescNum(PgDesc *page, int slot);
HWND       WINAPI WGGetPageWindow(PgDesc *page);
HWND       WINAPI WGGetGraphWindow(GrDesc *graph);
PgDesc *   WINAPI GetPgDescPtr(int number);
GrDesc *   WINAPI GetGrDescPtr(int number);
BOOL       WINAPI WGIsPageDescValid(PgDesc *page);
BOOL       WINAPI WGIsGraphDescValid(GrDesc *graph);
BOOL       WINAPI WGIsDescValid(const void *pointer);
LONG       WINAPI GetpGCO(GrDesc *graph);
void       WINAPI SetpGCO(GrDesc *graph, LONG value);
void       WINAPI ObjectInterpreter(GrDesc *graph, HDC dc);
void       WINAPI SetLine(LineDesc *line, HDC dc, int color, int style, int width);

/* Objects of a graph. Handles are slot + 1; 32001 names the temporary
 * object, 0 nothing. */
ObjDesc *  WINAPI GetObjDesc(GrDesc *graph, int handle, HGLOBAL *block);
int        WINAPI GetObjHandle(GrDesc *graph, const ObjDesc *object);
LineDesc * WINAPI GetLineDesc(GrDesc *graph, int handle, int n);
int        WINAPI WGGetObjTypeSize(int type);
int        WINAPI WGGetObjSize(GrDesc *graph, int handle);
int        WINAPI WGGetObjectType(GrDesc *graph, int handle);
int        WINAPI WGGetGraphObject(GrDesc *graph, int type, int n, int *subType);
void       WINAPI WGDeleteObject(GrDesc *graph, int handle);
int        WINAPI WGDuplicateObject(GrDesc *graph, int handle);
BOOL       WINAPI WGObjUpdate(GrDesc *graph, int a, int b);
ObjDesc *  WINAPI WGShowObject(GrDesc *graph, int handle, BOOL visible);
void       WINAPI WGSelObject(GrDesc *graph, int handle);
BOOL       WINAPI WGSetObjUserID(GrDesc *graph, int handle, LONG id);
LONG       WINAPI WGGetObjUserID(GrDesc *graph, int handle);
int        WINAPI WGGetUserIDObj(GrDesc *graph, LONG id);
int        WINAPI ReportIllFunc(const ObjDesc *object);
BOOL       WINAPI WGChangeLineStyle(GrDesc *graph, int handle, int style, int n);
int        WINAPI WGGetLineStyle(GrDesc *graph, int handle, int n);
BOOL       WINAPI WGChangeLineWidth(GrDesc *graph, int handle, int width, int n);
int        WINAPI WGGetLineWidth(GrDesc *graph, int handle, int n);
BOOL       WINAPI WGChangeLineColor(GrDesc *graph, int handle, int color, int n);
int        WINAPI WGGetLineColor(GrDesc *graph, int handle, int n);
BOOL       WINAPI WGChangeLineColorRGB(GrDesc *graph, int handle, COLORREF color, int n);
COLORREF   WINAPI WGGetLineColorRGB(GrDesc *graph, int handle, int n);

/* Metafiles and bitmaps of pages */
MetaDesc * WINAPI WGConvertPageToMeta(PgDesc *page, int kind);
void       WINAPI LMMakeMetaFile(HDC dc, PgDesc *page, int unused, int kind);
void       WINAPI WGDeleteMetafile(MetaDesc *meta);
HBITMAP    WINAPI WGGetPageBitmapHandle(const void *pageOrGraph, int mode);

#ifdef __cplusplus
}
#endif

#endif

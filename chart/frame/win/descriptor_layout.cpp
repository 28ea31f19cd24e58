// The records' 32-bit layouts are fixed: page files and companion modules
// depend on them. A field added, removed or resized shows up here first.
#include <cstddef>

#include "lmc32.h"

#if !defined(_WIN64)
static_assert(sizeof(LineDesc) == 28);
static_assert(sizeof(TextDesc) == 160);
static_assert(sizeof(LOGFONTW) == 92);
static_assert(sizeof(ObjDesc) == 128);
static_assert(offsetof(ObjDesc, Line) == 36);
static_assert(offsetof(ObjDesc, nUserID) == 88);
static_assert(offsetof(ObjDesc, dCoord) == 96);
static_assert(sizeof(PrintOpts) == 36);
static_assert(sizeof(DevDesc) == 60);
static_assert(sizeof(TopDesc) == 7736);
static_assert(offsetof(TopDesc, dMaxVal) == 7688);
static_assert(sizeof(PgDesc) == 292);
static_assert(offsetof(PgDesc, dwMagic) == 284);
static_assert(sizeof(GrDesc) == 504);
static_assert(offsetof(GrDesc, dInterceptX) == 200);
#endif
static_assert(sizeof(PlaceableMetaHeader) == 22);
static_assert(offsetof(LineDesc, cr) == 12, "the first four fields are a LOGPEN");
static_assert(offsetof(LOGPEN, lopnColor) == 12);

#include "objects.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "../object_types.h"
#include "page_store.h"

namespace lmc32 {

ObjDesc* ObjectOf(GrDesc* graph, int handle) {
    if (!graph || handle == 0) return nullptr;
    if (handle == kTempObjectHandle) return static_cast<ObjDesc*>(graph->hTempObj);
    if (handle < 1 || handle > graph->nObjSlots || !graph->pObjArray) return nullptr;
    return static_cast<ObjDesc*>(graph->pObjArray[handle - 1]);
}

ObjDesc* AllocObjDesc(GrDesc* graph, int type, int subType) {
    if (!graph->bBuilding) {
        ErrHdlr(32, 0, nullptr);
        return nullptr;
    }
    if (_TopDesc->bTerm) return nullptr;
    if (graph->nCurObj >= graph->nObjSlots) {
        const DWORD oldSize = static_cast<DWORD>(graph->nObjSlots * sizeof(HGLOBAL));
        const DWORD newSize = static_cast<DWORD>((graph->nObjSlots + kObjectSlotGrowth) * sizeof(HGLOBAL));
        GlobalUnlock(graph->hObjArray);
        void* address = nullptr;
        HGLOBAL grown = LMRealloc(graph->hObjArray, oldSize, newSize, &address);
        if (!grown) {
            graph->pObjArray = static_cast<HGLOBAL*>(GlobalLock(graph->hObjArray));
            ErrHdlr(53, 0, nullptr);
            return nullptr;
        }
        graph->hObjArray = grown;
        graph->pObjArray = static_cast<HGLOBAL*>(address);
        graph->nObjSlots += kObjectSlotGrowth;
    }
    const int size = ObjectTypeSize(type);
    if (size == 0) {
        ErrHdlr(56, 0, nullptr);
        return nullptr;
    }
    auto* object = static_cast<ObjDesc*>(GlobalAlloc(GPTR, static_cast<SIZE_T>(size)));
    if (!object) {
        ErrHdlr(53, 0, nullptr);
        return nullptr;
    }
    graph->pObjArray[graph->nCurObj] = object;
    object->nType = type;
    object->nSubType = subType;
    object->Line = graph->CurLine;
    object->Line.hWnd = graph->hWnd;
    object->bVisible = TRUE;
    if (!_TopDesc->bNoAutoUserID) object->nUserID = _TopDesc->nNextUserID++;
    graph->pCurObj = object;
    return object;
}

void InvalidateObjectArea(GrDesc* graph, const ObjDesc* object) {
    if (!graph->hWnd) return;
    RECT area;
    bool erase = false;
    if (object->nType == ObjectType::Curve || object->nType == ObjectType::Group) {
        area = graph->rcPlot;
        area.right += graph->cxPixel;
    } else if (object->rcObj.left == object->rcObj.right && object->nType != ObjectType::Line &&
               object->nType != ObjectType::DataCursor) {
        InvalidateRect(graph->hWnd, nullptr, TRUE);
        return;
    } else {
        area = {std::min(object->rcObj.left, object->rcObj.right), std::min(object->rcObj.top, object->rcObj.bottom),
                std::max(object->rcObj.left, object->rcObj.right),
                std::max(object->rcObj.top, object->rcObj.bottom)};
        InflateRect(&area, 4 * graph->cxPixel, 4 * graph->cyPixel);
    }
    HDC dc = GetDC(graph->hWnd);
    if (!dc) {
        // Without a context the area cannot be converted: all of it.
        InvalidateRect(graph->hWnd, nullptr, erase);
        return;
    }
    ApplyGraphMapping(dc, *graph);
    LPtoDP(dc, reinterpret_cast<POINT*>(&area), 2);
    ReleaseDC(graph->hWnd, dc);
    InvalidateRect(graph->hWnd, &area, erase);
}

// Objects drawn against a deleted axis fall back to graph fractions rather
// than to whatever axis a later object gets that handle.
void ForgetAxis(GrDesc* graph, int handle) {
    if (graph->hXAxis == handle) graph->hXAxis = 0;
    if (graph->hYAxis == handle) graph->hYAxis = 0;
    for (int other = 1; other <= graph->nObjSlots; ++other) {
        ObjDesc* object = ObjectOf(graph, other);
        if (!object) continue;
        if (object->hXAxisObj == handle) object->hXAxisObj = 0;
        if (object->hYAxisObj == handle) object->hYAxisObj = 0;
    }
}

void DeleteObjectRecord(GrDesc* graph, int handle) {
    ObjDesc* object = ObjectOf(graph, handle);
    if (!object) return;
    const bool axis = object->nType == ObjectType::Axis && handle != kTempObjectHandle;
    GlobalFree(object);
    if (handle == kTempObjectHandle) {
        graph->hTempObj = nullptr;
    } else {
        graph->pObjArray[handle - 1] = nullptr;
    }
    if (axis) ForgetAxis(graph, handle);
}

}  // namespace lmc32

using namespace lmc32;

extern "C" {

ObjDesc* WINAPI GetObjDesc(GrDesc* graph, int handle, HGLOBAL* block) {
    ObjDesc* object = ObjectOf(graph, handle);
    if (block) *block = object;
    return object;
}

int WINAPI GetObjHandle(GrDesc* graph, const ObjDesc* object) {
    if (!IsOpenGraph(graph) || !object) return 0;
    for (int handle = 1; handle <= graph->nObjSlots; ++handle)
        if (ObjectOf(graph, handle) == object) return handle;
    return 0;
}

int WINAPI WGGetObjTypeSize(int type) { return ObjectTypeSize(type); }

int WINAPI WGGetObjSize(GrDesc* graph, int handle) {
    const ObjDesc* object = ObjectOf(graph, handle);
    if (!object) {
        ErrHdlr(56, 0, nullptr);
        return 0;
    }
    // Legends and pie charts beyond their built-in items keep the item
    // count in their own records; the block holds them all.
    const int size = ObjectTypeSize(object->nType);
    const SIZE_T block = GlobalSize(const_cast<ObjDesc*>(object));
    return (object->nType == ObjectType::Legend || object->nType == ObjectType::PieChart)
               ? static_cast<int>(std::max<SIZE_T>(static_cast<SIZE_T>(size), block))
               : size;
}

int WINAPI WGGetObjectType(GrDesc* graph, int handle) {
    const ObjDesc* object = ObjectOf(graph, handle);
    return object ? object->nType : 0;
}

int WINAPI WGGetGraphObject(GrDesc* graph, int type, int n, int* subType) {
    if (subType) *subType = 0;
    if (!graph) return 0;
    int seen = 0;
    for (int handle = 1; handle <= graph->nObjSlots; ++handle) {
        const ObjDesc* object = ObjectOf(graph, handle);
        if (object && object->nType == type && ++seen == n) {
            if (subType) *subType = object->nSubType;
            return handle;
        }
    }
    return 0;
}

void WINAPI WGDeleteObject(GrDesc* graph, int handle) { DeleteObjectRecord(graph, handle); }

int WINAPI WGDuplicateObject(GrDesc* graph, int handle) {
    ObjDesc* object = ObjectOf(graph, handle);
    if (!object) {
        ErrHdlr(56, 0, nullptr);
        return 0;
    }
    HGLOBAL copy = WGCopyMem(object);
    if (!copy) return 0;
    if (graph->hTempObj) GlobalFree(graph->hTempObj);
    graph->hTempObj = copy;
    return kTempObjectHandle;
}

BOOL WINAPI WGObjUpdate(GrDesc* graph, int a, int b) {
    const int target = a == kTempObjectHandle ? b : a;
    ObjDesc* temp = ObjectOf(graph, kTempObjectHandle);
    ObjDesc* object = ObjectOf(graph, target);
    ObjDesc* sized = ObjectOf(graph, a);
    // A record of another type would be read with the wrong layout.
    if (!temp || !object || !sized || (a != kTempObjectHandle && b != kTempObjectHandle) ||
        temp->nType != object->nType) {
        ErrHdlr(56, 0, nullptr);
        return FALSE;
    }
    // Never beyond either block, whatever the two records are.
    const SIZE_T size = std::min({GlobalSize(sized), GlobalSize(temp), GlobalSize(object)});
    std::memcpy(object, temp, size);
    GlobalFree(temp);
    graph->hTempObj = nullptr;
    return TRUE;
}

ObjDesc* WINAPI WGShowObject(GrDesc* graph, int handle, BOOL visible) {
    ObjDesc* object = ObjectOf(graph, handle);
    if (!object) return nullptr;
    object->bVisible = visible;
    if (!graph->bBuilding) InvalidateObjectArea(graph, object);
    return object;
}

void WINAPI WGSelObject(GrDesc* graph, int handle) {
    if (graph) graph->nSelObj = handle;
}

BOOL WINAPI WGSetObjUserID(GrDesc* graph, int handle, LONG id) {
    ObjDesc* object = ObjectOf(graph, handle);
    if (!object) {
        ErrHdlr(56, 0, nullptr);
        return FALSE;
    }
    object->nUserID = id;
    return TRUE;
}

LONG WINAPI WGGetObjUserID(GrDesc* graph, int handle) {
    const ObjDesc* object = ObjectOf(graph, handle);
    if (!object) {
        ErrHdlr(56, 0, nullptr);
        return 0;
    }
    return object->nUserID;
}

int WINAPI WGGetUserIDObj(GrDesc* graph, LONG id) {
    if (!graph || _TopDesc->bTerm) return 0;
    for (int handle = 1; handle <= graph->nObjSlots; ++handle) {
        const ObjDesc* object = ObjectOf(graph, handle);
        if (object && object->nUserID == id) return handle;
    }
    return 0;
}

int WINAPI ReportIllFunc(const ObjDesc* object) {
    wchar_t name[15] = {};
    LoadLibraryText(ObjectTypeNameId(object->nType), name, 14);
    return ErrHdlr(29, 2, name);
}

}  // extern "C"

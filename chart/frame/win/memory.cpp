// Memory blocks and bad values.
#include <cstring>

#include "../bad_value.h"
#include "library_state.h"

using namespace lmc32;

extern "C" {

HGLOBAL WINAPI WGCopyMem(HGLOBAL block) {
    const SIZE_T size = GlobalSize(block);
    const void* source = GlobalLock(block);
    if (!source) return nullptr;
    HGLOBAL copy = GlobalAlloc(GPTR, size);
    if (copy) std::memcpy(copy, source, size);
    GlobalUnlock(block);
    return copy;
}

HGLOBAL WINAPI LMRealloc(HGLOBAL block, DWORD oldSize, DWORD newSize, void** newAddress) {
    HGLOBAL grown = GlobalAlloc(GPTR, newSize);
    if (!grown) return nullptr;
    if (block) {
        const void* source = GlobalLock(block);
        if (source) std::memcpy(grown, source, oldSize < newSize ? oldSize : newSize);
        GlobalUnlock(block);
        GlobalFree(block);
    }
    if (newAddress) *newAddress = grown;
    return grown;
}

int WINAPI WGBadValueCheck(double* value) {
    const double maxValue = _TopDesc ? _TopDesc->dMaxVal : kMaxGoodValue;
    const double minValue = _TopDesc ? _TopDesc->dMinVal : kMinGoodValue;
    if (!IsBadValue(*value, maxValue, minValue)) return 0;
    *value = _TopDesc ? _TopDesc->dBadVal : kBadValueMarker;
    return 1;
}

}  // extern "C"

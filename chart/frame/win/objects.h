// The object store of a graph: allocation and the pieces attribute
// functions share.
#pragma once
#include "library_state.h"

namespace lmc32 {

// A new zero-filled object in slot nCurObj (see AllocObjDesc in the
// interface): the caller fills the body, sets pfnDraw and raises nCurObj.
ObjDesc* AllocObjDesc(GrDesc* graph, int type, int subType);

ObjDesc* ObjectOf(GrDesc* graph, int handle);

// Invalidates the part of the graph window the object covers.
void InvalidateObjectArea(GrDesc* graph, const ObjDesc* object);

// Frees an object's record; 32001 frees the temporary object.
void DeleteObjectRecord(GrDesc* graph, int handle);

}  // namespace lmc32

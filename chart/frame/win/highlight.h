// Flashing the selected object of a graph.
#pragma once
#include "library_state.h"

namespace lmc32 {

// Draws the object twice highlighted and back; plots and companion
// objects are not flashed.
void HighlightObj(GrDesc* graph, int handle);

}  // namespace lmc32

// Boxes the library shows outside the error handler.
#pragma once

namespace lmc32 {

// For functions that find no top descriptor: message 6 with the system's
// default caption.
void ShowNotInitialisedBox();

}  // namespace lmc32

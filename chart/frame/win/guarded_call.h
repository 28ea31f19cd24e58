// A frame that turns a processor exception (access violation, division by
// zero, array bounds, other system faults) raised inside a call into an
// ordinary return. GCC has no __try; this uses a vectored handler that
// sends the faulting thread back to the innermost open frame.
#pragma once
#include <cstdint>

namespace lmc32 {

struct CaughtFault {
    std::uint32_t exceptionCode;
    std::uintptr_t address;
};

// Runs body(context). Returns true when it ran to its end; false when a
// fault ended it, with the fault in *fault. Destructors of objects inside
// the body do not run on a fault, as with the system's own __except.
bool CallGuarded(void (*body)(void*), void* context, CaughtFault* fault);

// Removes the vectored handler (when the library is unloaded).
void RemoveFaultHandler();

}  // namespace lmc32

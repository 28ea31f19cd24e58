// Whether this process shares the initial network namespace, i.e. whether
// its traffic could reach the machine's real interfaces.
#pragma once

namespace instsim {

// True also when the namespaces cannot be compared: then assume the worst.
bool in_initial_network_namespace();

}  // namespace instsim

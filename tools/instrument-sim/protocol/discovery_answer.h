// The instrument's side of the UDP discovery exchange.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fault_plan.h"

namespace instsim {

// The datagram an instrument sends back for `request`, or nothing when the
// request is not the discovery request or the instrument stays silent.
std::optional<std::string> discovery_answer(std::string_view request, const InstrumentSetup& instrument);

}  // namespace instsim

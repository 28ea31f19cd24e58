// Turns replies into timed writes the way a faulty instrument would send
// them: late, cut into pieces, or held back and merged with the next one.
#pragma once

#include <string>
#include <vector>

#include "fault_plan.h"
#include "session.h"

namespace instsim {

struct TimedWrite {
    unsigned after_ms;  // counted from the moment the reply was due
    std::string bytes;
};

class ReplyShaper {
public:
    explicit ReplyShaper(const FaultPlan& faults) : faults_(faults) {}

    std::vector<TimedWrite> shape(const Reply& reply);

private:
    const FaultPlan& faults_;
    std::string held_;
};

}  // namespace instsim

// One simulated instrument's state, shared by all its connections: the jobs
// its status queries report on and what it was asked to do.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "fault_plan.h"
#include "status_query.h"

namespace instsim {

struct Instrument {
    explicit Instrument(InstrumentSetup s)
        : setup(std::move(s)),
          transfer_status(kTransferStatusCodes, setup.faults.transfer_status),
          controller2_status(kController2StatusCodes, setup.faults.controller2_status),
          controller4_status(kController4StatusCodes, setup.faults.controller4_status) {}

    InstrumentSetup setup;
    StatusQuery transfer_status;
    StatusQuery controller2_status;
    StatusQuery controller4_status;
    unsigned headers_received = 0;
    std::set<int> stored_file_types;  // type codes of completely received files
    std::vector<std::string> upload_mode_commands;  // "W_BL", "W_BD n", "W_BH n" as received
};

}  // namespace instsim

// The socket side of the simulator: one poll loop serving every instrument's
// UDP port 2000 and TCP port 2010 on the instrument's own address.
#pragma once

#include <atomic>
#include <filesystem>
#include <vector>

#include "fault_plan.h"
#include "recorder.h"

namespace instsim {

struct SimulatorOptions {
    std::vector<InstrumentSetup> instruments;
    std::filesystem::path log_path;
    std::filesystem::path store_dir;  // files land in STORE/ADDRESS/NAME
    std::filesystem::path ready_file;  // written once every socket is bound
    // Also take broadcasts (wildcard UDP socket). Only safe inside a
    // namespace of its own.
    bool receive_broadcasts = false;
};

// Runs until `stop` becomes true; throws when a socket cannot be set up.
void run_simulator(const SimulatorOptions& options, const std::atomic<bool>& stop);

}  // namespace instsim

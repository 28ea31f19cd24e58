// instrument-sim: simulated instruments for the update tool's tests.
#include <csignal>
#include <cstring>
#include <iostream>
#include <string_view>

#include "fault_plan.h"
#include "network_namespace.h"
#include "simulator.h"

namespace {

std::atomic<bool> stop_requested{false};

void request_stop(int) { stop_requested = true; }

void usage(std::ostream& out) {
    out << "usage: instrument-sim --log FILE --store DIR [--ready-file FILE]\n"
           "                      --instrument ADDRESS,FAMILY,SERIAL[,KEY=VALUE]... [--instrument ...]\n"
           "Each instrument answers \"DISCOVER\" on UDP ADDRESS:2000 and commands on TCP ADDRESS:2010.\n"
           "Outside a network namespace of its own only 127.x.x.x addresses are allowed and\n"
           "broadcasts are not taken. Fault keys:\n"
        << instsim::fault_keys_help();
}

bool is_loopback(const std::string& address) { return address.starts_with("127."); }

}  // namespace

int main(int argc, char** argv) {
    instsim::SimulatorOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--help") {
            usage(std::cout);
            return 0;
        }
        if (i + 1 >= argc) {
            usage(std::cerr);
            return 2;
        }
        const char* value = argv[++i];
        if (option == "--instrument") {
            auto parsed = instsim::parse_instrument_setup(value);
            if (!parsed.setup) {
                std::cerr << "instrument-sim: " << parsed.error << "\n";
                return 2;
            }
            options.instruments.push_back(std::move(*parsed.setup));
        } else if (option == "--log") {
            options.log_path = value;
        } else if (option == "--store") {
            options.store_dir = value;
        } else if (option == "--ready-file") {
            options.ready_file = value;
        } else {
            usage(std::cerr);
            return 2;
        }
    }
    if (options.instruments.empty() || options.log_path.empty() || options.store_dir.empty()) {
        usage(std::cerr);
        return 2;
    }

    const bool isolated = !instsim::in_initial_network_namespace();
    for (const auto& instrument : options.instruments) {
        if (!isolated && !is_loopback(instrument.address)) {
            std::cerr << "instrument-sim: refusing " << instrument.address
                      << " outside a network namespace of its own (see tools/netlab)\n";
            return 3;
        }
    }
    options.receive_broadcasts = isolated;

    struct sigaction action {};
    action.sa_handler = request_stop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    try {
        instsim::run_simulator(options, stop_requested);
    } catch (const std::exception& e) {
        std::cerr << "instrument-sim: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

// Feeds arbitrary bytes, cut at arbitrary points, into a command session
// whose faults come from the first input bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    instsim::FaultPlan faults;
    faults.block_size = 1 + data[0] % 64;
    faults.ack = static_cast<instsim::AckFault>(data[1] % 3);
    if (data[1] & 0x80) faults.reset_after_bytes = data[2];
    faults.transfer_status.outcome = static_cast<instsim::StatusOutcome>(data[2] % 4);
    instsim::Instrument instrument({"10.77.1.2", "P5", "1", faults});
    instsim::Session session(instrument);
    std::string_view input(reinterpret_cast<const char*>(data) + 3, size - 3);
    const std::size_t cut = input.empty() ? 0 : data[0] % (input.size() + 1);
    for (const auto piece : {input.substr(0, cut), input.substr(cut)}) {
        instsim::SessionActions actions;
        session.receive(piece, actions);
        for (const auto& reply : actions.replies) {
            if (reply.bytes.empty() || reply.bytes.back() != '\r') std::abort();
        }
        if (actions.reset_connection) break;
    }
    session.end_of_stream();
    return 0;
}

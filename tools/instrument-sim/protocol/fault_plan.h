// What one simulated instrument is and how it misbehaves. Parsed from the
// command line, one "--instrument" option per instrument.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace instsim {

// The shape of the answer to "DISCOVER". Everything but `normal` is a fault
// the PC tool has to survive.
enum class DiscoveryVariant {
    normal,        // four fields, family and serial as configured
    silent,        // no answer at all
    no_field2,     // body holds only the first field
    short_field2,  // device code field shorter than its three-character prefix
    three_fields,  // no field after the serial
    short_body,    // body of exactly 30 characters
    no_separator,  // long body without any "|"
    malformed,     // does not begin with "TARGET"
    oversize,      // datagram longer than the 511 bytes a reader takes
};

enum class AckFault { none, missing, wrong };

// How a status query develops once the job it reports on has started.
enum class StatusOutcome { finish, fail, never, unknown_command };

struct StatusPlan {
    StatusOutcome outcome = StatusOutcome::finish;
    unsigned running_answers = 1;  // "still running" answers before the final one
};

struct FaultPlan {
    unsigned reply_delay_ms = 0;  // before every reply and acknowledgement
    unsigned ack_delay_ms = 0;    // added to the above for acknowledgements only
    DiscoveryVariant discovery = DiscoveryVariant::normal;
    bool tcp_silent = false;
    unsigned split_bytes = 0;  // 0: each reply in one write
    unsigned split_gap_ms = 20;
    bool merge_replies = false;
    AckFault ack = AckFault::none;
    unsigned ack_fault_from_block = 1;  // 1-based block number within a file
    std::optional<std::uint64_t> reset_after_bytes;  // of one file's data
    unsigned refuse_header_number = 0;  // 1-based count of headers; 0: none
    bool refuse_start = false;
    unsigned block_size = 1000;
    StatusPlan transfer_status;  // "R TS"
    StatusPlan controller2_status;  // "R UM"
    StatusPlan controller4_status;  // "R HU"
};

struct InstrumentSetup {
    std::string address;  // dotted IPv4
    std::string family;   // "P4", "P5A", ... or anything else to test unknown codes
    std::string serial;
    FaultPlan faults;
};

struct SetupParseResult {
    std::optional<InstrumentSetup> setup;
    std::string error;
};

// "ADDRESS,FAMILY,SERIAL[,KEY=VALUE]..." with the keys of fault_keys_help().
SetupParseResult parse_instrument_setup(std::string_view text);
std::string fault_keys_help();

}  // namespace instsim

#include "fault_plan.h"

#include <array>
#include <functional>
#include <utility>

#include "text_fields.h"

namespace instsim {
namespace {

constexpr std::uint64_t kMaxMilliseconds = 600000;
constexpr std::uint64_t kMaxCount = 1000000;

template <typename Enum, std::size_t N>
bool pick(std::string_view value, const std::array<std::pair<std::string_view, Enum>, N>& names, Enum& out) {
    for (const auto& [name, e] : names) {
        if (name == value) {
            out = e;
            return true;
        }
    }
    return false;
}

bool set_flag(std::string_view value, std::string_view word, bool& out) {
    if (value != word) return false;
    out = true;
    return true;
}

bool set_number(std::string_view value, std::uint64_t limit, unsigned& out) {
    const auto number = parse_decimal(value, limit);
    if (!number) return false;
    out = static_cast<unsigned>(*number);
    return true;
}

const std::array<std::pair<std::string_view, DiscoveryVariant>, 9> kDiscoveryNames{{
    {"normal", DiscoveryVariant::normal},
    {"silent", DiscoveryVariant::silent},
    {"no-field2", DiscoveryVariant::no_field2},
    {"short-field2", DiscoveryVariant::short_field2},
    {"three-fields", DiscoveryVariant::three_fields},
    {"short-body", DiscoveryVariant::short_body},
    {"no-separator", DiscoveryVariant::no_separator},
    {"malformed", DiscoveryVariant::malformed},
    {"oversize", DiscoveryVariant::oversize},
}};

const std::array<std::pair<std::string_view, AckFault>, 2> kAckNames{{
    {"missing", AckFault::missing},
    {"wrong", AckFault::wrong},
}};

const std::array<std::pair<std::string_view, StatusOutcome>, 4> kOutcomeNames{{
    {"finish", StatusOutcome::finish},
    {"fail", StatusOutcome::fail},
    {"never", StatusOutcome::never},
    {"unknown", StatusOutcome::unknown_command},
}};

struct FaultKey {
    std::string_view name;
    std::string_view help;
    std::function<bool(std::string_view, FaultPlan&)> apply;
};

const std::array<FaultKey, 19>& fault_keys() {
    static const std::array<FaultKey, 19> keys{{
        {"delay", "MS before every reply and acknowledgement (UDP and TCP)",
         [](auto v, auto& p) { return set_number(v, kMaxMilliseconds, p.reply_delay_ms); }},
        {"ack-delay", "MS more before every acknowledgement",
         [](auto v, auto& p) { return set_number(v, kMaxMilliseconds, p.ack_delay_ms); }},
        {"discovery", "normal|silent|no-field2|short-field2|three-fields|short-body|no-separator|malformed|oversize",
         [](auto v, auto& p) { return pick(v, kDiscoveryNames, p.discovery); }},
        {"tcp", "silent: accept and record, never answer",
         [](auto v, auto& p) { return set_flag(v, "silent", p.tcp_silent); }},
        {"split", "N: send every reply in pieces of N bytes",
         [](auto v, auto& p) { return set_number(v, kMaxCount, p.split_bytes) && p.split_bytes > 0; }},
        {"split-gap", "MS between the pieces of a split reply (default 20)",
         [](auto v, auto& p) { return set_number(v, kMaxMilliseconds, p.split_gap_ms); }},
        {"merge", "on: hold every reply back and send it in one write with the next",
         [](auto v, auto& p) { return set_flag(v, "on", p.merge_replies); }},
        {"ack", "missing|wrong acknowledgement of data blocks",
         [](auto v, auto& p) { return pick(v, kAckNames, p.ack); }},
        {"ack-from", "N: the ack fault starts at block N of each file (default 1)",
         [](auto v, auto& p) { return set_number(v, kMaxCount, p.ack_fault_from_block) && p.ack_fault_from_block > 0; }},
        {"reset-after", "N: reset the connection once N bytes of a file's data arrived",
         [](auto v, auto& p) {
             const auto n = parse_decimal(v, UINT64_MAX);
             if (n) p.reset_after_bytes = *n;
             return n.has_value();
         }},
        {"refuse-header", "N: refuse the N-th file header this instrument gets",
         [](auto v, auto& p) { return set_number(v, kMaxCount, p.refuse_header_number) && p.refuse_header_number > 0; }},
        {"refuse-start", "on: refuse \"W BS\" and \"W HB\"",
         [](auto v, auto& p) { return set_flag(v, "on", p.refuse_start); }},
        {"block", "N: data bytes per acknowledged block (default 1000)",
         [](auto v, auto& p) { return set_number(v, kMaxCount, p.block_size) && p.block_size > 0; }},
        {"ts", "finish|fail|never|unknown: outcome of \"R TS\" after a file",
         [](auto v, auto& p) { return pick(v, kOutcomeNames, p.transfer_status.outcome); }},
        {"ts-polls", "N: running answers to \"R TS\" before the outcome (default 1)",
         [](auto v, auto& p) { return set_number(v, kMaxCount, p.transfer_status.running_answers); }},
        {"um", "finish|fail|never|unknown: outcome of \"R UM\" after \"W BS\"",
         [](auto v, auto& p) { return pick(v, kOutcomeNames, p.controller2_status.outcome); }},
        {"um-polls", "N: running answers to \"R UM\" before the outcome (default 1)",
         [](auto v, auto& p) { return set_number(v, kMaxCount, p.controller2_status.running_answers); }},
        {"hu", "finish|fail|never|unknown: outcome of \"R HU\" after \"W HB\"",
         [](auto v, auto& p) { return pick(v, kOutcomeNames, p.controller4_status.outcome); }},
        {"hu-polls", "N: running answers to \"R HU\" before the outcome (default 1)",
         [](auto v, auto& p) { return set_number(v, kMaxCount, p.controller4_status.running_answers); }},
    }};
    return keys;
}

bool apply_key(std::string_view key, std::string_view value, FaultPlan& plan) {
    for (const auto& k : fault_keys()) {
        if (k.name == key) return k.apply(value, plan);
    }
    return false;
}

bool is_dotted_ipv4(std::string_view text) {
    const auto parts = split_all(text, '.');
    if (parts.size() != 4) return false;
    for (const auto part : parts) {
        if (part.size() > 3 || !parse_decimal(part, 255)) return false;
    }
    return true;
}

bool is_field_text(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (c == '|' || c == ',' || static_cast<unsigned char>(c) < 0x20) return false;
    }
    return true;
}

}  // namespace

SetupParseResult parse_instrument_setup(std::string_view text) {
    const auto parts = split_all(text, ',');
    if (parts.size() < 3) return {std::nullopt, "expected ADDRESS,FAMILY,SERIAL[,KEY=VALUE]..."};
    InstrumentSetup setup;
    if (!is_dotted_ipv4(parts[0])) return {std::nullopt, "not a dotted IPv4 address: " + std::string(parts[0])};
    if (!is_field_text(parts[1]) || !is_field_text(parts[2])) {
        return {std::nullopt, "family and serial must be non-empty, without '|', ',' or control characters"};
    }
    setup.address = parts[0];
    setup.family = parts[1];
    setup.serial = parts[2];
    for (std::size_t i = 3; i < parts.size(); ++i) {
        const auto equals = parts[i].find('=');
        if (equals == std::string_view::npos ||
            !apply_key(parts[i].substr(0, equals), parts[i].substr(equals + 1), setup.faults)) {
            return {std::nullopt, "bad fault setting: " + std::string(parts[i])};
        }
    }
    return {std::move(setup), {}};
}

std::string fault_keys_help() {
    std::string help;
    for (const auto& k : fault_keys()) {
        help += "  " + std::string(k.name) + "=" + std::string(k.help) + "\n";
    }
    return help;
}

}  // namespace instsim

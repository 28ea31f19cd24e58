#include "discovery_answer.h"

#include <array>
#include <functional>
#include <utility>

namespace instsim {
namespace {

using namespace std::string_view_literals;

constexpr auto kRequest = "DISCOVER\0"sv;  // the zero byte belongs to the request
constexpr auto kReplyStart = "TARGET"sv;
constexpr char kSeparator = ':';  // readers skip this byte whatever it is
// Field 2 carries a three-character prefix before the family code.
constexpr auto kDeviceCodePrefix = "ZU-"sv;
constexpr auto kFirstField = "INSTRUMENT"sv;
constexpr auto kLastField = "FIRMWARE 1.00.00 BOOT 1.00"sv;
// Readers take replies whose body is longer than this.
constexpr std::size_t kShortestIgnoredBody = 30;
// Readers take at most 511 bytes of a datagram.
constexpr std::size_t kOversizeLength = 600;

std::string join_fields(std::initializer_list<std::string_view> fields) {
    std::string body;
    for (const auto field : fields) {
        if (!body.empty()) body += '|';
        body += field;
    }
    return body;
}

std::string device_code(const InstrumentSetup& instrument) {
    return std::string(kDeviceCodePrefix) + instrument.family;
}

std::string normal_body(const InstrumentSetup& i) {
    return join_fields({kFirstField, device_code(i), i.serial, kLastField});
}

std::string with_header(std::string body) {
    return std::string(kReplyStart) + kSeparator + body;
}

using Builder = std::function<std::string(const InstrumentSetup&)>;

const std::array<std::pair<DiscoveryVariant, Builder>, 8>& builders() {
    static const std::array<std::pair<DiscoveryVariant, Builder>, 8> table{{
        {DiscoveryVariant::normal, [](const auto& i) { return with_header(normal_body(i)); }},
        {DiscoveryVariant::no_field2,
         [](const auto&) { return with_header(std::string(kFirstField) + " WITHOUT A DEVICE CODE FIELD|"); }},
        {DiscoveryVariant::short_field2,
         [](const auto& i) { return with_header(join_fields({kFirstField, "ZU", i.serial, kLastField})); }},
        {DiscoveryVariant::three_fields,
         [](const auto& i) {
             return with_header(join_fields({std::string(kFirstField) + " " + std::string(kLastField), device_code(i),
                                             i.serial}));
         }},
        {DiscoveryVariant::short_body,
         [](const auto& i) {
             std::string body = join_fields({kFirstField, device_code(i), i.serial, ""});
             body.resize(kShortestIgnoredBody, '.');
             return with_header(body);
         }},
        {DiscoveryVariant::no_separator,
         [](const auto& i) { return with_header(std::string(kFirstField) + " " + device_code(i) + " " + i.serial + " " + std::string(kLastField)); }},
        {DiscoveryVariant::malformed, [](const auto& i) { return "TARGXT" + std::string(1, kSeparator) + normal_body(i); }},
        {DiscoveryVariant::oversize,
         [](const auto& i) {
             std::string reply = with_header(normal_body(i)) + ' ';
             reply.resize(kOversizeLength, 'X');
             return reply;
         }},
    }};
    return table;
}

}  // namespace

std::optional<std::string> discovery_answer(std::string_view request, const InstrumentSetup& instrument) {
    if (request != kRequest) return std::nullopt;
    for (const auto& [variant, build] : builders()) {
        if (variant == instrument.faults.discovery) return build(instrument);
    }
    return std::nullopt;  // DiscoveryVariant::silent
}

}  // namespace instsim

#include "discovery_answer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace instsim {
namespace {

using namespace std::string_view_literals;
constexpr auto kRequest = "DISCOVER\0"sv;

InstrumentSetup instrument(std::string family, DiscoveryVariant variant = DiscoveryVariant::normal) {
    InstrumentSetup setup{"10.77.1.2", std::move(family), "SN-1001", {}};
    setup.faults.discovery = variant;
    return setup;
}

// The fields as a reader that splits like strtok sees them: runs of
// separators count as one, empty fields vanish.
std::vector<std::string> strtok_fields(std::string_view body) {
    std::vector<std::string> fields;
    std::string field;
    for (const char c : body) {
        if (c != '|') {
            field += c;
        } else if (!field.empty()) {
            fields.push_back(std::exchange(field, {}));
        }
    }
    if (!field.empty()) fields.push_back(field);
    return fields;
}

// What a reader takes from byte 7 on, up to 511 bytes and the first zero.
std::string body_of(const std::string& reply) {
    const std::string read = reply.substr(0, 511);
    return std::string(read.c_str() + 7);
}

TEST(DiscoveryAnswer, NormalReplyCarriesFamilyAtFourthCharacterAndSerialInFieldThree) {
    for (const char* family : {"P4", "P4A", "P4R", "P4RA", "P5", "P5A"}) {
        const auto reply = discovery_answer(kRequest, instrument(family));
        ASSERT_TRUE(reply) << family;
        EXPECT_TRUE(reply->starts_with("TARGET")) << *reply;
        EXPECT_LE(reply->size(), 511u);
        const auto body = body_of(*reply);
        EXPECT_GT(body.size(), 30u) << *reply;
        const auto fields = strtok_fields(body);
        ASSERT_GE(fields.size(), 4u) << *reply;
        ASSERT_GE(fields[1].size(), 3u);
        EXPECT_EQ(fields[1].substr(3), family);
        EXPECT_EQ(fields[2], "SN-1001");
    }
    EXPECT_EQ(*discovery_answer(kRequest, instrument("P5A")), "TARGET:INSTRUMENT|ZU-P5A|SN-1001|FIRMWARE 1.00.00 BOOT 1.00");
}

TEST(DiscoveryAnswer, AnswersOnlyTheExactRequest) {
    for (const auto request : {"DISCOVER"sv, "DISCOVER\0\0"sv, "DISCOVERX"sv, "discover\0"sv, ""sv}) {
        EXPECT_FALSE(discovery_answer(request, instrument("P5"))) << request;
    }
}

TEST(DiscoveryAnswer, FaultyRepliesBreakExactlyTheRuleTheyAreNamedFor) {
    struct Case {
        DiscoveryVariant variant;
        std::function<bool(const std::string& reply)> broken;
    };
    const Case cases[] = {
        {DiscoveryVariant::no_field2, [](const auto& r) { return body_of(r).size() > 30 && strtok_fields(body_of(r)).size() == 1; }},
        {DiscoveryVariant::short_field2, [](const auto& r) {
             const auto f = strtok_fields(body_of(r));
             return f.size() == 4 && f[1].size() < 3;
         }},
        {DiscoveryVariant::three_fields, [](const auto& r) {
             const auto f = strtok_fields(body_of(r));
             return body_of(r).size() > 30 && f.size() == 3 && f[1] == "ZU-P5" && f[2] == "SN-1001";
         }},
        {DiscoveryVariant::short_body, [](const auto& r) { return r.starts_with("TARGET") && body_of(r).size() == 30 && body_of(r).find('|') != std::string::npos; }},
        {DiscoveryVariant::no_separator, [](const auto& r) { return r.starts_with("TARGET") && body_of(r).size() > 30 && body_of(r).find('|') == std::string::npos; }},
        {DiscoveryVariant::malformed, [](const auto& r) { return r.size() >= 8 && !r.starts_with("TARGET"); }},
        {DiscoveryVariant::oversize, [](const auto& r) {
             // Longer than a reader takes, and still a good reply in its first 511 bytes.
             const auto f = strtok_fields(body_of(r));
             return r.size() > 511 && r.starts_with("TARGET") && f.size() >= 4 && f[1] == "ZU-P5" && f[2] == "SN-1001";
         }},
    };
    for (const auto& c : cases) {
        const auto reply = discovery_answer(kRequest, instrument("P5", c.variant));
        ASSERT_TRUE(reply) << static_cast<int>(c.variant);
        EXPECT_TRUE(c.broken(*reply)) << static_cast<int>(c.variant) << ": " << *reply;
    }
    EXPECT_FALSE(discovery_answer(kRequest, instrument("P5", DiscoveryVariant::silent)));
}

}  // namespace
}  // namespace instsim

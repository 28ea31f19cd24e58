#include "fault_plan.h"

#include <gtest/gtest.h>

#include <functional>

namespace instsim {
namespace {

TEST(InstrumentSetup, TakesAddressFamilySerialAndFaults) {
    const auto parsed = parse_instrument_setup("10.77.1.2,P4RA,SN-42,delay=150,ack=wrong,ack-from=3,reset-after=0,"
                                              "ts=never,um-polls=4,hu=unknown,discovery=short-field2,split=2");
    ASSERT_TRUE(parsed.setup) << parsed.error;
    const auto& s = *parsed.setup;
    EXPECT_EQ(s.address, "10.77.1.2");
    EXPECT_EQ(s.family, "P4RA");
    EXPECT_EQ(s.serial, "SN-42");
    EXPECT_EQ(s.faults.reply_delay_ms, 150u);
    EXPECT_EQ(s.faults.ack, AckFault::wrong);
    EXPECT_EQ(s.faults.ack_fault_from_block, 3u);
    ASSERT_TRUE(s.faults.reset_after_bytes);
    EXPECT_EQ(*s.faults.reset_after_bytes, 0u);
    EXPECT_EQ(s.faults.transfer_status.outcome, StatusOutcome::never);
    EXPECT_EQ(s.faults.controller2_status.running_answers, 4u);
    EXPECT_EQ(s.faults.controller4_status.outcome, StatusOutcome::unknown_command);
    EXPECT_EQ(s.faults.discovery, DiscoveryVariant::short_field2);
    EXPECT_EQ(s.faults.split_bytes, 2u);
}

TEST(InstrumentSetup, DefaultsAreAWellBehavedInstrument) {
    const auto parsed = parse_instrument_setup("127.0.0.2,P5,1");
    ASSERT_TRUE(parsed.setup) << parsed.error;
    const auto& f = parsed.setup->faults;
    EXPECT_EQ(f.reply_delay_ms, 0u);
    EXPECT_EQ(f.discovery, DiscoveryVariant::normal);
    EXPECT_FALSE(f.tcp_silent || f.merge_replies || f.refuse_start);
    EXPECT_EQ(f.ack, AckFault::none);
    EXPECT_FALSE(f.reset_after_bytes);
    EXPECT_EQ(f.block_size, 1000u);
    EXPECT_EQ(f.transfer_status.outcome, StatusOutcome::finish);
}

TEST(InstrumentSetup, TakesAnyFamilyCodeSoThatUnknownOnesCanBeOffered) {
    const auto parsed = parse_instrument_setup("10.77.1.2,Q7X,SN 9");
    ASSERT_TRUE(parsed.setup) << parsed.error;
    EXPECT_EQ(parsed.setup->family, "Q7X");
    EXPECT_EQ(parsed.setup->serial, "SN 9");
}

TEST(InstrumentSetup, RejectsMalformedText) {
    for (const char* text : {
             "10.77.1.2,P5",              // no serial
             "10.77.1,P5,1",              // three octets
             "10.77.1.256,P5,1",          // octet out of range
             "10.77.1.2,,1",              // empty family
             "10.77.1.2,P|5,1",           // separator inside a field
             "10.77.1.2,P5,1,delay",      // key without value
             "10.77.1.2,P5,1,delay=-1",   // negative number
             "10.77.1.2,P5,1,split=0",    // pieces of nothing
             "10.77.1.2,P5,1,block=0",    // blocks of nothing
             "10.77.1.2,P5,1,ack=late",   // not an ack fault (lateness is ack-delay)
             "10.77.1.2,P5,1,colour=red", // unknown key
             "10.77.1.2,P5,1,tcp=loud",   // tcp knows only silent
         }) {
        const auto parsed = parse_instrument_setup(text);
        EXPECT_FALSE(parsed.setup) << text;
        EXPECT_FALSE(parsed.error.empty()) << text;
    }
}

}  // namespace
}  // namespace instsim

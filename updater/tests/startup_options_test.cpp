#include "app/startup_options.h"

#include <gtest/gtest.h>

namespace zu {
namespace {

TEST(StartupOptions, DefaultsWithoutArguments) {
    const StartupOptions o = ParseCommandLine({});
    EXPECT_TRUE(o.TypeCheck);
    EXPECT_FALSE(o.NoCheck);
    EXPECT_FALSE(o.LogTab);
    EXPECT_EQ(o.DeviceTypeFilter, 0);
}

TEST(StartupOptions, OptionWordsIgnoreCaseAndMatchAsPrefix) {
    const StartupOptions o = ParseCommandLine({L"/nocheck", L"/NoTypeCheck", L"/logtabs", L"-LOGTAB"});
    EXPECT_TRUE(o.NoCheck);
    EXPECT_FALSE(o.TypeCheck);
    EXPECT_TRUE(o.LogTab);  // "/logtabs" starts with "/LOGTAB"
}

TEST(StartupOptions, NoTypeCheckIsNotTakenForNoCheck) {
    // "/NOTYPECHECK" comes first in the table; "/NOCHECK" is no prefix of it anyway.
    const StartupOptions o = ParseCommandLine({L"/NOTYPECHECK"});
    EXPECT_FALSE(o.TypeCheck);
    EXPECT_FALSE(o.NoCheck);
}

TEST(StartupOptions, DeviceTypeFilter) {
    struct Case {
        const wchar_t* argument;
        int expected;
    };
    const Case cases[] = {
        {L"/Devicetyp:5", 5},
        {L"/DEVICETYP:3", 3},
        {L"/Devicetyp", 0},
        {L"/Devicetyp5", 0},
        {L"/Devicetyp:abc", 0},
        {L"/Devicetyp:-2", -2},
        {L"/Devicetyp:4x", 4},
        {L"/Devicetyp:99999999999", 0},           // does not fit: no filter
        {L"/Devicetyp:000000000000000000006", 0},  // only 20 characters are read
        {L"/Devicetypes:6", 6},
        {L"/Devicetyp:1:2", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseCommandLine({c.argument}).DeviceTypeFilter, c.expected) << c.argument;
    }
}

}  // namespace
}  // namespace zu

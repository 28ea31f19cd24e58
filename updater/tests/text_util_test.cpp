#include "app/text_util.h"

#include <gtest/gtest.h>

namespace zu {
namespace {

TEST(ParseLeadingInt, Table) {
    struct Case {
        const wchar_t* text;
        std::optional<std::int32_t> expected;
    };
    const Case cases[] = {
        {L"", 0},
        {L"abc", 0},
        {L"-", 0},
        {L"42", 42},
        {L"  42", 42},
        {L"+7", 7},
        {L"-15abc", -15},
        {L"12 34", 12},
        {L"2147483647", 2147483647},
        {L"-2147483648", INT32_MIN},
        {L"2147483648", std::nullopt},
        {L"-2147483649", std::nullopt},
        {L"4294967297", std::nullopt},  // would wrap to 1
        {L"99999999999999999999999", std::nullopt},
        {L"0000000000000000001500", 1500},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseLeadingInt(c.text), c.expected) << c.text;
    }
}

TEST(CaseFolding, LatinLettersFoldAndOthersDoNot) {
    EXPECT_TRUE(EqualsIgnoreCase(L"FRAN\u00C7AIS", L"fran\u00E7ais"));
    EXPECT_FALSE(EqualsIgnoreCase(L"Francais", L"Fran\u00E7ais"));
    EXPECT_FALSE(EqualsIgnoreCase(L"\u00D7", L"\u00F7"));  // × and ÷ are no pair
    EXPECT_FALSE(EqualsIgnoreCase(L"Deutsch", L"Deutsc"));
}

}  // namespace
}  // namespace zu

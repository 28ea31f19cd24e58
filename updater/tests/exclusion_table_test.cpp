#include "discovery/exclusion_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zu {
namespace {

const std::u16string kOffice = u"{4D36E972-E325-11CE-BFC1-08002BE10318}";
const std::u16string kLab = u"{8A2B91C0-77F1-4C1A-9E63-5B0D2F10AA01}";

TEST(ExclusionFile, WrittenLayoutIsExact) {
    ExclusionTable table;
    table.ExcludedAdapters[0] = u"{Ab}";
    table.ExcludedAdapters[9] = u"Z\u00e9";
    table.ExcludeActive = true;
    const std::vector<std::uint8_t> bytes = SerializeExclusions(table);
    ASSERT_EQ(bytes.size(), 6600u);
    std::vector<std::uint8_t> expected(6600, 0);
    const std::uint8_t first[] = {'{', 0, 'A', 0, 'b', 0, '}', 0};
    std::copy(std::begin(first), std::end(first), expected.begin());
    expected[5400] = 'Z';
    expected[5402] = 0xe9;
    expected[6000] = 0x31;
    EXPECT_EQ(bytes, expected);

    table.ExcludeActive = false;
    EXPECT_EQ(SerializeExclusions(table)[6000], 0);
}

TEST(ExclusionFile, TableSurvivesTheFile) {
    ExclusionTable table;
    ASSERT_TRUE(AddExcludedAdapter(table, kOffice));
    ASSERT_TRUE(AddExcludedAdapter(table, kLab));
    table.ExcludeActive = false;  // checked items stay stored while switched off
    const std::vector<std::uint8_t> bytes = SerializeExclusions(table);
    const ExclusionTable read = ParseExclusions(bytes.data(), bytes.size());
    EXPECT_EQ(read.ExcludedAdapters, table.ExcludedAdapters);
    EXPECT_FALSE(read.ExcludeActive);
    EXPECT_TRUE(IsAdapterExcluded(read, kLab));
}

TEST(ExclusionFile, FileOfAnyOtherSizeGivesAnEmptyTable) {
    ExclusionTable table;
    AddExcludedAdapter(table, kOffice);
    table.ExcludeActive = true;
    std::vector<std::uint8_t> bytes = SerializeExclusions(table);
    for (std::size_t size : {std::size_t{0}, std::size_t{600}, std::size_t{6599}}) {
        const ExclusionTable read = ParseExclusions(bytes.data(), size);
        EXPECT_EQ(read.ExcludedAdapters, ExclusionTable{}.ExcludedAdapters) << size;
        EXPECT_FALSE(read.ExcludeActive) << size;
    }
    bytes.push_back(0);
    EXPECT_FALSE(ParseExclusions(bytes.data(), bytes.size()).ExcludeActive);
    EXPECT_FALSE(ParseExclusions(nullptr, 6600).ExcludeActive);
}

TEST(ExclusionFile, UnterminatedEntryIsCutAndOnlyTheDigitOneSwitchesOn) {
    std::vector<std::uint8_t> bytes(6600, 'x');  // no terminator anywhere
    const ExclusionTable read = ParseExclusions(bytes.data(), bytes.size());
    for (const std::u16string& entry : read.ExcludedAdapters) {
        EXPECT_EQ(entry, std::u16string(299, u'\u7878'));
    }
    EXPECT_FALSE(read.ExcludeActive);  // "xx" is not the character "1"
    bytes[6000] = 0x31;
    bytes[6001] = 0x00;
    EXPECT_TRUE(ParseExclusions(bytes.data(), bytes.size()).ExcludeActive);
    bytes[6001] = 0x01;
    EXPECT_FALSE(ParseExclusions(bytes.data(), bytes.size()).ExcludeActive);
}

TEST(ExclusionMatch, EntryBeginningWithTheNameMatchesWithoutRegardToCase) {
    ExclusionTable table;
    table.ExcludedAdapters[3] = u"{4d36e972-e325-11ce-bfc1-08002be10318}";
    struct Case {
        std::u16string name;
        bool excluded;
    };
    const Case cases[] = {
        {kOffice, true},
        {u"{4D36E972", true},  // the entry begins with the name
        {kOffice + u"0", false},
        {kLab, false},
        {u"", false},  // an adapter without a name is never one the user chose
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAdapterExcluded(table, c.name), c.excluded);
    }
    EXPECT_FALSE(IsAdapterExcluded(ExclusionTable{}, kOffice));
}

TEST(ExclusionMatch, TenEntriesAtMostAndLongNamesAreCut) {
    ExclusionTable table;
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(AddExcludedAdapter(table, std::u16string(400, u'a' + i)));
    }
    EXPECT_FALSE(AddExcludedAdapter(table, kOffice));
    EXPECT_EQ(table.ExcludedAdapters[9], std::u16string(299, u'j'));
    const std::vector<std::uint8_t> bytes = SerializeExclusions(table);
    EXPECT_EQ(ParseExclusions(bytes.data(), bytes.size()).ExcludedAdapters, table.ExcludedAdapters);
}

}  // namespace
}  // namespace zu

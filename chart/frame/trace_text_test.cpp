#include "trace_text.h"

#include <gtest/gtest.h>

namespace lmc32 {
namespace {

TEST(TraceText, PathsLieNextToTheLibrary) {
    const TracePaths p = TracePathsForModule(u"C:\\Prog\\Chart\\LMC32.DLL");
    EXPECT_EQ(p.config, u"C:\\Prog\\Chart\\drawapi.ini");
    EXPECT_EQ(p.log, u"C:\\Prog\\Chart\\LMC32.DLLdrawapi.log");
    EXPECT_EQ(TracePathsForModule(u"C:lmc32.dll").config, u"C:drawapi.ini");
    EXPECT_EQ(TracePathsForModule(u"lmc32.dll").config, u"drawapi.ini");
}

TEST(TraceText, OnlyOnInAnyCaseSwitchesOn) {
    for (const char16_t* on : {u"on", u"ON", u"On", u"oN"}) EXPECT_TRUE(TraceSettingIsOn(on));
    for (const char16_t* off : {u"", u"off", u"1", u"yes", u" on", u"on "}) EXPECT_FALSE(TraceSettingIsOn(off));
}

TEST(TraceText, RecordsOfEachKind) {
    const TraceTime t{9, 5, 7, 42};
    EXPECT_EQ(TraceRecord(TraceKind::Begin, t, "LMC32_InitPage", ""), "\n***** 09:05:07.042: BEGIN LMC32_InitPage\n");
    EXPECT_EQ(TraceRecord(TraceKind::End, t, "LMC32_InitGraph", nullptr), "\n***** 09:05:07.042: END LMC32_InitGraph");
    EXPECT_EQ(TraceRecord(TraceKind::Plain, t, "   LMC32_InitPage", "   ERROR GetClientRect"),
              "\n    LMC32_InitPage\n   ERROR GetClientRect");
}

}  // namespace
}  // namespace lmc32

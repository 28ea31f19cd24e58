// Behaviour that ends the process or depends on how the library was
// loaded, observed from a child host.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "child_host.h"

namespace {

TEST(ChildHost, CriticalErrorShowsItsBoxAndExitsWithTheCode) {
    const ChildRun run = RunChild(L"critical");
    EXPECT_EQ(run.exitCode, 73u);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].first, L"CRITICAL ERROR");
    EXPECT_EQ(run.boxes[0].second, L"Division by zero at 00401000\nYour program will terminate !");
}

TEST(ChildHost, WithMessagesOffCodes48To63BecomeCritical) {
    const ChildRun run = RunChild(L"silent-serious");
    EXPECT_EQ(run.exitCode, 50u);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].first, L"CRITICAL ERROR");
    EXPECT_EQ(run.boxes[0].second, L"Cannot create window \nYour program will terminate !");
}

TEST(ChildHost, WrongRealSizeIsReportedByInitTop) {
    const struct {
        const wchar_t* scenario;
        const wchar_t* text;
    } cases[] = {
        {L"realsize4", L"Library with wrong realtype DOUBLE\nYour program will terminate !"},
        {L"realsize2", L"Library with wrong realtype FLOAT\nYour program will terminate !"},
    };
    for (const auto& c : cases) {
        const ChildRun run = RunChild(c.scenario);
        EXPECT_EQ(run.exitCode, 69u);
        ASSERT_EQ(run.boxes.size(), 1u);
        EXPECT_EQ(run.boxes[0].second, c.text);
    }
}

TEST(ChildHost, FaultWhileBuildingAPageIsReportedAsCriticalError) {
    const std::wstring pointer = sizeof(void*) == 8 ? L"[0-9A-F]{16}" : L"[0-9A-F]{8}";
    const struct {
        const wchar_t* scenario;
        DWORD code;
        std::wstring pattern;
    } cases[] = {
        {L"faulting-builder", 71,
         L"Error building a graph - access violation at " + pointer + L"\nYour program will terminate !"},
        {L"dividing-builder", 73, L"Division by zero at " + pointer + L"\nYour program will terminate !"},
    };
    for (const auto& c : cases) {
        const ChildRun run = RunChild(c.scenario);
        EXPECT_EQ(run.exitCode, c.code);
        ASSERT_EQ(run.boxes.size(), 1u);
        EXPECT_EQ(run.boxes[0].first, L"CRITICAL ERROR");
        EXPECT_TRUE(std::regex_match(run.boxes[0].second, std::wregex(c.pattern))) << std::string(
            run.boxes[0].second.begin(), run.boxes[0].second.end());
    }
}

std::string ReadFileText(const std::wstring& path) {
    std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

TEST(ChildHost, TraceLogFollowsTheSettingNextToTheLibrary) {
    const struct {
        const char* setting;
        bool logged;
    } cases[] = {{"On", true}, {"ON", true}, {"off", false}, {nullptr, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting ? c.setting : "(no file)");
        const std::wstring folder = PrivateCopyOfTheChildHost();
        if (c.setting) {
            std::ofstream ini(std::string(folder.begin(), folder.end()) + "drawapi.ini");
            ini << "[Logging]\r\nLMW_FUNCTIONS=" << c.setting << "\r\n";
        }
        const ChildRun run = RunChild(L"page-and-graph", folder);
        EXPECT_EQ(run.exitCode, 0u);
        const std::wstring log = folder + L"lmc32.dlldrawapi.log";
        const std::string text = ReadFileText(log);
        if (!c.logged) {
            EXPECT_EQ(GetFileAttributesW(log.c_str()), INVALID_FILE_ATTRIBUTES);
            continue;
        }
        const std::string stamp = "\\*\\*\\*\\*\\* [0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3}: ";
        const std::regex expected("\r\n" + stamp + "BEGIN LMC32_InitPage\r\n" +  //
                                  "\r\n" + stamp + "END LMC32_InitPage\r\n" +    //
                                  "\r\n" + stamp + "BEGIN LMC32_InitGraph" +     //
                                  "\r\n" + stamp + "END LMC32_InitGraph");
        EXPECT_TRUE(std::regex_match(text, expected)) << text;
    }
}

}  // namespace

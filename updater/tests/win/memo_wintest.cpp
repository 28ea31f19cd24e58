// Log writes into a real multi-line edit control, as the main window's memos do.
#include <gtest/gtest.h>

#include "app/win/system_paths.h"
#include "app/win/window_layer.h"

namespace zu {
namespace {

class MemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        memo_ = CreateWindowExW(0, L"EDIT", L"",
                                WS_POPUP | ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL |
                                    WS_VSCROLL,
                                0, 0, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(memo_, nullptr);
        PrepareMemo(memo_);
    }
    void TearDown() override { DestroyWindow(memo_); }
    HWND memo_ = nullptr;
};

TEST_F(MemoTest, LinesAreBuiltAppendedAndReplaced) {
    MemoWriteText(memo_, MemoWrite::AppendToLastLine, L"first");  // empty memo: becomes the first line
    MemoWriteText(memo_, MemoWrite::NewLine, L"Device IP");
    MemoWriteText(memo_, MemoWrite::AppendToLastLine, L": 10.0.0.7");
    MemoWriteText(memo_, MemoWrite::NewLine, L"Upload 10%");
    MemoWriteText(memo_, MemoWrite::ReplaceLastLine, L"Upload 100%");
    EXPECT_EQ(WindowText(memo_), L"first\r\nDevice IP: 10.0.0.7\r\nUpload 100%");
}

TEST_F(MemoTest, ReplacingTheLastLineAfterAMultiLineText) {
    MemoSetText(memo_, L"title\r\ncaption\r\n----");
    MemoWriteText(memo_, MemoWrite::NewLine, L"step 1");
    MemoWriteText(memo_, MemoWrite::ReplaceLastLine, L"step 2");
    EXPECT_EQ(WindowText(memo_), L"title\r\ncaption\r\n----\r\nstep 2");
}

TEST_F(MemoTest, HoldsMoreThanTheDefaultLimit) {
    // Lines longer than the control is wide must stay single lines, and the
    // whole log must be kept past the edit control's default 30000 characters.
    const std::wstring line(1000, L'x');
    for (int i = 0; i < 60; ++i) MemoWriteText(memo_, MemoWrite::NewLine, line);
    MemoWriteText(memo_, MemoWrite::ReplaceLastLine, L"end");
    const std::wstring text = WindowText(memo_);
    EXPECT_EQ(text.size(), 59 * 1002u + 3u);
    EXPECT_EQ(text.substr(text.size() - 5), L"\r\nend");
}

}  // namespace
}  // namespace zu

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lmc32.h"
#include "message_box_answerer.h"

namespace {

class ErrorHandler : public ::testing::Test {
protected:
    // A fresh top descriptor: messages on, no stop chosen.
    void SetUp() override { WGInit(GetModuleHandleW(nullptr), nullptr); }
};

TEST_F(ErrorHandler, InformationBoxHasOkOnlyAndGoesOnWhateverTheAnswer) {
    MessageBoxAnswerer answerer(IDNO);
    EXPECT_EQ(ErrHdlr(7, 2, L"C:\\data\\x.dat"), 0);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    const SeenBox& box = answerer.Boxes()[0];
    EXPECT_EQ(box.caption, L"INFORMATION");
    EXPECT_EQ(box.text, L"Cannot open file C:\\data\\x.dat");
    EXPECT_FALSE(box.yesNo);
    EXPECT_EQ(box.icon, SystemIcon(IDI_INFORMATION));
    EXPECT_EQ(ErrHdlr(7, 0, nullptr), 0);  // not stopped
    EXPECT_EQ(answerer.Boxes().size(), 2u);
}

TEST_F(ErrorHandler, SeriousErrorAnsweredYesGoesOn) {
    MessageBoxAnswerer answerer(IDYES);
    EXPECT_EQ(ErrHdlr(30, 2, L"WGSetLineStyle"), 0);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    const SeenBox& box = answerer.Boxes()[0];
    EXPECT_EQ(box.caption, L"SERIOUS ERROR");
    EXPECT_EQ(box.text, L"Illegal parameter for WGSetLineStyle\nWould you like to continue ?");
    EXPECT_TRUE(box.yesNo);
    EXPECT_EQ(box.icon, SystemIcon(IDI_QUESTION));
    EXPECT_EQ(ErrHdlr(56, 0, nullptr), 0);
    EXPECT_EQ(answerer.Boxes().size(), 2u);
    EXPECT_EQ(answerer.Boxes()[1].text, L"Bad object handle\nWould you like to continue ?");
}

TEST_F(ErrorHandler, SeriousErrorAnsweredNoStopsForGood) {
    MessageBoxAnswerer answerer(IDNO);
    EXPECT_EQ(ErrHdlr(29, 2, L"AXIS"), 1);
    EXPECT_EQ(answerer.Boxes().at(0).text, L"Illegal editing function for AXIS\nWould you like to continue ?");
    // Stopped: every later error returns 1 at once, without a box, but is recorded.
    EXPECT_EQ(ErrHdlr(1, 0, nullptr), 1);
    EXPECT_EQ(ErrHdlr(56, 0, nullptr), 1);
    EXPECT_EQ(WGGetLastError(), 56);
    EXPECT_EQ(answerer.Boxes().size(), 1u);
}

TEST_F(ErrorHandler, KeysTypedBeforeStoppingAreDropped) {
    HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    // Queued behind the answer, so the box's own loop ends before reaching them.
    MessageBoxAnswerer answerer(IDNO, [&](const SeenBox&) {
        PostMessageW(window, WM_KEYDOWN, 'A', 0);
        PostMessageW(window, WM_CHAR, 'a', 0);
        PostMessageW(window, WM_APP, 0, 0);  // not a key message: stays
    });
    EXPECT_EQ(ErrHdlr(30, 0, nullptr), 1);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, window, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE));
    EXPECT_TRUE(PeekMessageW(&msg, window, WM_APP, WM_APP, PM_REMOVE));
    DestroyWindow(window);
}

TEST_F(ErrorHandler, CodesAbove99AreRecordedOnly) {
    MessageBoxAnswerer answerer(IDNO);
    EXPECT_EQ(ErrHdlr(150, 0, nullptr), 0);
    EXPECT_EQ(WGGetLastError(), 150);
    EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(ErrorHandler, WithMessagesOffErrorsBelow48AreSilentAndDoNotBlockLaterBoxes) {
    MessageBoxAnswerer answerer(IDYES);
    WGEnableErrorMessages(FALSE);
    for (int code : {5, 16, 30, 47}) {
        EXPECT_EQ(ErrHdlr(code, 0, nullptr), 0);
        EXPECT_EQ(WGGetLastError(), code);
    }
    EXPECT_TRUE(answerer.Boxes().empty());
    WGEnableErrorMessages(TRUE);
    EXPECT_EQ(ErrHdlr(30, 0, nullptr), 0);
    EXPECT_EQ(answerer.Boxes().size(), 1u);
}

TEST_F(ErrorHandler, TextPlacementByMode) {
    MessageBoxAnswerer answerer(IDYES);
    ErrHdlr(24, 1, L"Save: ");
    ErrHdlr(24, 0, L"ignored");
    ErrHdlr(24, 5, L"ignored");
    ASSERT_EQ(answerer.Boxes().size(), 3u);
    EXPECT_EQ(answerer.Boxes()[0].text, L"Save: Cannot write file \nWould you like to continue ?");
    EXPECT_EQ(answerer.Boxes()[1].text, L"Cannot write file \nWould you like to continue ?");
    EXPECT_EQ(answerer.Boxes()[2].text, L"\nWould you like to continue ?");
}

TEST_F(ErrorHandler, OverlongTextIsShortenedAndKeepsTheQuestion) {
    MessageBoxAnswerer answerer(IDYES);
    const std::wstring longName(150, L'n');
    ErrHdlr(23, 2, longName.c_str());
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    const std::wstring& text = answerer.Boxes()[0].text;
    const std::wstring question = L"\nWould you like to continue ?";
    EXPECT_EQ(text.size(), 100u);
    EXPECT_EQ(text.substr(0, 17), L"Cannot read file ");
    EXPECT_EQ(text.substr(text.size() - question.size()), question);
}

TEST_F(ErrorHandler, ErrorRaisedWhileABoxIsOpenIsRecordedWithoutASecondBox) {
    int nestedResult = -1;
    int lastErrorInside = 0;
    MessageBoxAnswerer answerer(IDYES, [&](const SeenBox&) {
        if (nestedResult == -1) {
            nestedResult = ErrHdlr(55, 0, nullptr);
            lastErrorInside = WGGetLastError();
        }
    });
    EXPECT_EQ(ErrHdlr(30, 0, nullptr), 0);
    EXPECT_EQ(nestedResult, 0);
    EXPECT_EQ(lastErrorInside, 55);
    EXPECT_EQ(answerer.Boxes().size(), 1u);
    // The busy flag is released: the next error has its box again.
    ErrHdlr(30, 0, nullptr);
    EXPECT_EQ(answerer.Boxes().size(), 2u);
}

TEST(ExitApplicationBox, ShowsTheTextBetweenTheFixedLines) {
    MessageBoxAnswerer answerer(IDOK);
    ExitApplication(L"Call from DRAWAPI: WGInit");
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].caption, L"LMC32.dll");
    EXPECT_EQ(answerer.Boxes()[0].text,
              L"Function ExitApplication\nCall from DRAWAPI: WGInit\nPlease close application and restart");
}

}  // namespace

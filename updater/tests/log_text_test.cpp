#include "app/log_text.h"

#include <gtest/gtest.h>

#include "app/upload_log.h"

namespace zu {
namespace {

// A memo held as text, written through the same plans as the window's memos.
struct Memo {
    std::wstring text;
    void Write(MemoWrite mode, const std::wstring& line) {
        ApplyMemoEdit(text, PlanMemoEdit(text.size(), LastLineStart(text), mode, line));
    }
};

TEST(MemoWrites, FirstWriteStartsTheFirstLineInEveryMode) {
    for (MemoWrite mode : {MemoWrite::NewLine, MemoWrite::AppendToLastLine, MemoWrite::ReplaceLastLine}) {
        Memo memo;
        memo.Write(mode, L"first");
        EXPECT_EQ(memo.text, L"first");
    }
}

TEST(MemoWrites, LineBuiltFromPiecesThenGrowingLineReplaced) {
    Memo memo;
    memo.Write(MemoWrite::NewLine, L"Device IP");
    memo.Write(MemoWrite::AppendToLastLine, L": ");
    memo.Write(MemoWrite::AppendToLastLine, L"10.0.0.7");
    memo.Write(MemoWrite::NewLine, L"Upload 10%");
    memo.Write(MemoWrite::ReplaceLastLine, L"Upload 20%");
    memo.Write(MemoWrite::ReplaceLastLine, L"Upload 100%");
    EXPECT_EQ(memo.text, L"Device IP: 10.0.0.7\r\nUpload 100%");
}

TEST(Transcript, KeepsOnlyWhatIsSentToIt) {
    std::wstring transcript;
    AppendToTranscript(transcript, L"a", true, false);  // first text: no separator
    AppendToTranscript(transcript, L"b", true, true);
    AppendToTranscript(transcript, L"hidden", false, true);
    AppendToTranscript(transcript, L"c", true, false);
    EXPECT_EQ(transcript, L"a\r\nbc");
}

TEST(UploadLog, FrameOfAFirmwareRun) {
    const LocalTime now{2026, 3, 7, 9, 5, 4, 21};
    EXPECT_EQ(FormatLogTimeStamp(now), L"Log: 03-07-2026  -  09:05:04.021");

    const UploadLogTitle* title = UploadLogTitleFor(ControllerUc2);
    ASSERT_NE(title, nullptr);
    std::wstring transcript = BeginUploadTranscript(*title, L"Caption", now);
    EXPECT_EQ(transcript, L"-------- Upload_\u00B5C2 --------------\r\nCaption\r\n"
                          L"Log: 03-07-2026  -  09:05:04.021\r\n" + std::wstring(36, L'-'));
    CloseUploadTranscript(transcript);
    EXPECT_EQ(transcript.substr(transcript.size() - 58), L"\r\n" + std::wstring(56, L'-'));

    std::wstring empty;
    CloseUploadTranscript(empty);
    EXPECT_EQ(empty, L"");
}

TEST(UploadLog, TitlesOfTheThreeControllers) {
    EXPECT_EQ(UploadLogTitleFor(ControllerUc1)->closingHyphens, 56u);
    EXPECT_EQ(std::wstring(UploadLogTitleFor(ControllerUc1)->title),
              L"-------- Upload_\u00B5C1 ------------------------------------");
    EXPECT_EQ(std::wstring(UploadLogTitleFor(ControllerUc3)->title), L"-------- Upload_\u00B5C3 --------------");
    EXPECT_EQ(UploadLogTitleFor(ControllerUc3)->closingHyphens, 36u);
    EXPECT_EQ(UploadLogTitleFor(ControllerHmi), nullptr);
}

// A line written only to the memo during a run is gone once the memo is
// replaced by the transcript at the end.
TEST(UploadLog, MemoOnlyLinesVanishAtTheEnd) {
    std::wstring transcript = BeginUploadTranscript(*UploadLogTitleFor(ControllerUc1), L"C", {2026, 1, 1, 0, 0, 0, 0});
    Memo memo;
    memo.Write(MemoWrite::NewLine, L"kept");
    AppendToTranscript(transcript, L"kept", true, true);
    memo.Write(MemoWrite::NewLine, L"memo only");
    AppendToTranscript(transcript, L"memo only", false, true);
    CloseUploadTranscript(transcript);
    EXPECT_NE(memo.text.find(L"memo only"), std::wstring::npos);
    EXPECT_NE(transcript.find(L"\r\nkept\r\n"), std::wstring::npos);
    EXPECT_EQ(transcript.find(L"memo only"), std::wstring::npos);
}

}  // namespace
}  // namespace zu

#include "app/log_text.h"

namespace zu {

MemoEdit PlanMemoEdit(std::size_t memoLength, std::size_t lastLineStart, MemoWrite mode,
                      const std::wstring& text) {
    if (memoLength == 0) return {0, text};
    switch (mode) {
        case MemoWrite::NewLine: return {memoLength, kLineSeparator + text};
        case MemoWrite::AppendToLastLine: return {memoLength, text};
        case MemoWrite::ReplaceLastLine: return {lastLineStart, text};
    }
    return {memoLength, text};
}

void AppendToTranscript(std::wstring& transcript, const std::wstring& text, bool toTranscript,
                        bool newLine) {
    if (!toTranscript) return;
    if (newLine && !transcript.empty()) transcript += kLineSeparator;
    transcript += text;
}

std::size_t LastLineStart(const std::wstring& memo) {
    const std::size_t lf = memo.rfind(L'\n');
    return lf == std::wstring::npos ? 0 : lf + 1;
}

void ApplyMemoEdit(std::wstring& memo, const MemoEdit& edit) {
    memo.replace(edit.from, std::wstring::npos, edit.text);
}

}  // namespace zu

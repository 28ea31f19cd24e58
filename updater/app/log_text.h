// How log writers change a memo's text and a page's transcript. A memo is a
// text of lines separated by "\r\n", without a separator after the last line.
#pragma once

#include <cstddef>
#include <string>

namespace zu {

inline constexpr wchar_t kLineSeparator[] = L"\r\n";
inline constexpr wchar_t kColumnSeparator[] = L"\t";

enum class MemoWrite {
    NewLine,           // add the text as a line of its own
    AppendToLastLine,  // extend the last line (or start the first one)
    ReplaceLastLine,   // overwrite the last line (or start the first one)
};

// Replace the memo's text from `from` to its end by `text`.
struct MemoEdit {
    std::size_t from;
    std::wstring text;
};

// memoLength: characters in the memo; lastLineStart: where its last line
// begins. Only the tail changes, so a long log is never copied.
MemoEdit PlanMemoEdit(std::size_t memoLength, std::size_t lastLineStart, MemoWrite mode,
                      const std::wstring& text);

// The transcript keeps only what writers send to it; a new line there starts
// with the separator unless the transcript is still empty.
void AppendToTranscript(std::wstring& transcript, const std::wstring& text, bool toTranscript,
                        bool newLine);

// For memos held as plain text (tests, previews).
std::size_t LastLineStart(const std::wstring& memo);
void ApplyMemoEdit(std::wstring& memo, const MemoEdit& edit);

}  // namespace zu

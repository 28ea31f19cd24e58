// What the error handler does with an error code: whether a box is shown,
// which caption, buttons and text it has, and what the answer leads to.
// Windows-free so that every branch is testable natively.
#pragma once
#include <string>
#include <string_view>

namespace lmc32 {

enum class ErrorClass { Information = 0, Serious = 1, SeriousUnlessSilent = 2, Critical = 3 };

ErrorClass ClassOfError(int code);

// String table identifiers of the box parts.
inline constexpr int kStrContinueQuestion = 11;  // "\nWould you like to continue ?"
inline constexpr int kStrWillTerminate = 12;     // "\nYour program will terminate !"
inline constexpr int kStrSeriousCaption = 13;
inline constexpr int kStrCriticalCaption = 14;
inline constexpr int kStrInformationCaption = 15;

inline constexpr int kMaxMessageChars = 80;
inline constexpr int kMaxCaptionChars = 19;
inline constexpr int kMaxBoxTextChars = 100;

struct BoxDecision {
    bool show = false;
    int result = 0;  // the handler's result when no box is shown
    ErrorClass cls = ErrorClass::Information;
};

// Steps before a box: stop already chosen, codes above 99, a box already
// open, messages switched off.
BoxDecision DecideErrorBox(int code, bool stopChosen, bool boxOpen, bool messagesEnabled);

enum class BoxButtons { Ok, YesNo };
enum class BoxIcon { Information, Question, Exclamation };

struct BoxStyle {
    int captionId;
    int suffixId;  // 0: no suffix
    BoxButtons buttons;
    BoxIcon icon;
};

BoxStyle StyleOfClass(ErrorClass cls);

// Mode 0: the message; 1: text then message; 2: message then text; any
// other mode: nothing. The class suffix follows. When the whole exceeds the
// box's 100 characters the given text is shortened first, then the message,
// so that the suffix - the question the user answers - always stays whole.
std::u16string ComposeErrorText(int mode, std::u16string_view message, const char16_t* text,
                                std::u16string_view suffix);

enum class AfterBox { Continue, Stop, EndProcess };

AfterBox OutcomeOfAnswer(ErrorClass cls, bool answeredNoOrAbort);

}  // namespace lmc32

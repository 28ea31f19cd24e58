#include "error_policy.h"

#include <algorithm>

namespace lmc32 {

ErrorClass ClassOfError(int code) {
    if (code < 16) return ErrorClass::Information;
    if (code < 48) return ErrorClass::Serious;
    if (code < 64) return ErrorClass::SeriousUnlessSilent;
    return ErrorClass::Critical;
}

BoxDecision DecideErrorBox(int code, bool stopChosen, bool boxOpen, bool messagesEnabled) {
    if (stopChosen) return {false, 1, ErrorClass::Information};
    if (code > 99 || boxOpen) return {false, 0, ErrorClass::Information};
    ErrorClass cls = ClassOfError(code);
    if (!messagesEnabled) {
        // With boxes off, only errors the library cannot go on after are shown.
        if (cls == ErrorClass::Information || cls == ErrorClass::Serious) return {false, 0, cls};
        cls = ErrorClass::Critical;
    }
    return {true, 0, cls};
}

BoxStyle StyleOfClass(ErrorClass cls) {
    switch (cls) {
        case ErrorClass::Information:
            return {kStrInformationCaption, 0, BoxButtons::Ok, BoxIcon::Information};
        case ErrorClass::Serious:
        case ErrorClass::SeriousUnlessSilent:
            return {kStrSeriousCaption, kStrContinueQuestion, BoxButtons::YesNo, BoxIcon::Question};
        case ErrorClass::Critical:
            break;
    }
    return {kStrCriticalCaption, kStrWillTerminate, BoxButtons::Ok, BoxIcon::Exclamation};
}

std::u16string ComposeErrorText(int mode, std::u16string_view message, const char16_t* text,
                                std::u16string_view suffix) {
    std::u16string_view given = text ? std::u16string_view(text) : std::u16string_view();
    if (mode == 0) {
        given = {};
    } else if (mode != 1 && mode != 2) {
        message = {};
        given = {};
    }
    const std::size_t limit = kMaxBoxTextChars;
    suffix = suffix.substr(0, limit);
    message = message.substr(0, limit - suffix.size());
    given = given.substr(0, limit - suffix.size() - message.size());

    std::u16string out;
    if (mode == 1) {
        out.append(given).append(message);
    } else {
        out.append(message).append(given);
    }
    return out.append(suffix);
}

AfterBox OutcomeOfAnswer(ErrorClass cls, bool answeredNoOrAbort) {
    if (cls == ErrorClass::Information) return AfterBox::Continue;  // an OK box asks nothing
    if (!answeredNoOrAbort && cls != ErrorClass::Critical) return AfterBox::Continue;
    return cls == ErrorClass::Critical ? AfterBox::EndProcess : AfterBox::Stop;
}

}  // namespace lmc32

// The frame written around the log of a controller firmware run.
#pragma once

#include <string>

#include "app/app_settings.h"

namespace zu {

// Controller codes of the firmware buttons.
enum ControllerCode { ControllerUc1 = 1, ControllerUc2 = 2, ControllerHmi = 3, ControllerUc3 = 4 };

struct UploadLogTitle {
    const wchar_t* title;
    std::size_t closingHyphens;
};

// The title and closing line of a firmware run; the HMI package has none.
const UploadLogTitle* UploadLogTitleFor(ControllerCode controller);

// "Log: month-day-year  -  hour:minute:second.millisecond".
std::wstring FormatLogTimeStamp(const LocalTime& time);

// title, caption, time stamp and closing line on four lines.
std::wstring BeginUploadTranscript(const UploadLogTitle& title, const std::wstring& caption,
                                   const LocalTime& now);

// Closes a transcript with a line of 56 hyphens; an empty one stays empty.
void CloseUploadTranscript(std::wstring& transcript);

}  // namespace zu

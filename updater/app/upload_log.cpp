#include "app/upload_log.h"

#include <cstdio>

#include "app/log_text.h"

namespace zu {
namespace {

struct TitleRow {
    ControllerCode controller;
    UploadLogTitle title;
};

const TitleRow kTitles[] = {
    {ControllerUc1, {L"-------- Upload_\u00B5C1 ------------------------------------", 56}},
    {ControllerUc2, {L"-------- Upload_\u00B5C2 --------------", 36}},
    {ControllerUc3, {L"-------- Upload_\u00B5C3 --------------", 36}},
};

constexpr std::size_t kFinalHyphens = 56;

}  // namespace

const UploadLogTitle* UploadLogTitleFor(ControllerCode controller) {
    for (const TitleRow& row : kTitles) {
        if (row.controller == controller) return &row.title;
    }
    return nullptr;
}

std::wstring FormatLogTimeStamp(const LocalTime& t) {
    wchar_t buffer[80];
    std::swprintf(buffer, sizeof buffer / sizeof buffer[0],
                  L"Log: %02i-%02i-%04i  -  %02i:%02i:%02i.%03i", t.month, t.day, t.year, t.hour,
                  t.minute, t.second, t.millisecond);
    return buffer;
}

std::wstring BeginUploadTranscript(const UploadLogTitle& title, const std::wstring& caption,
                                   const LocalTime& now) {
    return title.title + std::wstring(kLineSeparator) + caption + kLineSeparator +
           FormatLogTimeStamp(now) + kLineSeparator + std::wstring(title.closingHyphens, L'-');
}

void CloseUploadTranscript(std::wstring& transcript) {
    if (transcript.empty()) return;
    transcript += kLineSeparator;
    transcript += std::wstring(kFinalHyphens, L'-');
}

}  // namespace zu

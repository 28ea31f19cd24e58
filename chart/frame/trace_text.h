// The trace log's file names and record texts.
#pragma once
#include <string>
#include <string_view>

namespace lmc32 {

struct TracePaths {
    std::u16string config;  // "drawapi.ini" in the library's folder
    std::u16string log;     // the library's own path followed by "drawapi.log"
};

TracePaths TracePathsForModule(std::u16string_view modulePath);

// The "LMW_FUNCTIONS" setting switches tracing on with "on" in any case.
bool TraceSettingIsOn(std::u16string_view value);

struct TraceTime {
    int hour, minute, second, millisecond;
};

enum class TraceKind { Begin, End, Plain };

// One event as written to the log; a null detail adds nothing, an empty one
// a line feed.
std::string TraceRecord(TraceKind kind, const TraceTime& time, std::string_view name, const char* detail);

}  // namespace lmc32

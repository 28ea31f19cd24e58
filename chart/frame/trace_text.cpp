#include "trace_text.h"

#include <cstdio>

namespace lmc32 {

TracePaths TracePathsForModule(std::u16string_view modulePath) {
    const std::size_t slash = modulePath.find_last_of(u"\\/");
    std::u16string_view folder;
    if (slash != std::u16string_view::npos) {
        folder = modulePath.substr(0, slash + 1);
    } else if (modulePath.size() >= 2 && modulePath[1] == u':') {
        folder = modulePath.substr(0, 2);  // "C:name.dll": the drive alone
    }
    TracePaths paths;
    paths.config = std::u16string(folder) + u"drawapi.ini";
    paths.log = std::u16string(modulePath) + u"drawapi.log";
    return paths;
}

bool TraceSettingIsOn(std::u16string_view value) {
    return value.size() == 2 && (value[0] == u'o' || value[0] == u'O') && (value[1] == u'n' || value[1] == u'N');
}

std::string TraceRecord(TraceKind kind, const TraceTime& time, std::string_view name, const char* detail) {
    std::string out;
    if (kind == TraceKind::Plain) {
        out = "\n ";
    } else {
        char stamp[40];
        std::snprintf(stamp, sizeof stamp, "\n***** %02i:%02i:%02i.%03i: %s ", time.hour, time.minute,
                      time.second, time.millisecond, kind == TraceKind::Begin ? "BEGIN" : "END");
        out = stamp;
    }
    out.append(name);
    if (detail) out.append("\n").append(detail);
    return out;
}

}  // namespace lmc32

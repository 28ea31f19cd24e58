#include "app/startup_options.h"

#include "app/text_util.h"

namespace zu {
namespace {

void SetLogTab(StartupOptions& o, const std::wstring&) { o.LogTab = true; }
void ClearTypeCheck(StartupOptions& o, const std::wstring&) { o.TypeCheck = false; }
void SetNoCheck(StartupOptions& o, const std::wstring&) { o.NoCheck = true; }

void SetDeviceTypeFilter(StartupOptions& o, const std::wstring& argument) {
    const std::size_t colon = argument.find(L':');
    if (colon == std::wstring::npos) return;
    constexpr std::size_t kMaxValueLength = 20;
    const auto value = ParseLeadingInt(argument.substr(colon + 1, kMaxValueLength));
    if (value) o.DeviceTypeFilter = *value;
}

struct OptionWord {
    const wchar_t* word;
    void (*apply)(StartupOptions&, const std::wstring& argument);
};

// Order matters: the first word that is a prefix of the argument decides.
constexpr OptionWord kOptionWords[] = {
    {L"/LOGTAB", SetLogTab},
    {L"/NOTYPECHECK", ClearTypeCheck},
    {L"/NOCHECK", SetNoCheck},
    {L"/Devicetyp", SetDeviceTypeFilter},
};

}  // namespace

StartupOptions ParseCommandLine(const std::vector<std::wstring>& arguments) {
    StartupOptions options;
    for (const std::wstring& argument : arguments) {
        for (const OptionWord& option : kOptionWords) {
            if (StartsWithIgnoreCase(argument, option.word)) {
                option.apply(options, argument);
                break;
            }
        }
    }
    return options;
}

}  // namespace zu

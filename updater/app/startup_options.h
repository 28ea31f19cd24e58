// The options given on the command line; fixed for the whole run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zu {

struct StartupOptions {
    bool TypeCheck = true;   // "/NOTYPECHECK": firmware files of any device type
    bool NoCheck = false;    // "/NOCHECK": any firmware file
    bool LogTab = false;     // "/LOGTAB": show the Log page during firmware runs
    std::int32_t DeviceTypeFilter = 0;  // "/Devicetyp:<n>"; 0 lists every device
};

// Reads the arguments after the program name. Unknown arguments are ignored.
StartupOptions ParseCommandLine(const std::vector<std::wstring>& arguments);

}  // namespace zu

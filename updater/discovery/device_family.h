// The instrument families the update tool knows, keyed by the family code
// that an instrument sends in its discovery reply.
#pragma once

#include <cstdint>
#include <string>

namespace zu {

struct DeviceFamily {
    const char* Code;          // family code as sent by the instrument
    std::int16_t DeviceType;   // 1…6
    const char* DisplayName;   // Devices page
    const char* ListPrefix;    // device list entry: prefix, then address and serial
    std::int32_t UploadTarget2;  // file type code for µC2 firmware through the instrument
    std::int32_t UploadTarget4;  // the same for µC3
    const char* UploadFileName;  // base name sent instead of the file's own; "" = own
    std::int32_t OnlyUnderFilter;  // listed only when the type filter is 0 or this; 0 = always
};

// The family whose code begins the given text, or null. Codes are prefixes
// of each other ("P4RA", "P4R", "P4"), so the table's order decides.
const DeviceFamily* FindFamily(const std::string& familyCode);

// Whether a device of the family goes into the device list under the
// "/Devicetyp" filter (0 = no filter).
bool ListedUnderFilter(const DeviceFamily& family, std::int32_t deviceTypeFilter);

// "<prefix> - URL: <address> SN: <serial>", the text of a device list entry.
std::string DeviceListText(const DeviceFamily& family, const std::string& address,
                           const std::string& serial);

}  // namespace zu

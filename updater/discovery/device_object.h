// One discovered instrument, as the device list keeps it.
#pragma once

#include <cstdint>
#include <string>

#include "discovery/device_family.h"

namespace zu {

struct t_DeviceObject {
    char IpAndCode[200];        // "<dotted address>|<family code>"
    std::int16_t DeviceType;    // 1…6
    std::int32_t UploadTarget2;
    std::int32_t UploadTarget4;
    char UploadFileName[100];   // "Firmware" or empty
};

// A record for a device of the family at the given address. The texts are
// cut to fit their fields and always terminated.
t_DeviceObject MakeDeviceObject(const DeviceFamily& family, const std::string& address);

}  // namespace zu

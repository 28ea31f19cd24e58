// What one datagram received during the network scan changes: a line on the
// Devices page, an entry in the device list, or a warning for the user.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "discovery/device_list.h"

namespace zu {

struct ScanReplyEffect {
    std::string DevicesLine;     // empty: nothing to write
    std::string WarningMessage;  // empty: nothing to show
};

// Adds the device to the list when its family passes the type filter; the
// Devices page names every known device, listed or not.
ScanReplyEffect HandleScanReply(const void* datagram, std::size_t length,
                                const std::string& senderAddress,
                                std::int32_t deviceTypeFilter,
                                const std::string& availableWord, DeviceList& list);

}  // namespace zu

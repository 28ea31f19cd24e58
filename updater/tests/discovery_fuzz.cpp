// Feeds arbitrary datagrams to the scan's reply handling and arbitrary files
// to the exclusion reader; both take their input from outside the program.
#include "discovery/device_list.h"
#include "discovery/exclusion_table.h"
#include "discovery/scan_reply.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zu::DeviceList list;
    const zu::ScanReplyEffect effect =
        zu::HandleScanReply(data, size, "10.0.0.2", 0, "available", list);
    if (list.Count() > 1) std::abort();
    if (list.Count() == 1) {
        list.Select(0);
        if (effect.DevicesLine.empty() || zu::SelectedDeviceAddress(list) != "10.0.0.2") {
            std::abort();
        }
    }
    const zu::ExclusionTable table = zu::ParseExclusions(data, size);
    const std::vector<std::uint8_t> written = zu::SerializeExclusions(table);
    if (size == written.size()) {
        // What was read writes back to a file that reads the same.
        const zu::ExclusionTable again = zu::ParseExclusions(written.data(), written.size());
        if (again.ExcludedAdapters != table.ExcludedAdapters ||
            again.ExcludeActive != table.ExcludeActive) {
            std::abort();
        }
    }
    return 0;
}

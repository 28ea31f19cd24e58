#include "discovery/device_family.h"

#include <cstring>

namespace zu {
namespace {

// Order matters: a code must come before every code that is a prefix of it.
const DeviceFamily kFamilies[] = {
    {"P4A", 2, "Brenmar Tornel Zu Air", "TNZuAir", 0, 0, "", 0},
    {"P4RA", 6, "Brenmar Tornel Zu Air (2)", "TNZuAir (2)", 50, 0, "Firmware", 0},
    {"P4R", 5, "Brenmar Tornel Zu (2)", "TNZu (3)", 50, 0, "Firmware", 0},
    {"P4", 1, "Brenmar Tornel Zu", "TNZu", 0, 0, "", 0},
    {"P5A", 4, "Brenmar Kesto Zu Air", "KestoZuAir", 50, 51, "Firmware", 6},
    {"P5", 3, "Brenmar Kesto Zu", "KestoZu", 50, 51, "Firmware", 5},
};

}  // namespace

const DeviceFamily* FindFamily(const std::string& familyCode) {
    for (const DeviceFamily& family : kFamilies) {
        if (familyCode.compare(0, std::strlen(family.Code), family.Code) == 0) {
            return &family;
        }
    }
    return nullptr;
}

bool ListedUnderFilter(const DeviceFamily& family, std::int32_t deviceTypeFilter) {
    return family.OnlyUnderFilter == 0 || deviceTypeFilter == 0 ||
           deviceTypeFilter == family.OnlyUnderFilter;
}

std::string DeviceListText(const DeviceFamily& family, const std::string& address,
                           const std::string& serial) {
    return std::string(family.ListPrefix) + " - URL: " + address + " SN: " + serial;
}

}  // namespace zu

#include "discovery/exclusion_table.h"

namespace zu {
namespace {

constexpr char16_t kActiveFlag = u'1';
constexpr std::size_t kFlagOffset = kExclusionRecordBytes * kExcludedAdapterSlots;

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; }

bool StartsWithIgnoringAsciiCase(const std::u16string& text, const std::u16string& prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (FoldAscii(text[i]) != FoldAscii(prefix[i])) return false;
    }
    return true;
}

char16_t ReadUnit(const std::uint8_t* bytes) {
    return static_cast<char16_t>(bytes[0] | bytes[1] << 8);
}

void WriteUnit(std::uint8_t* bytes, char16_t unit) {
    bytes[0] = static_cast<std::uint8_t>(unit & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(unit >> 8);
}

}  // namespace

bool IsAdapterExcluded(const ExclusionTable& table, const std::u16string& serviceName) {
    // Every entry begins with the empty text; an adapter without a name is
    // no adapter the user could have chosen.
    if (serviceName.empty()) return false;
    for (const std::u16string& entry : table.ExcludedAdapters) {
        if (StartsWithIgnoringAsciiCase(entry, serviceName)) return true;
    }
    return false;
}

bool AddExcludedAdapter(ExclusionTable& table, const std::u16string& serviceName) {
    for (std::u16string& entry : table.ExcludedAdapters) {
        if (entry.empty()) {
            entry = serviceName.substr(0, kMaxServiceNameUnits);
            return true;
        }
    }
    return false;
}

std::vector<std::uint8_t> SerializeExclusions(const ExclusionTable& table) {
    std::vector<std::uint8_t> bytes(kExclusionFileBytes, 0);
    for (std::size_t slot = 0; slot < kExcludedAdapterSlots; ++slot) {
        const std::u16string& entry = table.ExcludedAdapters[slot];
        const std::size_t units = entry.size() < kMaxServiceNameUnits ? entry.size()
                                                                      : kMaxServiceNameUnits;
        for (std::size_t i = 0; i < units; ++i) {
            WriteUnit(&bytes[slot * kExclusionRecordBytes + 2 * i], entry[i]);
        }
    }
    WriteUnit(&bytes[kFlagOffset], table.ExcludeActive ? kActiveFlag : u'\0');
    return bytes;
}

ExclusionTable ParseExclusions(const std::uint8_t* bytes, std::size_t length) {
    ExclusionTable table;
    if (bytes == nullptr || length != kExclusionFileBytes) return table;
    for (std::size_t slot = 0; slot < kExcludedAdapterSlots; ++slot) {
        const std::uint8_t* record = bytes + slot * kExclusionRecordBytes;
        std::u16string& entry = table.ExcludedAdapters[slot];
        for (std::size_t i = 0; i < kMaxServiceNameUnits; ++i) {
            const char16_t unit = ReadUnit(record + 2 * i);
            if (unit == u'\0') break;
            entry.push_back(unit);
        }
    }
    table.ExcludeActive = ReadUnit(bytes + kFlagOffset) == kActiveFlag;
    return table;
}

}  // namespace zu

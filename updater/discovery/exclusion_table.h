// The adapters the user keeps out of the device search, and the file
// "DRIVERS\Adapters.use" that stores them: ten records of 600 bytes, each a
// zero-terminated UTF-16LE service name, then a record whose first two bytes
// are the on/off flag (the character "1" or zero).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zu {

constexpr std::size_t kExcludedAdapterSlots = 10;
constexpr std::size_t kExclusionRecordBytes = 600;
constexpr std::size_t kExclusionFileBytes = kExclusionRecordBytes * (kExcludedAdapterSlots + 1);
// A record holds 300 code units, one of which is the terminator.
constexpr std::size_t kMaxServiceNameUnits = kExclusionRecordBytes / 2 - 1;

struct ExclusionTable {
    std::array<std::u16string, kExcludedAdapterSlots> ExcludedAdapters;
    bool ExcludeActive = false;
};

// True when an entry begins with the (non-empty) service name, ignoring ASCII
// case. The on/off flag is the caller's business.
bool IsAdapterExcluded(const ExclusionTable& table, const std::u16string& serviceName);

// Puts the name into the next free entry, cut to what a record holds; false
// when every entry is taken.
bool AddExcludedAdapter(ExclusionTable& table, const std::u16string& serviceName);

std::vector<std::uint8_t> SerializeExclusions(const ExclusionTable& table);

// The file's bytes as read. Anything but exactly the file's size gives an
// empty table (a file cut short or from elsewhere is not half-trusted); an
// entry that fills its record without a terminator is cut before its last
// unit; only the character "1" switches exclusion on.
ExclusionTable ParseExclusions(const std::uint8_t* bytes, std::size_t length);

}  // namespace zu

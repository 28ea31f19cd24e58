// The device list: the entries of the main window's device combo box, each
// with its list text and the record of the device it stands for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "discovery/device_object.h"

namespace zu {

struct DeviceEntry {
    std::string Text;
    std::unique_ptr<t_DeviceObject> Record;  // may be null
};

class DeviceList {
public:
    // Entries are kept in the order they were added; a device that answers
    // on two adapters is listed twice.
    void Add(std::string text, std::unique_ptr<t_DeviceObject> record);
    void Clear();
    // An index outside the list selects nothing.
    void Select(std::ptrdiff_t index);

    std::size_t Count() const { return entries_.size(); }
    const DeviceEntry& Entry(std::size_t index) const { return entries_.at(index); }
    // The record of the selected entry, or null.
    const t_DeviceObject* SelectedRecord() const;

private:
    std::vector<DeviceEntry> entries_;
    std::ptrdiff_t selected_ = -1;
};

// Controller numbers: 1 µC1, 2 µC2, 3 the HMI package, 4 µC3.
// Each accessor gives 0 or empty when no entry with a record is selected.
std::int16_t SelectedDeviceType(const DeviceList& list);
std::string SelectedDeviceAddress(const DeviceList& list);  // before the first "|"
std::string SelectedDeviceCode(const DeviceList& list);     // between the first and second "|"
std::int32_t SelectedUploadTarget(const DeviceList& list, int controller);
std::string SelectedUploadFileName(const DeviceList& list, int controller);
// Device types 3 to 6 take µC2 and µC3 firmware through the instrument.
bool UsesBinaryUpload(const DeviceList& list, int controller);

}  // namespace zu

#include "discovery/device_list.h"

#include <cstring>

namespace zu {

void DeviceList::Add(std::string text, std::unique_ptr<t_DeviceObject> record) {
    entries_.push_back(DeviceEntry{std::move(text), std::move(record)});
}

void DeviceList::Clear() {
    entries_.clear();
    selected_ = -1;
}

void DeviceList::Select(std::ptrdiff_t index) {
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < entries_.size();
    selected_ = inside ? index : -1;
}

const t_DeviceObject* DeviceList::SelectedRecord() const {
    return selected_ < 0 ? nullptr : entries_[static_cast<std::size_t>(selected_)].Record.get();
}

namespace {

// The record's texts are terminated when made, but the record is plain data
// that anyone may write; never read past its field.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    const void* zero = std::memchr(field, '\0', N);
    return std::string(field, zero ? static_cast<const char*>(zero) - field : N);
}

bool IsBinaryUploadController(int controller) { return controller == 2 || controller == 4; }

}  // namespace

std::int16_t SelectedDeviceType(const DeviceList& list) {
    const t_DeviceObject* record = list.SelectedRecord();
    return record ? record->DeviceType : 0;
}

std::string SelectedDeviceAddress(const DeviceList& list) {
    const t_DeviceObject* record = list.SelectedRecord();
    if (!record) return {};
    const std::string text = FieldText(record->IpAndCode);
    return text.substr(0, text.find('|'));
}

std::string SelectedDeviceCode(const DeviceList& list) {
    const t_DeviceObject* record = list.SelectedRecord();
    if (!record) return {};
    const std::string text = FieldText(record->IpAndCode);
    const std::size_t first = text.find('|');
    if (first == std::string::npos) return {};
    const std::size_t second = text.find('|', first + 1);
    return text.substr(first + 1, second == std::string::npos ? std::string::npos
                                                               : second - first - 1);
}

std::int32_t SelectedUploadTarget(const DeviceList& list, int controller) {
    const t_DeviceObject* record = list.SelectedRecord();
    if (!record) return 0;
    if (controller == 2) return record->UploadTarget2;
    if (controller == 4) return record->UploadTarget4;
    return 0;
}

std::string SelectedUploadFileName(const DeviceList& list, int controller) {
    const t_DeviceObject* record = list.SelectedRecord();
    if (!record || !IsBinaryUploadController(controller)) return {};
    return FieldText(record->UploadFileName);
}

bool UsesBinaryUpload(const DeviceList& list, int controller) {
    const std::int16_t type = SelectedDeviceType(list);
    return type >= 3 && type <= 6 && IsBinaryUploadController(controller);
}

}  // namespace zu

#include "discovery/device_object.h"

#include <cstring>

namespace zu {
namespace {

template <std::size_t N>
void CopyTerminated(char (&field)[N], const std::string& text) {
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

}  // namespace

t_DeviceObject MakeDeviceObject(const DeviceFamily& family, const std::string& address) {
    t_DeviceObject record{};
    CopyTerminated(record.IpAndCode, address + "|" + family.Code);
    record.DeviceType = family.DeviceType;
    record.UploadTarget2 = family.UploadTarget2;
    record.UploadTarget4 = family.UploadTarget4;
    CopyTerminated(record.UploadFileName, family.UploadFileName);
    return record;
}

}  // namespace zu

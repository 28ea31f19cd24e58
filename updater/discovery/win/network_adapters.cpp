#include "discovery/win/network_adapters.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include "app/text_util.h"

namespace zu {
namespace {

constexpr wchar_t kNetworkClassKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Network";
constexpr wchar_t kNetworkCardsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
constexpr DWORD kMaxKeyName = 1024;

class RegistryKey {
public:
    explicit RegistryKey(const std::wstring& path) {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool IsOpen() const { return key_ != nullptr; }

    std::vector<std::wstring> SubkeyNames() const {
        std::vector<std::wstring> names;
        for (DWORD index = 0; key_; ++index) {
            wchar_t name[kMaxKeyName + 1];
            DWORD length = kMaxKeyName + 1;
            if (RegEnumKeyExW(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            names.emplace_back(name, length);
        }
        return names;
    }

    // A string value; registry strings need not be terminated, so the
    // stored length decides.
    std::wstring Text(const wchar_t* valueName) const {
        if (!key_) return {};
        DWORD type = 0, bytes = 0;
        if (RegQueryValueExW(key_, valueName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return {};
        }
        std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key_, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]),
                             &bytes) != ERROR_SUCCESS) {
            return {};
        }
        value.resize(bytes / sizeof(wchar_t));
        const std::size_t zero = value.find(L'\0');
        if (zero != std::wstring::npos) value.resize(zero);
        return value;
    }

private:
    HKEY key_ = nullptr;
};

// Texts in the IP helper's records sit in fixed arrays; never read past one.
std::string FixedText(const char* text, std::size_t size) {
    std::size_t length = 0;
    while (length < size && text[length] != '\0') ++length;
    return std::string(text, length);
}

}  // namespace

std::vector<NetworkAdapter> GetAdapterList() {
    // Most machines fit the first guess; otherwise the call names the size.
    ULONG size = 640;
    std::vector<unsigned char> buffer(size);
    ULONG result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    if (result == ERROR_BUFFER_OVERFLOW) {
        buffer.assign(size, 0);
        result = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    std::vector<NetworkAdapter> adapters;
    if (result != ERROR_SUCCESS) return adapters;
    for (const IP_ADAPTER_INFO* info = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data());
         info; info = info->Next) {
        adapters.push_back(NetworkAdapter{FixedText(info->AdapterName, sizeof info->AdapterName),
                                          FixedText(info->IpAddressList.IpAddress.String,
                                                    sizeof info->IpAddressList.IpAddress.String),
                                          FixedText(info->IpAddressList.IpMask.String,
                                                    sizeof info->IpAddressList.IpMask.String)});
    }
    return adapters;
}

std::uint32_t AdapterNetwork(const NetworkAdapter& adapter) {
    const unsigned long address = inet_addr(adapter.Address.c_str());
    const unsigned long mask = inet_addr(adapter.Mask.c_str());
    // "255.255.255.255" and unreadable text give the same value; neither is
    // an adapter address.
    if (address == INADDR_NONE) return 0;
    return static_cast<std::uint32_t>(address & mask);
}

std::wstring ConnectionName(const std::wstring& serviceName) {
    const RegistryKey classes(kNetworkClassKey);
    for (const std::wstring& networkClass : classes.SubkeyNames()) {
        const RegistryKey connection(std::wstring(kNetworkClassKey) + L"\\" + networkClass + L"\\" +
                                     serviceName + L"\\Connection");
        std::wstring name = connection.Text(L"Name");
        if (!name.empty()) return name;
    }
    return {};
}

std::wstring AdapterDisplayName(const std::wstring& adapterName) {
    const RegistryKey cards(kNetworkCardsKey);
    std::wstring result;
    for (const std::wstring& card : cards.SubkeyNames()) {
        const RegistryKey cardKey(std::wstring(kNetworkCardsKey) + L"\\" + card);
        const std::wstring serviceName = cardKey.Text(L"ServiceName");
        if (adapterName.empty() || !StartsWithIgnoreCase(serviceName, adapterName)) continue;
        // A later card with the same service name replaces an earlier one.
        result = ConnectionName(serviceName);
        const std::wstring description = cardKey.Text(L"Description");
        if (!result.empty() && !description.empty()) result += L" - ";
        result += description;
    }
    return result;
}

}  // namespace zu

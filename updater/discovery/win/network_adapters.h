// The PC's network adapters and the names Windows shows for them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zu {

struct NetworkAdapter {
    std::string AdapterName;  // service name, a GUID in braces
    std::string Address;      // first IPv4 address, dotted
    std::string Mask;         // its network mask, dotted
};

// In the order the IP helper gives them; empty when it fails.
std::vector<NetworkAdapter> GetAdapterList();

// Address AND mask in network byte order; 0 for an adapter without an address.
std::uint32_t AdapterNetwork(const NetworkAdapter& adapter);

// The name the user gave the connection, or empty. Missing registry keys are
// normal (fresh systems, Wine) and give empty names.
std::wstring ConnectionName(const std::wstring& serviceName);
// "<connection name> - <card description>", either part left out when empty,
// or empty when no network card has this service name.
std::wstring AdapterDisplayName(const std::wstring& adapterName);

}  // namespace zu

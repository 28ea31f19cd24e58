// The UDP discovery exchange: the request the tool broadcasts and the
// reading of the instruments' replies. Everything in a reply comes from the
// network, so nothing here trusts its length or layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "discovery/device_family.h"

namespace zu {

constexpr std::uint16_t kDiscoveryPort = 2000;
// "DISCOVER" and its zero byte.
extern const char kDiscoveryRequest[9];
// A reply is read into a zeroed 512-byte buffer, so it is always terminated.
constexpr std::size_t kMaxReplyBytes = 511;

enum class ReplyKind {
    Device,      // a known instrument
    OwnRequest,  // the tool's own broadcast coming back
    Malformed,   // not a reply at all: the user is told
    Ignored,     // a reply without a usable body or of an unknown family
};

struct DiscoveryReply {
    ReplyKind Kind = ReplyKind::Ignored;
    const DeviceFamily* Family = nullptr;  // set for Device
    std::string Serial;                    // Device: may be empty
    std::string Text;                      // the datagram as text, up to its first zero byte
};

// Reads one received datagram. Only the first kMaxReplyBytes bytes count;
// a longer datagram is read as if it had been cut there.
DiscoveryReply ParseDiscoveryReply(const void* datagram, std::size_t length);

// "<display name>: <address> - SN:<serial>\t<available>", a line of the
// Devices page.
std::string DeviceFoundLine(const DeviceFamily& family, const std::string& address,
                            const std::string& serial, const std::string& availableWord);

// "Malformed response '<text>' from <address>".
std::string MalformedReplyMessage(const std::string& text, const std::string& address);

}  // namespace zu

namespace zu {

// Whether a reply comes from the device an adapter search looks for: any
// known instrument when no address is given, else the one whose dotted
// address equals it (ignoring case).
bool IsSoughtDevice(const DiscoveryReply& reply, const std::string& senderAddress,
                    const char* soughtAddress);

}  // namespace zu

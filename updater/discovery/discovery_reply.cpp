#include "discovery/discovery_reply.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace zu {

const char kDiscoveryRequest[9] = {'D', 'I', 'S', 'C', 'O', 'V', 'E', 'R', '\0'};

namespace {

constexpr char kReplyTag[] = "TARGET";
constexpr std::size_t kReplyTagLength = sizeof kReplyTag - 1;
constexpr std::size_t kMinReplyLength = 8;
// The tag and one separator byte of any value come before the body.
constexpr std::size_t kBodyOffset = kReplyTagLength + 1;
constexpr std::size_t kMinBodyLength = 31;
// The device code field: three characters, then the family code.
constexpr std::size_t kFamilyCodeOffset = 3;

// Splits like strtok: runs of separators count as one, so no field is empty.
std::vector<std::string> SplitFields(const std::string& text, char separator) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && text[pos] == separator) ++pos;
        if (pos == text.size()) break;
        std::size_t end = text.find(separator, pos);
        if (end == std::string::npos) end = text.size();
        fields.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return fields;
}

std::string TextUpToZero(const char* bytes, std::size_t length) {
    const void* zero = std::memchr(bytes, '\0', length);
    return std::string(bytes, zero ? static_cast<const char*>(zero) - bytes : length);
}

}  // namespace

DiscoveryReply ParseDiscoveryReply(const void* datagram, std::size_t length) {
    if (length > kMaxReplyBytes) length = kMaxReplyBytes;
    const char* bytes = static_cast<const char*>(datagram);
    DiscoveryReply reply;
    reply.Text = TextUpToZero(bytes, length);

    if (length < kMinReplyLength || std::memcmp(bytes, kReplyTag, kReplyTagLength) != 0) {
        reply.Kind = reply.Text == "DISCOVER" ? ReplyKind::OwnRequest : ReplyKind::Malformed;
        return reply;
    }
    const std::string body = TextUpToZero(bytes + kBodyOffset, length - kBodyOffset);
    if (body.size() < kMinBodyLength || body.find('|') == std::string::npos) return reply;

    const std::vector<std::string> fields = SplitFields(body, '|');
    // A device code field too short to hold a family code names no family.
    if (fields.size() < 2 || fields[1].size() <= kFamilyCodeOffset) return reply;
    reply.Family = FindFamily(fields[1].substr(kFamilyCodeOffset));
    if (reply.Family == nullptr) return reply;

    reply.Kind = ReplyKind::Device;
    // Instruments that send the serial number always send a field after it;
    // without one, the third field is something else.
    if (fields.size() >= 4) reply.Serial = fields[2];
    return reply;
}

std::string DeviceFoundLine(const DeviceFamily& family, const std::string& address,
                            const std::string& serial, const std::string& availableWord) {
    return std::string(family.DisplayName) + ": " + address + " - SN:" + serial + "\t" +
           availableWord;
}

std::string MalformedReplyMessage(const std::string& text, const std::string& address) {
    return "Malformed response '" + text + "' from " + address;
}

}  // namespace zu

namespace zu {

bool IsSoughtDevice(const DiscoveryReply& reply, const std::string& senderAddress,
                    const char* soughtAddress) {
    if (reply.Kind != ReplyKind::Device) return false;
    if (soughtAddress == nullptr) return true;
    const std::string sought(soughtAddress);
    return sought.size() == senderAddress.size() &&
           std::equal(sought.begin(), sought.end(), senderAddress.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

}  // namespace zu

#include "discovery/scan_reply.h"

#include "discovery/discovery_reply.h"

namespace zu {

ScanReplyEffect HandleScanReply(const void* datagram, std::size_t length,
                                const std::string& senderAddress,
                                std::int32_t deviceTypeFilter,
                                const std::string& availableWord, DeviceList& list) {
    const DiscoveryReply reply = ParseDiscoveryReply(datagram, length);
    ScanReplyEffect effect;
    switch (reply.Kind) {
    case ReplyKind::Malformed:
        effect.WarningMessage = MalformedReplyMessage(reply.Text, senderAddress);
        break;
    case ReplyKind::Device:
        effect.DevicesLine =
            DeviceFoundLine(*reply.Family, senderAddress, reply.Serial, availableWord);
        if (ListedUnderFilter(*reply.Family, deviceTypeFilter)) {
            list.Add(DeviceListText(*reply.Family, senderAddress, reply.Serial),
                     std::make_unique<t_DeviceObject>(
                         MakeDeviceObject(*reply.Family, senderAddress)));
        }
        break;
    case ReplyKind::OwnRequest:
    case ReplyKind::Ignored:
        break;
    }
    return effect;
}

}  // namespace zu

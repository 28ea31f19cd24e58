#include "discovery/win/discovery_socket.h"

#include "discovery/discovery_reply.h"

namespace zu {

DiscoverySocket::DiscoverySocket() : socket_(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)) {}

DiscoverySocket::~DiscoverySocket() { Close(); }

void DiscoverySocket::Close() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

int DiscoverySocket::Bind(const std::string& adapterAddress) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(kDiscoveryPort);
    local.sin_addr.s_addr = inet_addr(adapterAddress.c_str());
    if (bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) == SOCKET_ERROR) {
        return WSAGetLastError();
    }
    return 0;
}

int DiscoverySocket::EnableBroadcast() {
    u_long nonBlocking = 0;
    const BOOL on = TRUE;
    if (ioctlsocket(socket_, FIONBIO, &nonBlocking) == SOCKET_ERROR ||
        setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on),
                   sizeof on) == SOCKET_ERROR) {
        return WSAGetLastError();
    }
    return 0;
}

bool DiscoverySocket::SendRequest() {
    sockaddr_in everyone{};
    everyone.sin_family = AF_INET;
    everyone.sin_port = htons(kDiscoveryPort);
    everyone.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    const int sent = sendto(socket_, kDiscoveryRequest, sizeof kDiscoveryRequest, 0,
                            reinterpret_cast<const sockaddr*>(&everyone), sizeof everyone);
    return sent > 0;
}

ReceiveOutcome DiscoverySocket::Receive(unsigned timeoutMs, ReceivedDatagram& datagram, int& error) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_, &readable);
    timeval timeout{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000 * 1000)};
    if (select(0, &readable, nullptr, nullptr, &timeout) <= 0) return ReceiveOutcome::Quiet;

    datagram.Bytes.assign(kMaxReplyBytes, '\0');
    sockaddr_in sender{};
    int senderSize = sizeof sender;
    int received = recvfrom(socket_, datagram.Bytes.data(), static_cast<int>(kMaxReplyBytes), 0,
                            reinterpret_cast<sockaddr*>(&sender), &senderSize);
    if (received == SOCKET_ERROR) {
        error = WSAGetLastError();
        // The buffer holds the datagram's beginning, and that is all a
        // reply may use.
        if (error != WSAEMSGSIZE) return ReceiveOutcome::Failed;
        received = static_cast<int>(kMaxReplyBytes);
    }
    datagram.Bytes.resize(static_cast<std::size_t>(received));
    const char* dotted = inet_ntoa(sender.sin_addr);
    datagram.SenderAddress = dotted ? dotted : "";
    return ReceiveOutcome::Datagram;
}

}  // namespace zu

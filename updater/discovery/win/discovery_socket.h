// One UDP socket of the discovery exchange, bound to one adapter.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zu {

struct ReceivedDatagram {
    std::vector<char> Bytes;    // at most kMaxReplyBytes
    std::string SenderAddress;  // dotted
};

enum class ReceiveOutcome { Datagram, Quiet, Failed };

class DiscoverySocket {
public:
    DiscoverySocket();
    ~DiscoverySocket();
    DiscoverySocket(const DiscoverySocket&) = delete;
    DiscoverySocket& operator=(const DiscoverySocket&) = delete;

    bool IsOpen() const { return socket_ != INVALID_SOCKET; }
    void Close();

    // Each gives 0 or the socket error number.
    int Bind(const std::string& adapterAddress);
    int EnableBroadcast();
    // The request to the limited broadcast address; false when nothing went out.
    bool SendRequest();
    // Waits up to the time-out for one datagram. A datagram longer than the
    // reply buffer arrives cut to it, which is no error. On Failed, error
    // holds the socket error number.
    ReceiveOutcome Receive(unsigned timeoutMs, ReceivedDatagram& datagram, int& error);

private:
    SOCKET socket_;
};

}  // namespace zu

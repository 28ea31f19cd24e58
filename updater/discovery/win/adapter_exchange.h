// The discovery exchange on one adapter: bind, broadcast the request, then
// take datagrams until the adapter has been quiet for a second.
#pragma once

#include <functional>
#include <string>

#include "discovery/win/discovery_socket.h"

namespace zu {

struct ExchangeHandlers {
    std::function<void()> BeforeEachRead;  // may be empty
    std::function<void(const ReceivedDatagram&)> OnDatagram;
    std::function<void(int socketError)> OnReadError;
};

enum class ExchangeStep { Bind, Broadcast, Send };

struct ExchangeResult {
    bool Completed = false;
    ExchangeStep FailedStep = ExchangeStep::Bind;  // when not completed
    int SocketError = 0;                           // 0 for a failed send
};

ExchangeResult RunDiscoveryExchange(DiscoverySocket& socket, const std::string& adapterAddress,
                                    const ExchangeHandlers& handlers);

// "Cannot use adapter <address> (bind): socket error <n>", the line that
// tells why an adapter took no part; empty for a failed send.
std::string ExchangeFailureLine(const ExchangeResult& result, const std::string& adapterAddress);

}  // namespace zu

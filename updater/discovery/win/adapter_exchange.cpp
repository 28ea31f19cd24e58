#include "discovery/win/adapter_exchange.h"

namespace zu {
namespace {

constexpr unsigned kQuietMs = 1000;

ExchangeResult Failed(ExchangeStep step, int socketError) {
    ExchangeResult result;
    result.FailedStep = step;
    result.SocketError = socketError;
    return result;
}

}  // namespace

ExchangeResult RunDiscoveryExchange(DiscoverySocket& socket, const std::string& adapterAddress,
                                    const ExchangeHandlers& handlers) {
    if (const int error = socket.Bind(adapterAddress)) return Failed(ExchangeStep::Bind, error);
    if (const int error = socket.EnableBroadcast()) return Failed(ExchangeStep::Broadcast, error);
    if (!socket.SendRequest()) return Failed(ExchangeStep::Send, 0);
    ReceivedDatagram datagram;
    for (;;) {
        if (handlers.BeforeEachRead) handlers.BeforeEachRead();
        int error = 0;
        const ReceiveOutcome outcome = socket.Receive(kQuietMs, datagram, error);
        if (outcome == ReceiveOutcome::Quiet) break;
        if (outcome == ReceiveOutcome::Failed) {
            handlers.OnReadError(error);
            continue;
        }
        handlers.OnDatagram(datagram);
    }
    ExchangeResult result;
    result.Completed = true;
    return result;
}

std::string ExchangeFailureLine(const ExchangeResult& result, const std::string& adapterAddress) {
    if (result.Completed || result.FailedStep == ExchangeStep::Send) return {};
    const char* step = result.FailedStep == ExchangeStep::Bind ? "bind" : "broadcast";
    return "Cannot use adapter " + adapterAddress + " (" + step + "): socket error " +
           std::to_string(result.SocketError);
}

}  // namespace zu

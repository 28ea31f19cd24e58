#include "simulator.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>
#include <fstream>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "discovery_answer.h"
#include "instrument.h"
#include "reply_shaper.h"
#include "session.h"

namespace instsim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint16_t kDiscoveryPort = 2000;
constexpr std::uint16_t kCommandPort = 2010;
constexpr std::size_t kReceiveChunk = 65536;

[[noreturn]] void fail(const std::string& what) { throw std::system_error(errno, std::generic_category(), what); }

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

sockaddr_in socket_address(in_addr address, std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr = address;
    a.sin_port = htons(port);
    return a;
}

std::string text_of(const sockaddr_in& a) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(a.sin_port));
}

void enable(int fd, int level, int option) {
    const int on = 1;
    if (::setsockopt(fd, level, option, &on, sizeof on) != 0) fail("setsockopt");
}

Fd bound_socket(int type, const sockaddr_in& address) {
    Fd fd(::socket(AF_INET, type | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (fd.get() < 0) fail("socket");
    // Every instrument's discovery socket shares port 2000 with the wildcard
    // socket that takes the broadcasts.
    enable(fd.get(), SOL_SOCKET, SO_REUSEADDR);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        fail("bind " + text_of(address));
    }
    return fd;
}

unsigned interface_index_of(in_addr address) {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) fail("getifaddrs");
    unsigned index = 0;
    for (const ifaddrs* i = list; i != nullptr && index == 0; i = i->ifa_next) {
        if (i->ifa_addr != nullptr && i->ifa_addr->sa_family == AF_INET &&
            reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr == address.s_addr) {
            index = ::if_nametoindex(i->ifa_name);
        }
    }
    ::freeifaddrs(list);
    return index;
}

struct SimulatedInstrument {
    explicit SimulatedInstrument(const InstrumentSetup& setup) : state(setup) {
        if (::inet_pton(AF_INET, setup.address.c_str(), &address) != 1) fail("address " + setup.address);
    }
    Instrument state;
    in_addr address{};
    unsigned interface_index = 0;
    Fd discovery;
    Fd listener;
};

struct Connection {
    Connection(unsigned i, Fd f, SimulatedInstrument& inst)
        : id(i), fd(std::move(f)), instrument(inst), session(inst.state), shaper(inst.state.setup.faults) {}
    unsigned id;
    Fd fd;
    SimulatedInstrument& instrument;
    Session session;
    ReplyShaper shaper;
    struct Pending {
        Clock::time_point due;
        std::string bytes;
    };
    std::deque<Pending> pending;  // in sending order; due times never decrease
};

struct PendingDatagram {
    Clock::time_point due;
    int fd;
    sockaddr_in to;
    std::string bytes;
};

class Simulator {
public:
    explicit Simulator(const SimulatorOptions& options) : options_(options), recorder_(options.log_path.string()) {
        for (const auto& setup : options.instruments) instruments_.push_back(std::make_unique<SimulatedInstrument>(setup));
        for (auto& i : instruments_) {
            i->interface_index = interface_index_of(i->address);
            i->discovery = bound_socket(SOCK_DGRAM, socket_address(i->address, kDiscoveryPort));
            i->listener = bound_socket(SOCK_STREAM, socket_address(i->address, kCommandPort));
            if (::listen(i->listener.get(), 8) != 0) fail("listen");
        }
        if (options.receive_broadcasts) {
            broadcasts_ = bound_socket(SOCK_DGRAM, socket_address(in_addr{htonl(INADDR_ANY)}, kDiscoveryPort));
            enable(broadcasts_.get(), IPPROTO_IP, IP_PKTINFO);
        }
    }

    void run(const std::atomic<bool>& stop) {
        while (!stop) {
            std::vector<pollfd> fds;
            std::vector<std::function<void()>> handlers;
            const auto watch = [&](int fd, std::function<void()> handler) {
                fds.push_back({fd, POLLIN, 0});
                handlers.push_back(std::move(handler));
            };
            if (broadcasts_.get() >= 0) watch(broadcasts_.get(), [this] { read_broadcast(); });
            for (auto& i : instruments_) {
                watch(i->discovery.get(), [this, &i] { read_unicast(*i); });
                watch(i->listener.get(), [this, &i] { accept_from(*i); });
            }
            for (auto c = connections_.begin(); c != connections_.end(); ++c) {
                watch(c->fd.get(), [this, c] { read_from(c); });
            }
            const int ready = ::poll(fds.data(), fds.size(), poll_timeout_ms());
            if (ready < 0 && errno != EINTR) fail("poll");
            send_due_writes();
            if (ready <= 0) continue;
            // Handlers may close connections, so collect first, then call.
            std::vector<std::function<void()>> due;
            for (std::size_t k = 0; k < fds.size(); ++k) {
                if (fds[k].revents != 0) due.push_back(handlers[k]);
            }
            for (auto& handler : due) handler();
            std::erase_if(connections_, [](const Connection& c) { return c.fd.get() < 0; });
        }
    }

private:
    int poll_timeout_ms() const {
        std::optional<Clock::time_point> next;
        const auto consider = [&](Clock::time_point t) { next = next ? std::min(*next, t) : t; };
        for (const auto& d : datagrams_) consider(d.due);
        for (const auto& c : connections_) {
            if (!c.pending.empty()) consider(c.pending.front().due);
        }
        if (!next) return -1;
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now()).count();
        return static_cast<int>(std::max<long long>(wait, 0));
    }

    void send_due_writes() {
        const auto now = Clock::now();
        std::erase_if(datagrams_, [&](const PendingDatagram& d) {
            if (d.due > now) return false;
            ::sendto(d.fd, d.bytes.data(), d.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&d.to), sizeof d.to);
            return true;
        });
        for (auto& c : connections_) {
            while (!c.pending.empty() && c.pending.front().due <= now) {
                send_all(c, c.pending.front().bytes);
                c.pending.pop_front();
            }
        }
    }

    // Replies are a few bytes, so a full send buffer means a peer that stopped
    // reading; after a few seconds of that the rest of the reply is dropped.
    void send_all(Connection& c, const std::string_view reply) {
        std::string_view bytes = reply;
        for (int waits = 0; !bytes.empty() && waits < 50;) {
            const ssize_t n = ::send(c.fd.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(n));
            } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                pollfd p{c.fd.get(), POLLOUT, 0};
                ::poll(&p, 1, 100);
                ++waits;
            } else {
                break;  // the peer is gone; its read side will notice
            }
        }
        recorder_.sent(c.id, reply.substr(0, reply.size() - bytes.size()));
    }

    void answer_discovery(SimulatedInstrument& i, std::string_view request, const sockaddr_in& from) {
        auto answer = discovery_answer(request, i.state.setup);
        if (!answer) return;
        const auto due = Clock::now() + std::chrono::milliseconds(i.state.setup.faults.reply_delay_ms);
        datagrams_.push_back({due, i.discovery.get(), from, std::move(*answer)});
    }

    void read_unicast(SimulatedInstrument& i) {
        char buffer[kReceiveChunk];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t n = ::recvfrom(i.discovery.get(), buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (n < 0) return;
        const std::string_view request(buffer, static_cast<std::size_t>(n));
        recorder_.datagram(text_of(socket_address(i.address, kDiscoveryPort)), text_of(from), request);
        answer_discovery(i, request, from);
    }

    // A broadcast is answered by every instrument on the interface it came in by.
    void read_broadcast() {
        char buffer[kReceiveChunk];
        char control[CMSG_SPACE(sizeof(in_pktinfo))];
        sockaddr_in from{};
        iovec data{buffer, sizeof buffer};
        msghdr message{};
        message.msg_name = &from;
        message.msg_namelen = sizeof from;
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t n = ::recvmsg(broadcasts_.get(), &message, 0);
        if (n < 0) return;
        const in_pktinfo* info = nullptr;
        for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) info = reinterpret_cast<const in_pktinfo*>(CMSG_DATA(c));
        }
        if (info == nullptr) return;
        const std::string_view request(buffer, static_cast<std::size_t>(n));
        recorder_.datagram(text_of(socket_address(info->ipi_addr, kDiscoveryPort)), text_of(from), request);
        for (auto& i : instruments_) {
            if (i->interface_index == static_cast<unsigned>(info->ipi_ifindex)) answer_discovery(*i, request, from);
        }
    }

    void accept_from(SimulatedInstrument& i) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        Fd fd(::accept4(i.listener.get(), reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (fd.get() < 0) return;
        // Split replies must leave as separate segments.
        enable(fd.get(), IPPROTO_TCP, TCP_NODELAY);
        const unsigned id = ++connections_opened_;
        recorder_.opened(id, text_of(socket_address(i.address, kCommandPort)), text_of(peer));
        connections_.emplace_back(id, std::move(fd), i);
    }

    void read_from(std::list<Connection>::iterator c) {
        char buffer[kReceiveChunk];
        const ssize_t n = ::recv(c->fd.get(), buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (n <= 0) {
            c->session.end_of_stream();
            close(*c, n == 0 ? "peer-closed" : "peer-reset");
            return;
        }
        const std::string_view bytes(buffer, static_cast<std::size_t>(n));
        recorder_.received(c->id, bytes);
        SessionActions actions;
        c->session.receive(bytes, actions);
        for (const auto& file : actions.files) store(c->instrument, file);
        if (actions.reset_connection) {
            const linger abort_on_close{1, 0};
            ::setsockopt(c->fd.get(), SOL_SOCKET, SO_LINGER, &abort_on_close, sizeof abort_on_close);
            close(*c, "reset-by-instrument");
            return;
        }
        const auto now = Clock::now();
        for (const auto& reply : actions.replies) {
            for (auto& write : c->shaper.shape(reply)) {
                auto due = now + std::chrono::milliseconds(write.after_ms);
                if (!c->pending.empty()) due = std::max(due, c->pending.back().due);
                c->pending.push_back({due, std::move(write.bytes)});
            }
        }
        send_due_writes();
    }

    void close(Connection& c, std::string_view how) {
        recorder_.closed(c.id, how);
        c.fd = Fd();
        c.pending.clear();
    }

    void store(const SimulatedInstrument& i, const ReceivedFile& file) {
        const auto dir = options_.store_dir / i.state.setup.address;
        std::filesystem::create_directories(dir);
        std::ofstream out(dir / file.name, std::ios::binary | std::ios::trunc);
        out.write(file.content.data(), static_cast<std::streamsize>(file.content.size()));
        if (!out) fail("cannot store " + (dir / file.name).string());
    }

    const SimulatorOptions& options_;
    Recorder recorder_;
    std::vector<std::unique_ptr<SimulatedInstrument>> instruments_;
    Fd broadcasts_;
    std::list<Connection> connections_;
    std::vector<PendingDatagram> datagrams_;
    unsigned connections_opened_ = 0;
};

}  // namespace

void run_simulator(const SimulatorOptions& options, const std::atomic<bool>& stop) {
    Simulator simulator(options);
    if (!options.ready_file.empty()) std::ofstream(options.ready_file) << "ready\n";
    simulator.run(stop);
}

}  // namespace instsim

// The record of everything the simulated instruments received (and sent),
// for tests to compare byte for byte. One file, appended to as traffic
// happens, made of records:
//
//   udp LOCAL PEER N\n<N bytes>\n              a datagram received
//   tcp-open ID LOCAL PEER\n                   a connection accepted
//   tcp-data ID N\n<N bytes>\n                 bytes received on it
//   tcp-sent ID N\n<N bytes>\n                 bytes written to it
//   tcp-close ID peer-closed|peer-reset|reset-by-instrument\n
//
// LOCAL and PEER are ADDRESS:PORT; ID numbers connections from 1 in the
// order they were accepted.
#pragma once

#include <string>
#include <string_view>

namespace instsim {

class Recorder {
public:
    explicit Recorder(const std::string& path);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void datagram(std::string_view local, std::string_view peer, std::string_view bytes);
    void opened(unsigned id, std::string_view local, std::string_view peer);
    void received(unsigned id, std::string_view bytes);
    void sent(unsigned id, std::string_view bytes);
    void closed(unsigned id, std::string_view how);

private:
    void write_record(const std::string& head, std::string_view payload, bool with_payload);

    int fd_;
};

}  // namespace instsim

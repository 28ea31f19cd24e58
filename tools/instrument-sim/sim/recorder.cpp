#include "recorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

namespace instsim {

Recorder::Recorder(const std::string& path) : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644)) {
    if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "cannot open log " + path);
}

Recorder::~Recorder() { ::close(fd_); }

// Each record goes out in one write so that a reader never sees half of one
// when it looks while the simulator runs.
void Recorder::write_record(const std::string& head, std::string_view payload, bool with_payload) {
    std::string record = head + "\n";
    if (with_payload) {
        record.append(payload);
        record += '\n';
    }
    std::string_view rest = record;
    while (!rest.empty()) {
        const ssize_t n = ::write(fd_, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::system_error(errno, std::generic_category(), "cannot write log");
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
}

void Recorder::datagram(std::string_view local, std::string_view peer, std::string_view bytes) {
    write_record("udp " + std::string(local) + " " + std::string(peer) + " " + std::to_string(bytes.size()), bytes, true);
}

void Recorder::opened(unsigned id, std::string_view local, std::string_view peer) {
    write_record("tcp-open " + std::to_string(id) + " " + std::string(local) + " " + std::string(peer), {}, false);
}

void Recorder::received(unsigned id, std::string_view bytes) {
    write_record("tcp-data " + std::to_string(id) + " " + std::to_string(bytes.size()), bytes, true);
}

void Recorder::sent(unsigned id, std::string_view bytes) {
    write_record("tcp-sent " + std::to_string(id) + " " + std::to_string(bytes.size()), bytes, true);
}

void Recorder::closed(unsigned id, std::string_view how) {
    write_record("tcp-close " + std::to_string(id) + " " + std::string(how), {}, false);
}

}  // namespace instsim

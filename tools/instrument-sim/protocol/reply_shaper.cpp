#include "reply_shaper.h"

namespace instsim {

std::vector<TimedWrite> ReplyShaper::shape(const Reply& reply) {
    if (faults_.tcp_silent) return {};
    if (faults_.merge_replies && held_.empty()) {
        held_ = reply.bytes;
        return {};
    }
    std::string bytes = std::move(held_) + reply.bytes;
    held_.clear();

    unsigned delay = faults_.reply_delay_ms;
    if (reply.kind == Reply::Kind::block_ack) delay += faults_.ack_delay_ms;
    if (faults_.split_bytes == 0) return {{delay, std::move(bytes)}};

    std::vector<TimedWrite> writes;
    for (std::size_t at = 0; at < bytes.size(); at += faults_.split_bytes) {
        writes.push_back({delay, bytes.substr(at, faults_.split_bytes)});
        delay += faults_.split_gap_ms;
    }
    return writes;
}

}  // namespace instsim

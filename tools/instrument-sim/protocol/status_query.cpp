#include "status_query.h"

#include "replies.h"

namespace instsim {

std::string StatusQuery::with_value(int value) const {
    return std::string(codes_.reply_prefix) + std::to_string(value);
}

std::string StatusQuery::answer() {
    if (plan_.outcome == StatusOutcome::unknown_command) return std::string(kUnknownCommandReply);
    switch (phase_) {
        case Phase::idle:
            return with_value(codes_.idle);
        case Phase::held:
            return with_value(codes_.running);
        case Phase::failed:
            return with_value(codes_.failed);
        case Phase::running:
            break;
    }
    if (answers_given_ < plan_.running_answers) {
        ++answers_given_;
        return with_value(codes_.running);
    }
    switch (plan_.outcome) {
        case StatusOutcome::finish:
            return with_value(codes_.finished);
        case StatusOutcome::fail:
            return with_value(codes_.failed);
        default:
            return with_value(codes_.running);
    }
}

}  // namespace instsim

// Answers to the status queries "R TS", "R UM" and "R HU": each reports on
// one job (a file transfer, a controller update) that moves from idle
// through running to its outcome.
#pragma once

#include <string>
#include <string_view>

#include "fault_plan.h"

namespace instsim {

struct StatusCodes {
    std::string_view reply_prefix;  // the value follows it directly
    int idle;
    int running;
    int finished;
    int failed;
};

// The reply text is prefix + value: readers take the value from the fourth
// character of "R TS" replies and from the third of "R UM" and "R HU" replies.
inline constexpr StatusCodes kTransferStatusCodes{"TS ", 0, 1, 2, 3};
inline constexpr StatusCodes kController2StatusCodes{"UM", 0, 1, 2, 3};
// For controller 4, 0 means finished, so an idle controller reports 1: a
// poll before its update was started must not read as success. The PC side
// knows no failure value here; 3 simply never reads as finished.
inline constexpr StatusCodes kController4StatusCodes{"HU", 1, 1, 0, 3};

class StatusQuery {
public:
    StatusQuery(const StatusCodes& codes, const StatusPlan& plan) : codes_(codes), plan_(plan) {}

    void start() {
        phase_ = Phase::running;
        answers_given_ = 0;
    }
    void hold() { phase_ = Phase::held; }  // the job is under way and cannot finish yet
    void fail() { phase_ = Phase::failed; }

    // The reply line to the query, without its carriage return.
    std::string answer();

private:
    enum class Phase { idle, held, running, failed };

    std::string with_value(int value) const;

    StatusCodes codes_;
    StatusPlan plan_;
    Phase phase_ = Phase::idle;
    unsigned answers_given_ = 0;
};

}  // namespace instsim

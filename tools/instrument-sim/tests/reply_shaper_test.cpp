#include "reply_shaper.h"

#include <gtest/gtest.h>

namespace instsim {
namespace {

const Reply kLine{Reply::Kind::line, "WF OK\r"};
const Reply kAck{Reply::Kind::block_ack, "$\r"};

std::string describe(const std::vector<TimedWrite>& writes) {
    std::string text;
    for (const auto& w : writes) text += std::to_string(w.after_ms) + ":" + w.bytes + "|";
    return text;
}

TEST(ReplyShaper, AppliesDelaysAndSplits) {
    struct Case {
        const char* name;
        FaultPlan faults;
        Reply reply;
        std::string writes;
    };
    FaultPlan delayed;
    delayed.reply_delay_ms = 100;
    delayed.ack_delay_ms = 900;
    FaultPlan split;
    split.split_bytes = 2;
    split.split_gap_ms = 20;
    split.reply_delay_ms = 5;
    FaultPlan silent;
    silent.tcp_silent = true;
    const Case cases[] = {
        {"plain", {}, kLine, "0:WF OK\r|"},
        {"delayed line", delayed, kLine, "100:WF OK\r|"},
        {"delayed ack", delayed, kAck, "1000:$\r|"},
        {"split", split, kLine, "5:WF|25: O|45:K\r|"},
        {"silent", silent, kAck, ""},
    };
    for (const auto& c : cases) {
        ReplyShaper shaper(c.faults);
        EXPECT_EQ(describe(shaper.shape(c.reply)), c.writes) << c.name;
    }
}

TEST(ReplyShaper, MergeHoldsEachReplyUntilTheNextOne) {
    FaultPlan merge;
    merge.merge_replies = true;
    ReplyShaper shaper(merge);
    EXPECT_EQ(describe(shaper.shape(kLine)), "");
    EXPECT_EQ(describe(shaper.shape(kAck)), "0:WF OK\r$\r|");
    EXPECT_EQ(describe(shaper.shape(kAck)), "");
    EXPECT_EQ(describe(shaper.shape(kLine)), "0:$\rWF OK\r|");
}

}  // namespace
}  // namespace instsim

#include "session.h"

#include <gtest/gtest.h>

#include <functional>

#include <string>

namespace instsim {
namespace {

using namespace std::string_literals;

class SessionTest : public testing::Test {
protected:
    explicit SessionTest(FaultPlan faults = {})
        : instrument_(InstrumentSetup{"10.77.1.2", "P5A", "SN-1001", faults}), session_(instrument_) {}

    // Everything the instrument sends back for `bytes`, in order.
    std::string feed(std::string_view bytes) {
        SessionActions actions;
        session_.receive(bytes, actions);
        for (auto& f : actions.files) files_.push_back(std::move(f));
        reset_ = reset_ || actions.reset_connection;
        std::string sent;
        for (const auto& r : actions.replies) sent += r.bytes;
        return sent;
    }

    // A file of `size` bytes whose content includes line ends and command
    // texts, so that a framing slip shows up as a reply.
    static std::string content(std::size_t size) {
        std::string c;
        while (c.size() < size) c += "R TS\r\rW BS\r" + std::to_string(c.size()) + "\0\xff"s;
        c.resize(size);
        return c;
    }

    void send_file(std::string_view header, const std::string& data, std::size_t block, std::string_view expected_acks) {
        ASSERT_EQ(feed(header), "WF OK\r");
        std::string acks;
        for (std::size_t at = 0; at < data.size(); at += block) acks += feed(std::string_view(data).substr(at, block));
        EXPECT_EQ(acks, expected_acks);
    }

    Instrument instrument_;
    Session session_;
    std::vector<ReceivedFile> files_;
    bool reset_ = false;
};

TEST_F(SessionTest, AnswersEveryCommandOfTheTable) {
    struct Case {
        std::string sent;
        std::string answer;
    };
    const Case cases[] = {
        {"R TP\r", "TP P5A\r"},
        {"\r\r\rR TP\r", "TP P5A\r"},  // empty lines are ignored
        {"W_BL\r", ""},
        {"W_BD 16843018\r", ""},
        {"W_BH 4294967295\r", ""},
        {"W_BD 4294967296\r", "F001\r"},  // not a 32-bit address
        {"W_BD\r", "F001\r"},
        {"r tp\r", "F001\r"},
        {"R TP \r", "F001\r"},
        {"R T\r", "F001\r"},
        {"R TS\r", "TS 0\r"},  // no transfer yet
        {"R UM\r", "UM0\r"},
        {"R HU\r", "HU1\r"},  // idle never reads as finished
        {"W BS\r", "F002\r"},  // no firmware received
        {"W HB\r", "F002\r"},
        {"F WF\r", "F001\r"},
    };
    for (const auto& c : cases) EXPECT_EQ(feed(c.sent), c.answer) << c.sent;
    EXPECT_EQ(instrument_.upload_mode_commands,
              (std::vector<std::string>{"W_BL", "W_BD 16843018", "W_BH 4294967295"}));
}

TEST_F(SessionTest, ByteByByteArrivalGivesTheSameAnswersAsOneSegment) {
    const std::string stream = "R TP\rX\r\rW_BL\rR TS\rR TP\r";
    std::string answers;
    for (const char c : stream) answers += feed(std::string(1, c));
    EXPECT_EQ(answers, "TP P5A\rF001\rTS 0\rTP P5A\r");
}

TEST_F(SessionTest, OverlongLineIsUnknownAndTheNextLineStillWorks) {
    EXPECT_EQ(feed(std::string(Session::kMaxLineLength + 5, 'A') + "\rR TP\r"), "F001\rTP P5A\r");
}

TEST_F(SessionTest, FileInBlocksIsAcknowledgedStoredAndReportedByStatus) {
    const auto data = content(2500);
    send_file("F WF Firmware.i00 50 0 2500\r\r", data, 1000, "$\r$\r$\r");
    ASSERT_EQ(files_.size(), 1u);
    EXPECT_EQ(files_[0].name, "Firmware.i00");
    EXPECT_EQ(files_[0].type_code, 50);
    EXPECT_EQ(files_[0].content, data);
    EXPECT_EQ(feed("R TS\r"), "TS 1\r");
    EXPECT_EQ(feed("R TS\r"), "TS 2\r");
    EXPECT_EQ(feed("R TS\r"), "TS 2\r");
}

TEST_F(SessionTest, BlocksAreCountedNotSegmentsAndCommandsFollowTheFile) {
    const auto data = content(2000);
    EXPECT_EQ(feed("F WF a b.txt 7 0 2000\r\r" + data.substr(0, 700)), "WF OK\r");
    EXPECT_EQ(feed(data.substr(700, 600)), "$\r");
    EXPECT_EQ(feed(data.substr(1300) + "R TP\r"), "$\rTP P5A\r");
    ASSERT_EQ(files_.size(), 1u);
    EXPECT_EQ(files_[0].name, "a b.txt");
    EXPECT_EQ(files_[0].content, data);
}

TEST_F(SessionTest, FileStartingWithCarriageReturnKeepsIt) {
    send_file("F WF x.bin 3 0 3\r\r", "\r\rZ", 1000, "$\r");
    ASSERT_EQ(files_.size(), 1u);
    EXPECT_EQ(files_[0].content, "\r\rZ");
}

TEST_F(SessionTest, EmptyFileIsStoredAtItsHeaderWithoutAcknowledgement) {
    EXPECT_EQ(feed("F WF empty.txt 3 0 0\r\rR TS\r"), "WF OK\rTS 1\r");
    ASSERT_EQ(files_.size(), 1u);
    EXPECT_EQ(files_[0].content, "");
}

TEST_F(SessionTest, RefusesMalformedHeaders) {
    for (const char* header : {
             "F WF update.bin 4 0\r",
             "F WF 4 0 10\r",
             "F WF update.bin x 0 10\r",
             "F WF update.bin 4 0 1e3\r",
             "F WF update.bin 4 0 -1\r",
             "F WF ../update.bin 4 0 10\r",
             "F WF .. 4 0 10\r",
             "F WF update.bin 4 0 999999999999\r",
         }) {
        EXPECT_EQ(feed(header), "F002\r") << header;
    }
    EXPECT_EQ(feed("R TP\r"), "TP P5A\r");  // still reading commands, not data
    EXPECT_TRUE(files_.empty());
}

TEST_F(SessionTest, StartCommandsNeedTheirFirmwareAndThenReportProgress) {
    send_file("F WF Firmware.i00 50 0 10\r\r", content(10), 1000, "$\r");
    EXPECT_EQ(feed("W HB\r"), "F002\r");  // controller 4 firmware is type 51
    EXPECT_EQ(feed("W BS\rR UM\rR UM\r"), "$\rUM1\rUM2\r");
    send_file("F WF Firmware.h00 51 0 10\r\r", content(10), 1000, "$\r");
    EXPECT_EQ(feed("W HB\rR HU\rR HU\r"), "$\rHU1\rHU0\r");
}

TEST_F(SessionTest, ConnectionLostInsideAFileFailsTheTransfer) {
    EXPECT_EQ(feed("F WF x.bin 3 0 100\r\r" + content(40)), "WF OK\r");
    session_.end_of_stream();
    EXPECT_TRUE(files_.empty());
    Session next(instrument_);
    SessionActions actions;
    next.receive("R TS\r", actions);
    ASSERT_EQ(actions.replies.size(), 1u);
    EXPECT_EQ(actions.replies[0].bytes, "TS 3\r");
}

struct FaultCase {
    const char* name;
    FaultPlan faults;
    std::string acks;    // for a 2500-byte file in blocks of 1000
    bool stored;
    bool reset;
    std::string statuses;  // answers to four "R TS"
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

FaultPlan with(std::function<void(FaultPlan&)> change) {
    FaultPlan f;
    change(f);
    return f;
}

class SessionFaultTest : public SessionTest, public testing::WithParamInterface<FaultCase> {
protected:
    SessionFaultTest() : SessionTest(GetParam().faults) {}
};

TEST_P(SessionFaultTest, FileTransferMisbehavesAsConfigured) {
    const auto& c = GetParam();
    const auto data = content(2500);
    send_file("F WF f.bin 3 0 2500\r\r", data, 1000, c.acks);
    EXPECT_EQ(reset_, c.reset);
    EXPECT_EQ(files_.size(), c.stored ? 1u : 0u);
    if (c.reset) {
        EXPECT_EQ(feed("R TS\r"), "") << "nothing is read after a reset";
        Session next(instrument_);
        SessionActions actions;
        next.receive("R TS\rR TS\rR TS\rR TS\r", actions);
        std::string answers;
        for (const auto& r : actions.replies) answers += r.bytes;
        EXPECT_EQ(answers, c.statuses);
    } else {
        EXPECT_EQ(feed("R TS\rR TS\rR TS\rR TS\r"), c.statuses);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SessionFaultTest,
    testing::Values(
        FaultCase{"none", {}, "$\r$\r$\r", true, false, "TS 1\rTS 2\rTS 2\rTS 2\r"},
        FaultCase{"missing_from_2", with([](auto& f) { f.ack = AckFault::missing; f.ack_fault_from_block = 2; }),
                  "$\r", true, false, "TS 1\rTS 2\rTS 2\rTS 2\r"},
        FaultCase{"wrong", with([](auto& f) { f.ack = AckFault::wrong; }), "!\r!\r!\r", true, false,
                  "TS 1\rTS 2\rTS 2\rTS 2\r"},
        FaultCase{"reset_after_1500", with([](auto& f) { f.reset_after_bytes = 1500; }), "$\r", false, true,
                  "TS 3\rTS 3\rTS 3\rTS 3\r"},
        FaultCase{"reset_beyond_file", with([](auto& f) { f.reset_after_bytes = 2500; }), "$\r$\r$\r", true, false,
                  "TS 1\rTS 2\rTS 2\rTS 2\r"},
        FaultCase{"blocks_of_500", with([](auto& f) { f.block_size = 500; }), "$\r$\r$\r$\r$\r", true, false,
                  "TS 1\rTS 2\rTS 2\rTS 2\r"},
        FaultCase{"status_fails", with([](auto& f) { f.transfer_status = {StatusOutcome::fail, 2}; }), "$\r$\r$\r",
                  true, false, "TS 1\rTS 1\rTS 3\rTS 3\r"},
        FaultCase{"status_never", with([](auto& f) { f.transfer_status = {StatusOutcome::never, 0}; }), "$\r$\r$\r",
                  true, false, "TS 1\rTS 1\rTS 1\rTS 1\r"},
        FaultCase{"status_unknown", with([](auto& f) { f.transfer_status.outcome = StatusOutcome::unknown_command; }),
                  "$\r$\r$\r", true, false, "F001\rF001\rF001\rF001\r"},
        FaultCase{"status_at_once", with([](auto& f) { f.transfer_status.running_answers = 0; }), "$\r$\r$\r", true,
                  false, "TS 2\rTS 2\rTS 2\rTS 2\r"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, OnlyTheConfiguredHeaderIsRefused) {
    instrument_.setup.faults.refuse_header_number = 2;
    EXPECT_EQ(feed("F WF a.txt 3 0 0\r\r"), "WF OK\r");
    EXPECT_EQ(feed("F WF b.txt 3 0 0\r\r"), "F002\r");
    EXPECT_EQ(feed("F WF c.txt 3 0 0\r\r"), "WF OK\r");
    ASSERT_EQ(files_.size(), 2u);
    EXPECT_EQ(files_[1].name, "c.txt");
}

TEST_F(SessionTest, RefusedStartIsRefusedEvenWithFirmware) {
    instrument_.setup.faults.refuse_start = true;
    send_file("F WF Firmware.i00 50 0 10\r\r", content(10), 1000, "$\r");
    EXPECT_EQ(feed("W BS\rR UM\r"), "F002\rUM0\r");
}

}  // namespace
}  // namespace instsim

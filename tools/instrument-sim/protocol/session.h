// One TCP command connection to an instrument: splits the byte stream into
// command lines and file data, answers commands and acknowledges blocks.
// No sockets here; the caller feeds received bytes and carries out the
// returned actions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "instrument.h"

namespace instsim {

struct Reply {
    enum class Kind { line, block_ack };
    Kind kind;
    std::string bytes;  // with its line end
};

struct ReceivedFile {
    std::string name;  // base name and extension as the header gave them
    int type_code;
    std::string content;
};

struct SessionActions {
    std::vector<Reply> replies;
    std::vector<ReceivedFile> files;
    bool reset_connection = false;  // then nothing further is read
};

class Session {
public:
    explicit Session(Instrument& instrument) : instrument_(instrument) {}

    void receive(std::string_view bytes, SessionActions& actions);
    // The peer closed the connection or it broke.
    void end_of_stream();

    // Longest command line kept; the rest of a longer line is dropped and the
    // line is answered as an unknown command.
    static constexpr std::size_t kMaxLineLength = 2000;
    // Largest file a header may announce.
    static constexpr std::uint64_t kMaxFileSize = 64u << 20;

private:
    enum class Mode { lines, header_blank_line, data, closed };

    std::size_t take_data(std::string_view bytes, SessionActions& actions);
    void handle_line(std::string_view line, SessionActions& actions);
    void reply(std::string_view text, SessionActions& actions);
    void acknowledge_block(SessionActions& actions);
    void finish_file(SessionActions& actions);

    void on_read_type(std::string_view, SessionActions& actions);
    void on_controller1_upload_mode(std::string_view, SessionActions& actions);
    void on_controller2_upload_mode(std::string_view address, SessionActions& actions);
    void on_controller4_upload_mode(std::string_view address, SessionActions& actions);
    void on_file_header(std::string_view arguments, SessionActions& actions);
    void on_transfer_status(std::string_view, SessionActions& actions);
    void on_start_controller2(std::string_view, SessionActions& actions);
    void on_start_controller4(std::string_view, SessionActions& actions);
    void on_controller2_status(std::string_view, SessionActions& actions);
    void on_controller4_status(std::string_view, SessionActions& actions);
    void record_upload_mode(std::string_view command, std::string_view address, SessionActions& actions);
    void start_controller(int needed_type, StatusQuery& status, SessionActions& actions);

    struct Command {
        std::string_view name;
        bool takes_argument;
        void (Session::*handle)(std::string_view argument, SessionActions& actions);
    };
    static const Command kCommands[];

    Instrument& instrument_;
    Mode mode_ = Mode::lines;
    std::string line_;
    bool line_overflowed_ = false;
    ReceivedFile file_;
    std::uint64_t file_size_ = 0;
    unsigned blocks_acknowledged_ = 0;
};

}  // namespace instsim

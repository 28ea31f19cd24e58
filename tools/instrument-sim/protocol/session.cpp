#include "session.h"

#include <algorithm>

#include "replies.h"
#include "text_fields.h"

namespace instsim {
namespace {

// File type codes under which controller firmware reaches the instrument
// before "W BS" (controller 2) or "W HB" (controller 4) hands it on.
constexpr int kController2FirmwareType = 50;
constexpr int kController4FirmwareType = 51;

struct FileHeader {
    std::string name;
    int type_code;
    std::uint64_t size;
};

// "NAME TYPE SECOND SIZE": file names may hold blanks, so the three numbers
// are taken from the right.
std::optional<FileHeader> parse_file_header(std::string_view arguments) {
    std::string_view numbers[3];
    for (int i = 2; i >= 0; --i) {
        const auto blank = arguments.rfind(' ');
        if (blank == std::string_view::npos) return std::nullopt;
        numbers[i] = arguments.substr(blank + 1);
        arguments = arguments.substr(0, blank);
    }
    const auto type_code = parse_signed(numbers[0]);
    const auto second_code = parse_signed(numbers[1]);
    const auto size = parse_decimal(numbers[2], Session::kMaxFileSize);
    const std::string_view name = arguments;
    const bool name_is_plain = !name.empty() && name != "." && name != ".." &&
                               name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
    if (!type_code || !second_code || !size || !name_is_plain) return std::nullopt;
    return FileHeader{std::string(name), *type_code, *size};
}

}  // namespace

const Session::Command Session::kCommands[] = {
    {"R TP", false, &Session::on_read_type},
    {"W_BL", false, &Session::on_controller1_upload_mode},
    {"W_BD", true, &Session::on_controller2_upload_mode},
    {"W_BH", true, &Session::on_controller4_upload_mode},
    {"F WF", true, &Session::on_file_header},
    {"R TS", false, &Session::on_transfer_status},
    {"W BS", false, &Session::on_start_controller2},
    {"W HB", false, &Session::on_start_controller4},
    {"R UM", false, &Session::on_controller2_status},
    {"R HU", false, &Session::on_controller4_status},
};

void Session::receive(std::string_view bytes, SessionActions& actions) {
    while (!bytes.empty()) {
        switch (mode_) {
            case Mode::closed:
                return;
            case Mode::data:
                bytes.remove_prefix(take_data(bytes, actions));
                break;
            case Mode::header_blank_line:
                // The header line always reaches us with a second carriage
                // return; it belongs to the header, not to the file.
                mode_ = Mode::data;
                if (bytes.front() == kLineEnd) bytes.remove_prefix(1);
                break;
            case Mode::lines: {
                const char c = bytes.front();
                bytes.remove_prefix(1);
                if (c != kLineEnd) {
                    if (line_.size() < kMaxLineLength) {
                        line_ += c;
                    } else {
                        line_overflowed_ = true;
                    }
                    break;
                }
                const std::string line = std::move(line_);
                line_.clear();
                if (line_overflowed_) {
                    line_overflowed_ = false;
                    reply(kUnknownCommandReply, actions);
                } else if (!line.empty()) {
                    handle_line(line, actions);
                }
                break;
            }
        }
    }
}

void Session::end_of_stream() {
    if (mode_ == Mode::data || mode_ == Mode::header_blank_line) instrument_.transfer_status.fail();
    mode_ = Mode::closed;
}

std::size_t Session::take_data(std::string_view bytes, SessionActions& actions) {
    const auto& faults = instrument_.setup.faults;
    std::uint64_t wanted = file_size_ - file_.content.size();
    const bool resets = faults.reset_after_bytes && *faults.reset_after_bytes < file_size_;
    if (resets) wanted = std::min<std::uint64_t>(wanted, *faults.reset_after_bytes - file_.content.size());
    const std::size_t taken = static_cast<std::size_t>(std::min<std::uint64_t>(wanted, bytes.size()));
    const std::size_t before = file_.content.size();
    file_.content.append(bytes.substr(0, taken));

    for (std::size_t boundary = (before / faults.block_size + 1) * faults.block_size;
         boundary <= file_.content.size() && boundary < file_size_; boundary += faults.block_size) {
        acknowledge_block(actions);
    }
    if (resets && file_.content.size() == *faults.reset_after_bytes) {
        actions.reset_connection = true;
        instrument_.transfer_status.fail();
        mode_ = Mode::closed;
    } else if (file_.content.size() == file_size_) {
        acknowledge_block(actions);
        finish_file(actions);
    }
    return taken;
}

void Session::acknowledge_block(SessionActions& actions) {
    const auto& faults = instrument_.setup.faults;
    ++blocks_acknowledged_;
    const bool faulty = faults.ack != AckFault::none && blocks_acknowledged_ >= faults.ack_fault_from_block;
    if (faulty && faults.ack == AckFault::missing) return;
    actions.replies.push_back({Reply::Kind::block_ack, std::string(faulty ? kWrongBlockAck : kBlockAck)});
}

void Session::finish_file(SessionActions& actions) {
    instrument_.stored_file_types.insert(file_.type_code);
    instrument_.transfer_status.start();
    actions.files.push_back(std::move(file_));
    file_ = {};
    mode_ = Mode::lines;
}

void Session::reply(std::string_view text, SessionActions& actions) {
    actions.replies.push_back({Reply::Kind::line, std::string(text) + kLineEnd});
}

void Session::handle_line(std::string_view line, SessionActions& actions) {
    for (const auto& command : kCommands) {
        if (!command.takes_argument && line == command.name) {
            (this->*command.handle)({}, actions);
            return;
        }
        if (command.takes_argument && line.size() > command.name.size() + 1 && line.starts_with(command.name) &&
            line[command.name.size()] == ' ') {
            (this->*command.handle)(line.substr(command.name.size() + 1), actions);
            return;
        }
    }
    reply(kUnknownCommandReply, actions);
}

void Session::on_read_type(std::string_view, SessionActions& actions) {
    reply("TP " + instrument_.setup.family, actions);
}

void Session::on_controller1_upload_mode(std::string_view, SessionActions&) {
    instrument_.upload_mode_commands.emplace_back("W_BL");
}

void Session::on_controller2_upload_mode(std::string_view address, SessionActions& actions) {
    record_upload_mode("W_BD", address, actions);
}

void Session::on_controller4_upload_mode(std::string_view address, SessionActions& actions) {
    record_upload_mode("W_BH", address, actions);
}

// The argument is the PC adapter's address as a 32-bit number; these
// commands are never answered, a malformed one is an unknown command.
void Session::record_upload_mode(std::string_view command, std::string_view address, SessionActions& actions) {
    if (!parse_decimal(address, UINT32_MAX)) {
        reply(kUnknownCommandReply, actions);
        return;
    }
    instrument_.upload_mode_commands.push_back(std::string(command) + " " + std::string(address));
}

void Session::on_file_header(std::string_view arguments, SessionActions& actions) {
    const unsigned number = ++instrument_.headers_received;
    const auto header = parse_file_header(arguments);
    if (!header || number == instrument_.setup.faults.refuse_header_number) {
        reply(kRefusedReply, actions);
        return;
    }
    reply(kHeaderAcceptedReply, actions);
    file_ = {header->name, header->type_code, {}};
    file_size_ = header->size;
    blocks_acknowledged_ = 0;
    if (file_size_ == 0) {
        finish_file(actions);
        return;
    }
    instrument_.transfer_status.hold();
    mode_ = Mode::header_blank_line;
}

void Session::on_transfer_status(std::string_view, SessionActions& actions) {
    reply(instrument_.transfer_status.answer(), actions);
}

void Session::on_start_controller2(std::string_view, SessionActions& actions) {
    start_controller(kController2FirmwareType, instrument_.controller2_status, actions);
}

void Session::on_start_controller4(std::string_view, SessionActions& actions) {
    start_controller(kController4FirmwareType, instrument_.controller4_status, actions);
}

void Session::start_controller(int needed_type, StatusQuery& status, SessionActions& actions) {
    if (instrument_.setup.faults.refuse_start || !instrument_.stored_file_types.contains(needed_type)) {
        reply(kRefusedReply, actions);
        return;
    }
    status.start();
    reply(kStartAcceptedReply, actions);
}

void Session::on_controller2_status(std::string_view, SessionActions& actions) {
    reply(instrument_.controller2_status.answer(), actions);
}

void Session::on_controller4_status(std::string_view, SessionActions& actions) {
    reply(instrument_.controller4_status.answer(), actions);
}

}  // namespace instsim

// Fixed reply texts of the command channel, without their carriage return.
#pragma once

#include <string_view>

namespace instsim {

inline constexpr std::string_view kUnknownCommandReply = "F001";
// A known command whose arguments or moment the instrument cannot accept.
inline constexpr std::string_view kRefusedReply = "F002";
inline constexpr std::string_view kHeaderAcceptedReply = "WF OK";
inline constexpr std::string_view kStartAcceptedReply = "$";
inline constexpr std::string_view kBlockAck = "$\r";
// What an instrument with the wrong-acknowledgement fault sends instead.
inline constexpr std::string_view kWrongBlockAck = "!\r";
inline constexpr char kLineEnd = '\r';

}  // namespace instsim

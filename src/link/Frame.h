#pragma once
// The 152-byte frame both sides exchange: byte 0 command (or command XOR 0x80 in answers),
// bytes 1..150 data, byte 151 check byte = 0xFF XOR bytes 0..150.

#include <array>
#include <cstdint>
#include <span>

namespace kestrin {

inline constexpr int kFrameSize = 152;
inline constexpr int kFrameData = 150;
inline constexpr std::uint8_t kCmdRequest = 0x40;    // bit 6: answer with your copy
inline constexpr std::uint8_t kCmdMonitor = 0x30;    // monitor request
inline constexpr std::uint8_t kReplyBit = 0x80;      // set by the unit in its answers
inline constexpr std::uint8_t kMonitorReply = 0xB0;  // first byte of a monitor frame
inline constexpr int kRxBufferSize = 15000;

using Frame = std::array<std::uint8_t, kFrameSize>;

// Check byte over bytes 0..150 of a frame.
constexpr std::uint8_t CheckByte(std::span<const std::uint8_t> frame) {
    std::uint8_t x = 0xFF;
    for (std::size_t i = 0; i < kFrameData + 1 && i < frame.size(); ++i) x ^= frame[i];
    return x;
}

// True when the XOR of all 152 bytes is 0xFF.
constexpr bool CheckOk(std::span<const std::uint8_t> frame) {
    if (frame.size() < kFrameSize) return false;
    return CheckByte(frame) == frame[kFrameData + 1];
}

constexpr void Seal(Frame& f) {
    f[kFrameData + 1] = CheckByte(f);
}

constexpr int PageOfCommand(std::uint8_t command) {
    return command & 63;
}

}  // namespace kestrin

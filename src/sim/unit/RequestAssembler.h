#pragma once
// Puts requests back together from bytes that arrive in pieces, as they do from a serial line
// or pseudo-terminal, and finds the next request again after stray bytes.

#include <cstdint>
#include <span>
#include <vector>

#include "link/Frame.h"

namespace kestrin {

// Commands the unit answers: program or request page 0..19, and the monitor request.
constexpr bool IsUnitCommand(std::uint8_t command) {
    return command == kCmdMonitor || (command & 0xBF) <= 19;
}

class RequestAssembler {
public:
    static constexpr int kQuietGapMs = 50;

    struct Result {
        std::vector<Frame> requests;
        int discarded = 0;  // bytes thrown away while looking for a request
    };

    explicit RequestAssembler(int quietGapMs = kQuietGapMs) : quietGapMs_(quietGapMs) {}

    // Bytes received at `nowMs`. A part request left over from before a quiet gap is dropped
    // first: the program never pauses inside a frame.
    Result Feed(std::span<const std::uint8_t> bytes, std::uint64_t nowMs);
    // Drops a part request once the line has been quiet for the gap; returns the bytes dropped.
    int Expire(std::uint64_t nowMs);
    int pending() const { return static_cast<int>(buffer_.size()); }

private:
    int quietGapMs_;
    std::uint64_t lastByteMs_ = 0;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace kestrin

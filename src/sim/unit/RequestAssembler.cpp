#include "sim/unit/RequestAssembler.h"

#include <algorithm>

namespace kestrin {

int RequestAssembler::Expire(std::uint64_t nowMs) {
    if (buffer_.empty() || nowMs - lastByteMs_ < static_cast<std::uint64_t>(quietGapMs_)) return 0;
    const int dropped = pending();
    buffer_.clear();
    return dropped;
}

RequestAssembler::Result RequestAssembler::Feed(std::span<const std::uint8_t> bytes,
                                                std::uint64_t nowMs) {
    Result result;
    if (bytes.empty()) return result;
    result.discarded += Expire(nowMs);
    lastByteMs_ = nowMs;
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());

    // Slide one byte at a time until a whole, well-formed request starts the buffer.
    std::size_t start = 0;
    while (buffer_.size() - start >= static_cast<std::size_t>(kFrameSize)) {
        const auto candidate = std::span<const std::uint8_t>(buffer_).subspan(start, kFrameSize);
        if (IsUnitCommand(candidate[0]) && CheckOk(candidate)) {
            Frame f;
            std::copy(candidate.begin(), candidate.end(), f.begin());
            result.requests.push_back(f);
            start += kFrameSize;
        } else {
            ++start;
            ++result.discarded;
        }
    }
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start));
    return result;
}

}  // namespace kestrin

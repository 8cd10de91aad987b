#include "sim/unit/FakeUnitLine.h"

#include <algorithm>

namespace kestrin {

namespace {
constexpr int kLastPort = 21;
constexpr std::uint8_t kStrayByte = 0x55;
}  // namespace

FakeUnitLine::FakeUnitLine(SimOptions options) : unit_(std::move(options)) {
    for (int p = 1; p <= kLastPort; ++p) ports_.insert(p);
}

bool FakeUnitLine::Open(int portNumber) {
    ++openAttempts_;
    port_ = portNumber;
    if (open_) Close();
    if (ports_.count(portNumber) == 0) return false;
    open_ = true;
    queue_.clear();
    ++openCount_;
    return true;
}

int FakeUnitLine::QueuedBytes() {
    return open_ ? static_cast<int>(queue_.size()) : 0;
}

int FakeUnitLine::Read(std::span<std::uint8_t> buffer) {
    if (!open_) return 0;
    const std::size_t n = std::min(buffer.size(), queue_.size());
    std::copy_n(queue_.begin(), n, buffer.begin());
    queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(n));
    return static_cast<int>(n);
}

void FakeUnitLine::WriteFrame(std::span<const std::uint8_t> frame) {
    if (!open_) return;
    if (frame.size() == static_cast<std::size_t>(kFrameSize)) {
        Frame f;
        std::copy(frame.begin(), frame.end(), f.begin());
        written_.push_back(f);
    }
    unit_.Advance(msPerWrite_);
    auto answer = unit_.Answer(frame);
    if (!answer || noAnswer_) return;
    if (dropNext_ > 0) {
        --dropNext_;
        return;
    }
    if (wrongCheck_) (*answer)[kFrameSize - 1] ^= 0x55;
    queue_.insert(queue_.end(), answer->begin(), answer->end());
    queue_.insert(queue_.end(), static_cast<std::size_t>(std::max(0, extraBytes_)), kStrayByte);
}

void FakeUnitLine::InjectBytes(std::span<const std::uint8_t> bytes) {
    queue_.insert(queue_.end(), bytes.begin(), bytes.end());
}

void FakeUnitLine::Purge() {
    ++purgeCount_;
    queue_.clear();
}

void FakeUnitLine::Close() {
    if (!open_) return;
    Purge();
    open_ = false;
    ++closeCount_;
}

std::string FakeUnitLine::DevicePath() const {
    return "fake:COM" + std::to_string(port_);
}

void FakeUnitLine::ClearFailures() {
    noAnswer_ = false;
    wrongCheck_ = false;
    dropNext_ = 0;
    extraBytes_ = 0;
    unit_.options().badEchoPage = 0;
    unit_.options().protocolVersion = kUnitProtocolVersion;
}

}  // namespace kestrin

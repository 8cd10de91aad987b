#include "cli/CliLink.h"

#include <chrono>
#include <ostream>
#include <thread>

namespace kestrin::cli {

namespace {
constexpr auto kTick = std::chrono::milliseconds(55);
// A transfer ends by itself within 40 frames of 5 sends each; this only guards a fault.
constexpr int kTransferTickLimit = 40 * 5 * 6 + 400;
}  // namespace

CliLink::CliLink(ParameterImage& image, SerialLine& line, std::ostream& out, std::ostream& err)
    : image_(image), line_(line), out_(out), err_(err), loop_(image, line, messages_, *this) {}

bool CliLink::Open() {
    loop_.portIndex = 0;
    loop_.reopening = true;  // failures are reported here, not through a message box
    loop_.OpenPort();
    return line_.IsOpen();
}

void CliLink::TickAndWait() {
    const auto next = std::chrono::steady_clock::now() + kTick;
    loop_.Tick();
    std::this_thread::sleep_until(next);
}

bool CliLink::Run(Transfer what) {
    switch (what) {
        case Transfer::Program:
            loop_.MenuProgram();
            break;
        case Transfer::Verify:
            loop_.MenuVerify();
            break;
        case Transfer::Read:
            loop_.MenuRead();
            break;
    }
    std::string shown = loop_.view().statusText;
    out_ << shown << std::endl;
    const auto print = [&] {
        if (loop_.view().statusText != shown) {
            shown = loop_.view().statusText;
            out_ << shown << std::endl;
        }
    };
    for (int t = 0; t < kTransferTickLimit && loop_.linkMode != LinkMonitoring; ++t) {
        TickAndWait();
        print();
    }
    if (versionStopped_ || loop_.linkMode != LinkMonitoring) return false;
    // After programming the loop itself puts the programming result up on the next tick.
    if (loop_.programDone) {
        TickAndWait();
        print();
    }
    const std::string ok = " OK";
    return shown.size() >= ok.size() && shown.compare(shown.size() - ok.size(), ok.size(), ok) == 0;
}

void CliLink::Monitor(const std::function<bool(const Frame&)>& onFrame, int maxTicks) {
    onFrame_ = &onFrame;
    stopMonitor_ = false;
    for (int t = 0; t < maxTicks && !stopMonitor_; ++t) TickAndWait();
    onFrame_ = nullptr;
}

void CliLink::MonitorFrameReceived(const Frame& frame) {
    if (onFrame_ && !(*onFrame_)(frame)) stopMonitor_ = true;
}

void CliLink::VersionMismatch(const std::string& text) {
    versionStopped_ = true;
    err_ << text << std::endl;
}

}  // namespace kestrin::cli

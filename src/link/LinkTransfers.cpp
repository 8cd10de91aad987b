// Program, verify and read: the commands that start a transfer and the reply handler that
// advances it. Time-outs and resends are the tick's business (LinkLoop.cpp).
#include <algorithm>

#include "link/LinkLoop.h"

namespace kestrin {

namespace {
constexpr int kLastPage = 19;
constexpr int kStatusHoldTicks = 200;
constexpr std::uint8_t kVerifyFirstPage = kCmdRequest | 1;
}  // namespace

void LinkLoop::MenuProgram() {
    host_.ControlsToImage();
    host_.ConsistencyPass();
    host_.ImageToControls();
    verifyAfterProgram = true;
    pageFlags.fill(true);
    StartProgramming();
}

void LinkLoop::StartProgramming() {
    const auto first = std::find(pageFlags.begin(), pageFlags.end(), true);
    if (first == pageFlags.end()) return;
    const int page = static_cast<int>(first - pageFlags.begin());
    commandByte = static_cast<std::uint8_t>(page);
    retryCount = 0;
    view_.gaugeProgress = page;
    linkMode = LinkProgramming;
    ShowStatus(messages_[MsgProgramming], StatusColour::ButtonFace);
    statusTicks = kStatusHoldTicks;
    view_.gaugeVisible = true;
    programDone = false;
}

void LinkLoop::MenuVerify() {
    host_.ControlsToImage();
    host_.ConsistencyPass();
    host_.ImageToControls();
    linkMode = LinkVerifying;
    commandByte = kVerifyFirstPage;
    retryCount = 0;
    ShowStatus(messages_[MsgVerifying], StatusColour::ButtonFace);
    statusTicks = kStatusHoldTicks;
    programDone = false;
    view_.gaugeProgress = 0;
    view_.gaugeVisible = true;
}

void LinkLoop::MenuRead() {
    linkMode = LinkReading;
    commandByte = kCmdRequest;
    retryCount = 0;
    ShowStatus(messages_[MsgReading], StatusColour::ButtonFace);
    statusTicks = kStatusHoldTicks;
    view_.gaugeProgress = 0;
    view_.gaugeVisible = true;
    host_.ReadStarted();
    programDone = false;
}

void LinkLoop::HandleReply(const Frame& frame) {
    const int page = PageOfCommand(commandByte);
    if (!CheckOk(frame) || page > kLastPage ||
        frame[0] != static_cast<std::uint8_t>(commandByte ^ kReplyBit))
        return;
    silentTicks = 0;
    const auto data = std::span<const std::uint8_t>(frame).subspan(1, kFrameData);
    switch (linkMode) {
        case LinkReading:
            ReplyWhileReading(page, data);
            break;
        case LinkVerifying:
            ReplyWhileVerifying(page, data);
            break;
        case LinkProgramming:
            ReplyWhileProgramming(page, data);
            break;
        default:
            ReplyWhileMonitoring(page, data);
            break;
    }
}

bool LinkLoop::TakeUnitInfo(std::span<const std::uint8_t> data) {
    unitInfo_.Set(data);
    return unitInfo_.version() == kProtocolVersion;
}

// The transfer ends before any parameter page moves; the status line stays as it is until
// the next change, since the message box tells the rider what happened.
void LinkLoop::StopForVersion() {
    linkMode = LinkMonitoring;
    statusTicks = 0;
    host_.VersionMismatch(VersionMismatchText(messages_[MsgVersionMismatch], unitInfo_.version()));
}

void LinkLoop::SendNextPage() {
    ++commandByte;
    view_.gaugeProgress = PageOfCommand(commandByte);
    retryCount = 1;
    SendTransferFrame();
}

void LinkLoop::StartVerifyAfter() {
    linkMode = LinkVerifying;
    commandByte = kVerifyFirstPage;
    retryCount = 1;
    SendTransferFrame();
    ShowStatus(messages_[MsgVerifying] + ":", StatusColour::ButtonFace);
    statusTicks = kStatusHoldTicks;
    view_.gaugeProgress = 0;
}

void LinkLoop::ReplyWhileReading(int page, std::span<const std::uint8_t> data) {
    if (page == 0) {
        if (!TakeUnitInfo(data)) {
            linkMode = LinkMonitoring;
            host_.ConsistencyPass();
            host_.ImageToControls();
            StopForVersion();
            return;
        }
    } else {
        std::copy(data.begin(), data.end(), image_.page(page).begin());
    }
    if (page < kLastPage) {
        SendNextPage();
        return;
    }
    // All pages read: bring them into range, then check that the unit holds what we now have.
    host_.ConsistencyPass();
    host_.ImageToControls();
    StartVerifyAfter();
}

void LinkLoop::ReplyWhileVerifying(int page, std::span<const std::uint8_t> data) {
    if (page == 0) return;  // verification starts at page 1; a page-0 answer is not ours
    const auto mine = image_.page(page);
    if (!std::equal(data.begin(), data.end(), mine.begin())) return;  // resent by the tick
    if (page < kLastPage) {
        SendNextPage();
        return;
    }
    verifyAfterProgram = false;
    view_.gaugeProgress = kGaugeMaximum;
    ShowStatus(messages_[MsgVerifying] + " OK", StatusColour::ButtonFace);
    statusTicks = kStatusHoldTicks;
    linkMode = LinkMonitoring;
}

void LinkLoop::ReplyWhileProgramming(int page, std::span<const std::uint8_t> data) {
    bool accepted;
    if (page == 0) {
        const bool sameVersion = TakeUnitInfo(data);
        host_.ConsistencyPass();
        host_.ImageToControls();
        if (!sameVersion) {
            StopForVersion();
            return;
        }
        accepted = true;
    } else {
        const auto mine = image_.page(page);
        accepted = std::equal(data.begin(), data.end(), mine.begin());
    }
    pageFlags[static_cast<std::size_t>(page)] = false;
    if (!accepted) return;  // the tick sends the same page again

    const auto next = std::find(pageFlags.begin(), pageFlags.end(), true);
    if (next != pageFlags.end()) {
        const int q = static_cast<int>(next - pageFlags.begin());
        commandByte = static_cast<std::uint8_t>(q);
        retryCount = 1;
        view_.gaugeProgress = q;
        SendTransferFrame();
        return;
    }
    programDone = true;
    if (verifyAfterProgram) {
        StartVerifyAfter();
        return;
    }
    view_.gaugeProgress = kGaugeMaximum;
    ShowStatus(messages_[MsgProgramming] + " OK", StatusColour::ButtonFace);
    statusTicks = kStatusHoldTicks;
    linkMode = LinkMonitoring;
}

// While monitoring, a reply answers a tuning frame: the unit's tuned page replaces ours, and
// the second page of the pair is asked for before monitoring goes on.
void LinkLoop::ReplyWhileMonitoring(int page, std::span<const std::uint8_t> data) {
    if (page >= 1) std::copy(data.begin(), data.end(), image_.page(page).begin());
    if (tuneFrameState == 1) {
        SendTuningFrame(1);
        tuneFrameState = 2;
        return;
    }
    host_.ImageToControls();
    SendMonitorRequest();
    tuneFrameState = 0;
}

}  // namespace kestrin

#include "link/LinkLoop.h"

#include <algorithm>

namespace kestrin {

namespace {
constexpr int kSendEveryTicks = 6;
constexpr int kMaxSends = 5;
constexpr int kSilentLimit = 24;
constexpr int kReopenEveryTicks = 30;
constexpr int kStatusHoldTicks = 200;
constexpr int kLastPage = 19;
}  // namespace

LinkLoop::LinkLoop(ParameterImage& image, SerialLine& line, const MessageSlots& messages,
                   LinkHost& host)
    : image_(image), line_(line), messages_(messages), host_(host) {}

void LinkLoop::Tick() {
    ReceiveStep();
    if (linkMode == LinkProgramming || linkMode == LinkVerifying || linkMode == LinkReading)
        TransferTimingStep();
    else
        MonitoringStep();
    StatusLineStep();
    WatchdogStep();
    view_.versionVisible = !view_.noConnectionVisible;
    host_.OperatingPointHighlight();
}

// A frame is taken only when a whole one is queued; everything queued is read so that stray
// bytes never shift the next frame, and only the first 152 bytes count.
void LinkLoop::ReceiveStep() {
    if (!line_.IsOpen()) return;
    const int queued = line_.QueuedBytes();
    if (queued < kFrameSize) return;
    const int wanted = std::min(queued, kRxBufferSize);
    const int got =
        line_.Read(std::span<std::uint8_t>(rxBuffer_).first(static_cast<std::size_t>(wanted)));
    if (got < kFrameSize) return;

    Frame frame;
    std::copy_n(rxBuffer_.begin(), kFrameSize, frame.begin());
    if (frame[0] == kMonitorReply) {
        if (!CheckOk(frame)) return;
        silentTicks = 0;
        lastMonitor_ = frame;
        host_.MonitorFrameReceived(frame);
        return;
    }
    const bool belongs = PageOfCommand(commandByte) <= kLastPage &&
                         frame[0] == static_cast<std::uint8_t>(commandByte ^ kReplyBit);
    if (!CheckOk(frame) || !belongs) return;
    host_.ReplyReceived(frame);
    HandleReply(frame);
}

void LinkLoop::TransferTimingStep() {
    if (linkMode == LinkReading) programDone = false;
    ++tickCount;
    if (tickCount < kSendEveryTicks) return;
    tickCount = 0;
    ++retryCount;
    if (retryCount > kMaxSends) {
        const MsgId msg = linkMode == LinkProgramming ? MsgProgramError
                          : linkMode == LinkVerifying ? MsgVerifyError
                                                      : MsgReadError;
        ShowStatus(messages_[msg], StatusColour::Red);
        statusTicks = kStatusHoldTicks;
        if (linkMode == LinkVerifying) programDone = false;
        linkMode = LinkMonitoring;
        return;
    }
    SendTransferFrame();
}

void LinkLoop::MonitoringStep() {
    ++tickCount;
    if (tickCount >= kSendEveryTicks) {
        tickCount = 0;
        if (tuningOn) {
            SendTuningFrame(0);
            tuneFrameState = 1;
        } else {
            SendMonitorRequest();
            tuneFrameState = 0;
        }
    }
    if (savingCountdown > 0) {
        ShowStatus(messages_[MsgSaving], StatusColour::ButtonFace);
        statusTicks = kStatusHoldTicks;
        // A countdown above its documented start would give a negative bar; it shows empty.
        const int done = std::max(0, kSavingCountdownMax - static_cast<int>(savingCountdown));
        view_.gaugeVisible = true;
        view_.gaugeProgress = kGaugeMaximum * done / kSavingCountdownMax;
    } else if (programDone) {
        view_.statusText = messages_[MsgProgramming] + " OK";
        view_.statusVisible = true;
        view_.gaugeVisible = true;
        view_.gaugeProgress = kGaugeMaximum;
    }
}

void LinkLoop::StatusLineStep() {
    if (statusTicks == 0) return;
    --statusTicks;
    if (statusTicks == 0) {
        view_.statusVisible = false;
        view_.gaugeVisible = false;
        programDone = false;
    }
}

void LinkLoop::WatchdogStep() {
    if (silentTicks < kSilentLimit) {
        ++silentTicks;
        view_.noConnectionVisible = false;
        return;
    }
    view_.noConnectionVisible = !printing;
    ++reopenTicks;
    if (reopenTicks >= kReopenEveryTicks) {
        reopenTicks = 0;
        ClosePort();
        reopening = true;
        ++scanPortIndex;
        if (scanPortIndex > kAutoPortIndex) scanPortIndex = 0;
        OpenPort();
    }
}

void LinkLoop::ShowStatus(const std::string& text, StatusColour colour) {
    view_.statusText = text;
    view_.statusColour = colour;
    view_.statusVisible = true;
}

int LinkLoop::PortNumber() const {
    return portIndex == kAutoPortIndex ? scanPortIndex + 1 : portIndex + 1;
}

void LinkLoop::OpenPort() {
    const std::string name = "\\\\.\\COM" + std::to_string(PortNumber());
    view_.comLabel = "COM= " + name.substr(4, 10);
    const bool opened = line_.Open(PortNumber());
    view_.comDevice = line_.DevicePath();
    if (opened) return;
    const bool automatic = portIndex == kAutoPortIndex;
    if (automatic) reopenTicks = 200;  // move on to the next port at the next silent tick
    host_.ComOpenFailed(!automatic && !reopening);
}

void LinkLoop::ClosePort() {
    if (line_.IsOpen()) line_.Close();
}

void LinkLoop::SelectPort(int menuIndex) {
    portIndex = static_cast<std::uint8_t>(std::clamp(menuIndex, 0, kAutoPortIndex));
    ClosePort();
    reopening = false;
    OpenPort();
}

void LinkLoop::WriteFrame() {
    if (line_.IsOpen()) line_.WriteFrame(txFrame_);
}

void LinkLoop::SendTransferFrame() {
    tickCount = 0;
    txFrame_.fill(0);
    txFrame_[0] = commandByte;
    currentPage = static_cast<std::uint8_t>(PageOfCommand(commandByte));
    if (linkMode != LinkReading && currentPage != 0) {
        const auto page = image_.page(currentPage);  // empty for a page beyond 19
        std::copy(page.begin(), page.end(), txFrame_.begin() + 1);
    }
    Seal(txFrame_);
    WriteFrame();
}

void LinkLoop::SendMonitorRequest() {
    view_.testIndicatorActive = testRequest[0] != 0;
    view_.testIndicatorText = std::to_string(testRequest[3]);

    txFrame_.fill(0);
    txFrame_[0] = kCmdMonitor;
    if (tuningOn) {
        txFrame_[1] = 1;
        txFrame_[2] = image_.byte(340);
        txFrame_[4] = image_.byte(342);
        for (int i = 0; i < 5; ++i)
            txFrame_[static_cast<std::size_t>(6 + i)] = image_.byte(344 + i);
        txFrame_[12] = image_.byte(350);
        txFrame_[13] = image_.byte(351);
    }
    std::copy(testRequest.begin(), testRequest.end(), txFrame_.begin() + 20);
    testRequest.fill(0);
    Seal(txFrame_);
    WriteFrame();
}

void LinkLoop::SendTuningFrame(int offset) {
    const std::uint8_t tpsShare = lastMonitor_[26];
    std::uint8_t page;
    if (tpsShare < 50) {
        page = static_cast<std::uint8_t>(15 + offset);
    } else {
        const std::uint8_t channel = image_.byte(350);
        page = static_cast<std::uint8_t>((channel - 1) * 2 + 6 + offset);
    }
    commandByte = static_cast<std::uint8_t>(kCmdRequest | page);
    retryCount = 1;
    tickCount = 0;
    SendTransferFrame();
}

}  // namespace kestrin

#pragma once
// The link loop: one call per 55 ms tick drives everything on the serial line — receiving and
// routing frames, transfer time-outs and resends, the monitor requests, the status line, and
// the connection watchdog with its periodic reopen. It reads and writes only through
// SerialLine and reports what the window should show in a LinkView; it never waits on a clock.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "lang/Messages.h"
#include "link/Frame.h"
#include "link/SerialLine.h"
#include "link/UnitInfo.h"
#include "model/ParameterImage.h"

namespace kestrin {

enum LinkMode : std::uint16_t {
    LinkMonitoring = 0,
    LinkProgramming = 1,
    LinkVerifying = 2,
    LinkReading = 3,
};

enum class StatusColour : std::uint8_t { ButtonFace, Red };

inline constexpr int kPortMenuItems = 21;  // COM1..COM20 and "Com Auto"
inline constexpr int kAutoPortIndex = 20;
inline constexpr int kGaugeMaximum = 20;
inline constexpr int kSavingCountdownMax = 5782;

// What the window shows of the link; the window copies it into its controls after each tick.
struct LinkView {
    bool statusVisible = false;  // LabelHlaseni
    std::string statusText;
    StatusColour statusColour = StatusColour::ButtonFace;
    bool gaugeVisible = false;  // CGaugeProgram
    int gaugeProgress = 0;
    bool noConnectionVisible = false;  // LabelSpojeni
    bool versionVisible = true;        // LabelVersion
    std::string comLabel;              // LabelCom, e.g. "COM= COM3"
    std::string comDevice;             // the device behind it, for the label's hint
    bool testIndicatorActive = false;  // LabelPokus colour: fuchsia when a test is requested
    std::string testIndicatorText;     // LabelPokus text
};

// Calls out of the loop into the parts that interpret frames and into the window.
class LinkHost {
public:
    virtual ~LinkHost() = default;
    // A monitor frame that passed its check.
    virtual void MonitorFrameReceived(const Frame&) {}
    // A reply that passed its check and answers the frame in flight, before it is handled.
    virtual void ReplyReceived(const Frame&) {}
    // The editing cycle's steps that transfers run around their use of the image.
    virtual void ControlsToImage() {}
    virtual void ConsistencyPass() {}
    virtual void ImageToControls() {}
    // The unit speaks another protocol version; the transfer has already stopped.
    virtual void VersionMismatch(const std::string& /*text*/) {}
    // A read replaces the image, so it no longer belongs to the file shown on the Bike page.
    virtual void ReadStarted() {}
    // The port could not be opened; `report` is true for a fixed port chosen by the user or at
    // start, where the failure is reported, false for the scan and the watchdog's reopens.
    virtual void ComOpenFailed(bool /*report*/) {}
    // Last step of every tick.
    virtual void OperatingPointHighlight() {}
};

class LinkLoop {
public:
    LinkLoop(ParameterImage& image, SerialLine& line, const MessageSlots& messages, LinkHost& host);

    // One tick of the loop, the seven steps in order.
    void Tick();

    // Port handling: open by portIndex/scanPortIndex, close, and the COM menu's choice.
    void OpenPort();
    void ClosePort();
    void SelectPort(int menuIndex);
    int PortNumber() const;

    // Frame sends.
    void SendTransferFrame();
    void SendMonitorRequest();
    void SendTuningFrame(int offset);

    // Status line helpers used by the transfers.
    void ShowStatus(const std::string& text, StatusColour colour);

    // The transfer commands. None sends a frame: the first goes out when tickCount next
    // reaches 6. A command given while another transfer runs replaces it.
    void MenuProgram();
    void StartProgramming();  // the lowest flagged page first
    void MenuVerify();
    void MenuRead();
    // Every received frame that is not a monitor frame.
    void HandleReply(const Frame& frame);

    const UnitInfo& unitInfo() const { return unitInfo_; }

    const LinkView& view() const { return view_; }
    LinkView& view() { return view_; }
    const std::array<std::uint8_t, kRxBufferSize>& rxBuffer() const { return rxBuffer_; }
    const Frame& txFrame() const { return txFrame_; }
    const Frame& lastMonitorFrame() const { return lastMonitor_; }

    // The state of the link, named as the window's data model names it.
    std::uint8_t commandByte = 0;
    std::uint8_t currentPage = 0;
    std::uint16_t linkMode = LinkMonitoring;
    std::uint16_t tickCount = 0;
    std::uint16_t retryCount = 0;
    std::uint16_t statusTicks = 0;
    std::uint16_t silentTicks = 0;
    std::uint8_t reopenTicks = 0;
    std::uint8_t scanPortIndex = 0;
    bool reopening = false;
    std::uint8_t portIndex = 0;
    std::array<bool, 20> pageFlags{};
    bool verifyAfterProgram = false;
    bool programDone = false;
    std::uint16_t savingCountdown = 0;
    std::uint8_t tuneFrameState = 0;
    std::array<std::uint8_t, 4> testRequest{};
    bool printing = false;
    bool tuningOn = false;  // CheckBoxLadeniPovoleno

private:
    void ReceiveStep();
    void TransferTimingStep();
    void MonitoringStep();
    void StatusLineStep();
    void WatchdogStep();
    void WriteFrame();
    void ReplyWhileReading(int page, std::span<const std::uint8_t> data);
    void ReplyWhileVerifying(int page, std::span<const std::uint8_t> data);
    void ReplyWhileProgramming(int page, std::span<const std::uint8_t> data);
    void ReplyWhileMonitoring(int page, std::span<const std::uint8_t> data);
    bool TakeUnitInfo(std::span<const std::uint8_t> data);  // false on a version mismatch
    void StopForVersion();
    void SendNextPage();
    void StartVerifyAfter();

    ParameterImage& image_;
    SerialLine& line_;
    const MessageSlots& messages_;
    LinkHost& host_;
    LinkView view_;
    std::array<std::uint8_t, kRxBufferSize> rxBuffer_{};
    Frame txFrame_{};
    Frame lastMonitor_{};
    UnitInfo unitInfo_;
};

}  // namespace kestrin

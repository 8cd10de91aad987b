// The link loop driven tick by tick through a scripted serial line.
#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <vector>

#include "link/LinkLoop.h"

namespace kestrin {
namespace {

// A serial line whose answers the test queues by hand; it records every frame written.
class ScriptedLine : public SerialLine {
public:
    std::set<int> existing{1, 2, 3};
    std::vector<int> opens;  // every port number Open was asked for
    std::vector<Frame> written;
    std::deque<std::uint8_t> queued;
    bool open = false;

    bool Open(int port) override {
        opens.push_back(port);
        open = existing.count(port) > 0;
        return open;
    }
    bool IsOpen() const override { return open; }
    int QueuedBytes() override { return static_cast<int>(queued.size()); }
    int Read(std::span<std::uint8_t> buffer) override {
        std::size_t n = std::min(buffer.size(), queued.size());
        for (std::size_t i = 0; i < n; ++i) {
            buffer[i] = queued.front();
            queued.pop_front();
        }
        return static_cast<int>(n);
    }
    void WriteFrame(std::span<const std::uint8_t> f) override {
        Frame copy;
        std::copy(f.begin(), f.end(), copy.begin());
        written.push_back(copy);
    }
    void Purge() override { queued.clear(); }
    void Close() override { open = false; }

    void Queue(const Frame& f) { queued.insert(queued.end(), f.begin(), f.end()); }
};

class CountingHost : public LinkHost {
public:
    int monitorFrames = 0;
    int replies = 0;
    int openErrors = 0;
    int highlights = 0;
    void MonitorFrameReceived(const Frame&) override { ++monitorFrames; }
    void ReplyReceived(const Frame&) override { ++replies; }
    void ComOpenFailed(bool report) override { openErrors += report ? 1 : 0; }
    void OperatingPointHighlight() override { ++highlights; }
};

Frame MonitorFrame() {
    Frame f{};
    f[0] = kMonitorReply;
    f[150] = 74;
    Seal(f);
    return f;
}

Frame ReplyTo(std::uint8_t command) {
    Frame f{};
    f[0] = command ^ kReplyBit;
    Seal(f);
    return f;
}

class LinkLoopTest : public ::testing::Test {
protected:
    ParameterImage image;
    ScriptedLine line;
    MessageSlots messages;
    CountingHost host;
    LinkLoop loop{image, line, messages, host};

    // Start-up as the window does it: fixed COM1, six silent ticks before the label shows.
    void StartUp() {
        loop.silentTicks = 18;
        loop.OpenPort();
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) loop.Tick();
    }
    // Starts a transfer the way the transfer commands do: flags set, nothing sent yet.
    void StartTransfer(LinkMode mode, std::uint8_t command) {
        loop.linkMode = mode;
        loop.commandByte = command;
        loop.tickCount = 0;
        loop.retryCount = 0;
    }
};

TEST(FrameTest, CheckByteOfEmptyMonitorRequest) {
    Frame f{};
    f[0] = kCmdMonitor;
    Seal(f);
    EXPECT_EQ(f[151], 0xCF);
    EXPECT_TRUE(CheckOk(f));
    f[7] ^= 1;
    EXPECT_FALSE(CheckOk(f));
}

TEST_F(LinkLoopTest, NoUnitShowsNoConnectionAfterSevenTicksAndReopensEveryThirty) {
    line.existing = {1};  // the port opens, nothing answers
    StartUp();
    Ticks(6);
    EXPECT_FALSE(loop.view().noConnectionVisible);
    EXPECT_TRUE(loop.view().versionVisible);
    Ticks(1);
    EXPECT_TRUE(loop.view().noConnectionVisible);
    EXPECT_FALSE(loop.view().versionVisible);

    ASSERT_EQ(line.opens.size(), 1u);
    Ticks(29);  // tick 36: the 30th tick without connection
    EXPECT_EQ(line.opens.size(), 2u);
    EXPECT_TRUE(loop.reopening);
    Ticks(29);
    EXPECT_EQ(line.opens.size(), 2u);
    Ticks(1);
    EXPECT_EQ(line.opens.size(), 3u);
    EXPECT_EQ(line.opens.back(), 1) << "a fixed port is reopened as it is";
    EXPECT_EQ(host.openErrors, 0);
    EXPECT_EQ(host.highlights, 66);
}

TEST_F(LinkLoopTest, ValidFramesKeepTheConnectionLabelHidden) {
    StartUp();
    for (int i = 0; i < 100; ++i) {
        if (i % 6 == 0) line.Queue(MonitorFrame());
        loop.Tick();
        ASSERT_FALSE(loop.view().noConnectionVisible) << "tick " << i;
    }
    EXPECT_GT(host.monitorFrames, 10);
    EXPECT_EQ(line.opens.size(), 1u);
}

TEST_F(LinkLoopTest, PrintingHidesTheNoConnectionLabel) {
    StartUp();
    loop.printing = true;
    Ticks(40);
    EXPECT_FALSE(loop.view().noConnectionVisible);
    loop.printing = false;
    loop.Tick();
    EXPECT_TRUE(loop.view().noConnectionVisible);
}

TEST_F(LinkLoopTest, MonitorRequestEverySixTicksCarriesAndClearsTestRequests) {
    StartUp();
    loop.testRequest = {0x04, 0, 0, 7};
    Ticks(5);
    EXPECT_TRUE(line.written.empty());
    loop.Tick();
    ASSERT_EQ(line.written.size(), 1u);
    const Frame& f = line.written[0];
    EXPECT_EQ(f[0], kCmdMonitor);
    EXPECT_EQ(f[20], 0x04);
    EXPECT_EQ(f[23], 7);
    EXPECT_TRUE(CheckOk(f));
    EXPECT_TRUE(loop.view().testIndicatorActive);
    EXPECT_EQ(loop.view().testIndicatorText, "7");
    Ticks(6);
    ASSERT_EQ(line.written.size(), 2u);
    EXPECT_EQ(line.written[1][20], 0) << "a test request goes out once";
    EXPECT_FALSE(loop.view().testIndicatorActive);
}

TEST_F(LinkLoopTest, MonitorRequestCarriesTuningSettingsOnlyWhenTuningIsOn) {
    for (int n = 340; n <= 351; ++n) image.setByte(n, static_cast<std::uint8_t>(n - 300));
    image.setByte(350, 1);
    StartUp();
    Ticks(6);
    ASSERT_EQ(line.written.size(), 1u);
    for (int i = 1; i <= 13; ++i) EXPECT_EQ(line.written[0][i], 0) << i;

    loop.tuningOn = true;
    Ticks(6);
    ASSERT_EQ(line.written.size(), 2u);
    EXPECT_EQ(line.written[1][0], 0x4F) << "no monitor frame yet: the pressure map is read";
    EXPECT_EQ(loop.tuneFrameState, 1);
    loop.SendMonitorRequest();
    const Frame& f = line.written.back();
    EXPECT_EQ(f[1], 1);
    EXPECT_EQ(f[2], 40);
    EXPECT_EQ(f[3], 0);
    EXPECT_EQ(f[4], 42);
    EXPECT_EQ(f[5], 0);
    EXPECT_EQ(f[6], 44);
    EXPECT_EQ(f[10], 48);
    EXPECT_EQ(f[11], 0);
    EXPECT_EQ(f[12], 1);
    EXPECT_EQ(f[13], 51);
}

TEST_F(LinkLoopTest, TuningFrameChoosesThePageByTheThrottleMapShare) {
    struct Case {
        std::uint8_t share;
        std::uint8_t channel;
        int offset;
        std::uint8_t command;
    };
    const Case cases[] = {
        {50, 3, 0, 0x4A}, {50, 3, 1, 0x4B},  {49, 3, 0, 0x4F},
        {49, 3, 1, 0x50}, {100, 1, 0, 0x46}, {100, 4, 1, 0x4D},
    };
    StartUp();
    for (const Case& c : cases) {
        Frame m = MonitorFrame();
        m[26] = c.share;
        Seal(m);
        line.Queue(m);
        loop.Tick();
        image.setByte(350, c.channel);
        loop.SendTuningFrame(c.offset);
        EXPECT_EQ(line.written.back()[0], c.command) << int(c.share) << " " << int(c.channel);
        EXPECT_EQ(loop.retryCount, 1);
        EXPECT_EQ(loop.tickCount, 0);
    }
}

TEST_F(LinkLoopTest, UnansweredTransferIsSentFiveTimesThenFails) {
    const struct {
        LinkMode mode;
        MsgId error;
    } modes[] = {{LinkProgramming, MsgProgramError},
                 {LinkVerifying, MsgVerifyError},
                 {LinkReading, MsgReadError}};
    StartUp();
    for (const auto& m : modes) {
        line.written.clear();
        loop.statusTicks = 0;
        loop.view().statusVisible = false;
        StartTransfer(m.mode, 0x05);
        std::vector<int> sendTicks;
        int failedAt = -1;
        for (int t = 1; t <= 400; ++t) {
            const std::size_t before = line.written.size();
            loop.Tick();
            if (line.written.size() > before) sendTicks.push_back(t);
            if (failedAt < 0 && loop.linkMode == LinkMonitoring) failedAt = t;
            // The failing tick counts as the first of the 200 the status line is held.
            if (failedAt > 0 && t == failedAt + 198) {
                EXPECT_TRUE(loop.view().statusVisible);
            }
            if (failedAt > 0 && t == failedAt + 199) {
                EXPECT_FALSE(loop.view().statusVisible);
                break;
            }
        }
        ASSERT_GE(sendTicks.size(), 5u);
        EXPECT_EQ(std::vector<int>(sendTicks.begin(), sendTicks.begin() + 5),
                  (std::vector<int>{6, 12, 18, 24, 30}));
        for (int i = 0; i < 5; ++i) EXPECT_EQ(line.written[static_cast<std::size_t>(i)][0], 0x05);
        EXPECT_EQ(failedAt, 36) << "30 ticks after the first send";
        EXPECT_EQ(loop.view().statusText, messages[m.error]);
        EXPECT_EQ(loop.view().statusColour, StatusColour::Red);
    }
}

TEST_F(LinkLoopTest, TransferFramesCarryThePageExceptWhenReadingOrPageZero) {
    for (int i = 0; i < kImageSize; ++i) image.setByte(i, static_cast<std::uint8_t>(i * 7));
    StartUp();
    const struct {
        LinkMode mode;
        std::uint8_t command;
        bool carriesPage;
    } cases[] = {
        {LinkProgramming, 0x03, true},
        {LinkProgramming, 0x00, false},
        {LinkVerifying, 0x53, true},
        {LinkReading, 0x43, false},
    };
    for (const auto& c : cases) {
        loop.linkMode = c.mode;
        loop.commandByte = c.command;
        loop.SendTransferFrame();
        const Frame& f = line.written.back();
        const int page = c.command & 63;
        for (int i = 1; i <= 150; ++i) {
            const std::uint8_t want =
                c.carriesPage ? image.byte((page - 1) * 150 + i - 1) : std::uint8_t{0};
            ASSERT_EQ(f[static_cast<std::size_t>(i)], want) << int(c.command) << " byte " << i;
        }
        EXPECT_TRUE(CheckOk(f));
        EXPECT_EQ(loop.currentPage, page);
    }
}

TEST_F(LinkLoopTest, ReceiveTakesAFrameOnlyWhenWhole) {
    StartUp();
    const Frame m = MonitorFrame();
    line.queued.insert(line.queued.end(), m.begin(), m.begin() + 151);
    loop.Tick();
    EXPECT_EQ(host.monitorFrames, 0);
    EXPECT_EQ(line.queued.size(), 151u);
    line.queued.push_back(m[151]);
    loop.Tick();
    EXPECT_EQ(host.monitorFrames, 1);

    line.Queue(m);
    line.Queue(m);  // 304 bytes: both read, the second dropped
    loop.Tick();
    EXPECT_EQ(host.monitorFrames, 2);
    EXPECT_TRUE(line.queued.empty());
}

TEST_F(LinkLoopTest, RepliesAreRoutedOnlyWhenTheyBelongAndPassTheCheck) {
    StartUp();
    StartTransfer(LinkProgramming, 0x05);
    loop.silentTicks = 20;

    Frame bad = ReplyTo(0x05);
    bad[151] ^= 0xFF;
    line.Queue(bad);
    loop.Tick();
    EXPECT_EQ(host.replies, 0);
    EXPECT_EQ(loop.silentTicks, 21);

    line.Queue(ReplyTo(0x06));  // answers another command
    loop.Tick();
    EXPECT_EQ(host.replies, 0);

    Frame badMonitor = MonitorFrame();
    badMonitor[40] ^= 1;
    line.Queue(badMonitor);
    loop.Tick();
    EXPECT_EQ(host.monitorFrames, 0);

    line.Queue(ReplyTo(0x05));
    loop.Tick();
    EXPECT_EQ(host.replies, 1);
    EXPECT_EQ(loop.silentTicks, 1) << "reset by the reply, counted again by the watchdog";
}

TEST_F(LinkLoopTest, SavingCountdownFillsTheGaugeThenShowsOk) {
    StartUp();
    loop.programDone = true;
    const struct {
        std::uint16_t countdown;
        int progress;
    } cases[] = {{5782, 0}, {2891, 10}, {1, 19}, {9000, 0}};
    for (const auto& c : cases) {
        loop.savingCountdown = c.countdown;
        loop.Tick();
        EXPECT_EQ(loop.view().statusText, messages[MsgSaving]);
        EXPECT_EQ(loop.view().gaugeProgress, c.progress) << c.countdown;
        EXPECT_EQ(loop.statusTicks, 199);
    }
    loop.savingCountdown = 0;
    Ticks(198);
    EXPECT_EQ(loop.view().statusText, messages[MsgProgramming] + " OK");
    EXPECT_EQ(loop.view().gaugeProgress, kGaugeMaximum);
    EXPECT_TRUE(loop.view().statusVisible);
    loop.Tick();
    EXPECT_FALSE(loop.view().statusVisible) << "200 ticks after the last update";
    EXPECT_FALSE(loop.view().gaugeVisible);
    EXPECT_FALSE(loop.programDone);
}

TEST_F(LinkLoopTest, PortLabelAndOpenErrors) {
    line.existing = {3, 12};
    const struct {
        int menuIndex;
        const char* label;
        int errors;
    } cases[] = {{2, "COM= COM3", 0}, {11, "COM= COM12", 0}, {4, "COM= COM5", 1}};
    int errors = 0;
    for (const auto& c : cases) {
        loop.SelectPort(c.menuIndex);
        errors += c.errors;
        EXPECT_EQ(loop.view().comLabel, c.label);
        EXPECT_EQ(host.openErrors, errors);
    }
    // The watchdog's reopen of the missing fixed port stays silent.
    loop.silentTicks = 24;
    Ticks(30);
    EXPECT_EQ(line.opens.back(), 5);
    EXPECT_EQ(host.openErrors, 1);
}

TEST_F(LinkLoopTest, AutomaticScanSkipsMissingPortsAtOnePerTick) {
    line.existing = {4};
    loop.portIndex = kAutoPortIndex;
    loop.scanPortIndex = 0;
    loop.silentTicks = 24;
    loop.OpenPort();  // COM1 is missing
    EXPECT_EQ(loop.view().comLabel, "COM= COM1");
    Ticks(3);  // COM2, COM3 missing, COM4 opens
    EXPECT_EQ(loop.view().comLabel, "COM= COM4");
    EXPECT_TRUE(line.open);
    Ticks(29);
    EXPECT_EQ(loop.view().comLabel, "COM= COM4");
    Ticks(1);
    EXPECT_EQ(loop.view().comLabel, "COM= COM5");
    EXPECT_EQ(host.openErrors, 0);
    for (int i = 0; i < 30; ++i) loop.Tick();
    EXPECT_LE(loop.scanPortIndex, 20);
}

}  // namespace
}  // namespace kestrin

// Program, verify and read against a small in-test unit that answers at once.
#include <gtest/gtest.h>

#include "link/LinkLoop.h"
#include "sim/unit/FakeUnitLine.h"

namespace kestrin {
namespace {

// The in-process unit, with a count of the frames the program sent it.
int SendsOf(const FakeUnitLine& unit, std::uint8_t command) {
    return static_cast<int>(std::count_if(unit.written().begin(), unit.written().end(),
                                          [&](const Frame& f) { return f[0] == command; }));
}

class RecordingHost : public LinkHost {
public:
    std::vector<std::string> boxes;
    int consistencyPasses = 0;
    int reads = 0;
    void ConsistencyPass() override { ++consistencyPasses; }
    void VersionMismatch(const std::string& text) override { boxes.push_back(text); }
    void ReadStarted() override { ++reads; }
};

class TransferTest : public ::testing::Test {
protected:
    ParameterImage image;
    FakeUnitLine unit;
    MessageSlots messages;
    RecordingHost host;
    LinkLoop loop{image, unit, messages, host};

    void SetUp() override {
        for (int i = 0; i < kImageSize; ++i)
            image.setByte(i, static_cast<std::uint8_t>(i * 31 + 7));
        loop.OpenPort();
    }
    // Ticks until the loop is back to monitoring, collecting each distinct status text.
    std::vector<std::string> RunToEnd(int maxTicks = 2000) {
        std::vector<std::string> texts;
        for (int t = 0; t < maxTicks; ++t) {
            loop.Tick();
            if (texts.empty() || texts.back() != loop.view().statusText)
                texts.push_back(loop.view().statusText);
            if (loop.linkMode == LinkMonitoring && t > 0) break;
        }
        return texts;
    }
};

TEST_F(TransferTest, ProgramThenVerifyEndsInProgramOk) {
    loop.MenuProgram();
    EXPECT_EQ(loop.view().statusText, messages[MsgProgramming]);
    EXPECT_TRUE(unit.written().empty()) << "commands send nothing themselves";
    const auto texts = RunToEnd();
    EXPECT_EQ(unit.memory(), image);
    // The verify result is replaced in the same tick: programming is what the rider asked for.
    EXPECT_EQ(texts,
              (std::vector<std::string>{messages[MsgProgramming], messages[MsgVerifying] + ":",
                                        messages[MsgProgramming] + " OK"}));
    EXPECT_TRUE(loop.programDone);
    EXPECT_EQ(loop.view().gaugeProgress, kGaugeMaximum);
    for (int p = 0; p <= 19; ++p) EXPECT_EQ(SendsOf(unit, static_cast<std::uint8_t>(p)), 1) << p;
    for (int p = 1; p <= 19; ++p) EXPECT_EQ(SendsOf(unit, static_cast<std::uint8_t>(0x40 | p)), 1);
    UnitInfo expected;
    expected.Set(unit.unit().Identification());
    EXPECT_EQ(loop.unitInfo().unitName, expected.unitName);
    EXPECT_FALSE(expected.unitName.empty());
    EXPECT_GE(host.consistencyPasses, 2);
}

TEST_F(TransferTest, VersionMismatchStopsAtPageZero) {
    for (auto start : {&LinkLoop::MenuProgram, &LinkLoop::MenuRead}) {
        unit.SetVersion(73);
        unit.ClearWritten();
        host.boxes.clear();
        (loop.*start)();
        RunToEnd();
        ASSERT_EQ(host.boxes.size(), 1u);
        EXPECT_EQ(host.boxes[0], "Unmatched version of PC and Ignition programs!  PC-74, IGN-73");
        EXPECT_EQ(loop.linkMode, LinkMonitoring);
        EXPECT_EQ(loop.statusTicks, 0);
        ASSERT_EQ(unit.written().size(), 1u) << "no parameter page moves";
        EXPECT_EQ(unit.written()[0][0] & 63, 0);
    }
}

TEST_F(TransferTest, BadEchoOfPageFiveIsResentThenFails) {
    unit.SetWrongEchoPage(5);
    loop.MenuProgram();
    std::vector<int> sendTicks;
    int t = 0;
    while (loop.linkMode != LinkMonitoring && t < 500) {
        const std::size_t before = unit.written().size();
        loop.Tick();
        ++t;
        for (std::size_t i = before; i < unit.written().size(); ++i)
            if (unit.written()[i][0] == 0x05) sendTicks.push_back(t);
    }
    ASSERT_EQ(sendTicks.size(), 5u);
    // The first send comes from the reply in the tick's receive step, which the same tick's
    // timing step already counts.
    std::vector<int> gaps;
    for (std::size_t i = 1; i < sendTicks.size(); ++i)
        gaps.push_back(sendTicks[i] - sendTicks[i - 1]);
    EXPECT_EQ(gaps, (std::vector<int>{5, 6, 6, 6}));
    EXPECT_EQ(loop.view().statusText, messages[MsgProgramError]);
    EXPECT_EQ(loop.view().statusColour, StatusColour::Red);
    EXPECT_EQ(SendsOf(unit, 0x06), 0) << "the remaining pages are not sent";
}

TEST_F(TransferTest, ReadBringsTheUnitMemoryInAndVerifiesIt) {
    for (int i = 0; i < kImageSize; ++i)
        unit.unit().memory().setByte(i, static_cast<std::uint8_t>(i % 251));
    loop.MenuRead();
    EXPECT_EQ(host.reads, 1);
    const auto texts = RunToEnd();
    EXPECT_EQ(image, unit.memory());
    EXPECT_EQ(texts.back(), messages[MsgVerifying] + " OK");
    EXPECT_FALSE(loop.programDone);
    for (int p = 0; p <= 19; ++p)
        EXPECT_EQ(SendsOf(unit, static_cast<std::uint8_t>(0x40 | p)), p == 0 ? 1 : 2);
}

TEST_F(TransferTest, VerifyFindsADifferenceAndFails) {
    unit.unit().memory() = image;
    unit.unit().memory().setByte(1500, image.byte(1500) ^ 1);
    loop.MenuVerify();
    RunToEnd();
    EXPECT_EQ(loop.view().statusText, messages[MsgVerifyError]);
    EXPECT_EQ(SendsOf(unit, 0x40 | 11), 5);
}

TEST_F(TransferTest, TuningRepliesReplaceThePagePairThenMonitoringGoesOn) {
    unit.unit().memory() = image;
    for (int i = 900; i < 1200; ++i) unit.unit().memory().setByte(i, 0xAB);  // pages 7..8 tuned
    image.setByte(350, 1);
    loop.tuningOn = true;
    Frame m{};
    m[0] = kMonitorReply;
    m[26] = 80;
    Seal(m);
    unit.InjectBytes(m);
    for (int t = 0; t < 8; ++t) loop.Tick();
    ASSERT_GE(unit.written().size(), 3u);
    EXPECT_EQ(unit.written()[0][0], 0x46);
    EXPECT_EQ(unit.written()[1][0], 0x47);
    EXPECT_EQ(unit.written()[2][0], kCmdMonitor);
    EXPECT_EQ(image.byte(1000), 0xAB);
    EXPECT_EQ(loop.tuneFrameState, 0);
}

TEST(UnitInfoTest, IdentificationTexts) {
    struct Case {
        std::uint8_t day, month, year, hour, minute;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {5, 51, 8, 9, 5, " 5.11.2008", "09:05"},
        {5, 25, 8, 9, 5, " 5. 1.2008", "09:05"},
        {28, 12, 15, 23, 59, "28.12.2015", "23:59"},
        {1, 99, 0, 0, 0, " 1.00.2000", "00:00"},
    };
    for (const Case& c : cases) {
        std::array<std::uint8_t, 150> b{};
        b[0] = 'A';
        b[1] = 'B';
        b[2] = 'C';
        b[3] = 7;
        b[4] = c.day;
        b[5] = c.month;
        b[6] = c.year;
        b[7] = c.hour;
        b[8] = c.minute;
        UnitInfo info;
        info.Set(b);
        EXPECT_EQ(info.unitDate, c.date);
        EXPECT_EQ(info.unitTime, c.time);
        EXPECT_EQ(info.unitName, "ABC07");
    }
}

TEST(UnitInfoTest, NameFromBytesSixteenOnAtMostThirtyCharacters) {
    std::array<std::uint8_t, 150> b{};
    const std::string name = "Kestrin racing unit of Joe's R1 bike";
    std::copy(name.begin(), name.end(), b.begin() + 16);
    UnitInfo info;
    info.Set(b);
    EXPECT_EQ(info.unitName, name.substr(0, 30));
    b[16 + 5] = 0;
    info.Set(b);
    EXPECT_EQ(info.unitName, "Kestr");
}

}  // namespace
}  // namespace kestrin

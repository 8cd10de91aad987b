// The fake unit line used by the program's tests, the simulator's request assembly from
// pieces, and the simulator's command line.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sim/unit/FakeUnitLine.h"
#include "sim/unit/RequestAssembler.h"
#include "sim/unit/SimCommandLine.h"
#include "test_sim_support.h"

namespace kestrin {
namespace {

using simtest::MakeFrame;
using simtest::PageFrame;

std::vector<std::uint8_t> Drain(FakeUnitLine& line) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kRxBufferSize));
    bytes.resize(static_cast<std::size_t>(line.Read(bytes)));
    return bytes;
}

TEST(FakeUnitLine, AnswersEachWrittenFrameAtOnce) {
    FakeUnitLine line;
    ASSERT_TRUE(line.Open(3));
    EXPECT_TRUE(line.IsOpen());
    EXPECT_EQ(line.DevicePath(), "fake:COM3");
    line.WriteFrame(PageFrame(0x07, 4));
    ASSERT_EQ(line.QueuedBytes(), kFrameSize);
    const auto answer = Drain(line);
    ASSERT_EQ(answer.size(), static_cast<std::size_t>(kFrameSize));
    EXPECT_EQ(answer[0], 0x87);
    EXPECT_TRUE(CheckOk(answer));
    EXPECT_EQ(line.QueuedBytes(), 0);
    EXPECT_TRUE(
        std::equal(answer.begin() + 1, answer.begin() + 151, line.memory().page(7).begin()));
    ASSERT_EQ(line.written().size(), 1u);
    EXPECT_EQ(line.written()[0], PageFrame(0x07, 4));
}

TEST(FakeUnitLine, FailureModes) {
    struct Case {
        const char* what;
        std::function<void(FakeUnitLine&)> setUp;
        Frame request;
        int queued;          // bytes queued after the write
        bool checkOk;        // of the first 152
        std::uint8_t first;  // first byte of the answer
        int byte;            // a data position to look at, -1 none
        int value;           // its expected value
    };
    const Frame page3 = PageFrame(0x03, 8);
    const std::vector<Case> cases{
        {"no failure", [](FakeUnitLine&) {}, MakeFrame(kCmdMonitor), 152, true, 0xB0, 150, 74},
        {"no answer", [](FakeUnitLine& l) { l.SetNoAnswer(true); }, MakeFrame(kCmdMonitor), 0,
         false, 0, -1, 0},
        {"wrong check byte", [](FakeUnitLine& l) { l.SetWrongCheckByte(true); },
         MakeFrame(kCmdMonitor), 152, false, 0xB0, -1, 0},
        {"wrong echo of page 3", [](FakeUnitLine& l) { l.SetWrongEchoPage(3); }, page3, 152, true,
         0x83, 1, page3[1] ^ 0xFF},
        {"wrong echo, other page", [](FakeUnitLine& l) { l.SetWrongEchoPage(4); }, page3, 152, true,
         0x83, 1, page3[1]},
        {"wrong version", [](FakeUnitLine& l) { l.SetVersion(73); }, MakeFrame(0x40), 152, true,
         0xC0, 11, 73},
        {"extra bytes", [](FakeUnitLine& l) { l.SetExtraBytes(5); }, MakeFrame(kCmdMonitor), 157,
         true, 0xB0, -1, 0},
        {"failures cleared",
         [](FakeUnitLine& l) {
             l.SetNoAnswer(true);
             l.SetVersion(73);
             l.ClearFailures();
         },
         MakeFrame(0x00), 152, true, 0x80, 11, 74},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeUnitLine line;
        ASSERT_TRUE(line.Open(1));
        c.setUp(line);
        line.WriteFrame(c.request);
        ASSERT_EQ(line.QueuedBytes(), c.queued);
        const auto bytes = Drain(line);
        if (c.queued == 0) continue;
        EXPECT_EQ(bytes[0], c.first);
        EXPECT_EQ(CheckOk(bytes), c.checkOk);
        if (c.byte >= 0) {
            EXPECT_EQ(bytes[static_cast<std::size_t>(c.byte)], c.value);
        }
    }
}

TEST(FakeUnitLine, DropNextAnswersThenRecovers) {
    FakeUnitLine line;
    line.Open(1);
    line.DropNextAnswers(2);
    std::vector<int> queued;
    for (int i = 0; i < 3; ++i) {
        line.WriteFrame(MakeFrame(kCmdMonitor));
        queued.push_back(line.QueuedBytes());
        Drain(line);
    }
    EXPECT_EQ(queued, (std::vector<int>{0, 0, 152}));
}

TEST(FakeUnitLine, PortsThatExistOpenCloseAndPurge) {
    FakeUnitLine line;
    line.SetExistingPorts({4});
    EXPECT_FALSE(line.Open(3));
    EXPECT_FALSE(line.IsOpen());
    EXPECT_EQ(line.port(), 3);
    line.WriteFrame(MakeFrame(kCmdMonitor));
    EXPECT_TRUE(line.written().empty()) << "nothing goes out on a closed port";
    EXPECT_EQ(line.QueuedBytes(), 0);

    ASSERT_TRUE(line.Open(4));
    line.WriteFrame(MakeFrame(kCmdMonitor));
    line.Purge();
    EXPECT_EQ(line.QueuedBytes(), 0);
    line.WriteFrame(MakeFrame(kCmdMonitor));
    line.Close();
    EXPECT_FALSE(line.IsOpen());
    ASSERT_TRUE(line.Open(4));
    EXPECT_EQ(line.QueuedBytes(), 0) << "reopening starts with an empty queue";
    EXPECT_EQ(line.openCount(), 2);
    EXPECT_EQ(line.openAttempts(), 3);
    EXPECT_EQ(line.closeCount(), 1);
    EXPECT_EQ(line.written().size(), 2u);
}

TEST(FakeUnitLine, InjectedBytesAndUnitClock) {
    FakeUnitLine line;
    line.Open(1);
    const std::uint8_t stray[3] = {1, 2, 3};
    line.InjectBytes(stray);
    line.WriteFrame(MakeFrame(kCmdMonitor));
    EXPECT_EQ(line.QueuedBytes(), 155);
    Drain(line);

    line.SetMillisecondsPerWrite(1000);
    line.WriteFrame(PageFrame(0x02, 1));
    Drain(line);
    const int countdown = line.unit().savingCountdown();
    line.WriteFrame(MakeFrame(kCmdMonitor));
    EXPECT_EQ(line.unit().savingCountdown(), countdown - 1000);
}

TEST(RequestAssembler, JoinsPiecesAndFindsRequestsAfterStrayBytes) {
    const Frame monitor = MakeFrame(kCmdMonitor);
    const Frame page = PageFrame(0x09, 2);
    RequestAssembler assembler;

    auto r = assembler.Feed(std::span(monitor).first(100), 0);
    EXPECT_TRUE(r.requests.empty());
    r = assembler.Feed(std::span(monitor).subspan(100), 5);
    ASSERT_EQ(r.requests.size(), 1u);
    EXPECT_EQ(r.requests[0], monitor);

    std::vector<std::uint8_t> bytes{0x55, 0xAA, 0x30};
    bytes.insert(bytes.end(), page.begin(), page.end());
    bytes.insert(bytes.end(), monitor.begin(), monitor.end());
    r = assembler.Feed(bytes, 10);
    ASSERT_EQ(r.requests.size(), 2u);
    EXPECT_EQ(r.requests[0], page);
    EXPECT_EQ(r.requests[1], monitor);
    EXPECT_EQ(r.discarded, 3);
    EXPECT_EQ(assembler.pending(), 0);
}

TEST(RequestAssembler, DropsAPartRequestAfterAQuietGap) {
    const Frame monitor = MakeFrame(kCmdMonitor);
    RequestAssembler assembler;
    assembler.Feed(std::span(monitor).first(60), 0);
    EXPECT_EQ(assembler.Expire(30), 0);
    EXPECT_EQ(assembler.pending(), 60);
    EXPECT_EQ(assembler.Expire(60), 60);

    // A part left over is also dropped when the next request starts after the gap.
    assembler.Feed(std::span(monitor).first(60), 100);
    const auto r = assembler.Feed(monitor, 400);
    EXPECT_EQ(r.discarded, 60);
    ASSERT_EQ(r.requests.size(), 1u);
}

TEST(RequestAssembler, DamagedRequestIsNotAnswered) {
    Frame damaged = MakeFrame(kCmdMonitor);
    damaged[40] ^= 0x10;
    RequestAssembler assembler;
    auto r = assembler.Feed(damaged, 0);
    EXPECT_TRUE(r.requests.empty());
    EXPECT_EQ(assembler.Expire(100), kFrameSize - 1);
    r = assembler.Feed(MakeFrame(kCmdMonitor), 400);
    EXPECT_EQ(r.requests.size(), 1u);
}

std::optional<SimCommandLine> Parse(std::vector<std::string_view> args, std::string& error) {
    return ParseSimCommandLine(args, error);
}

TEST(SimCommandLine, ReadsEveryOption) {
    std::string error;
    const auto line =
        Parse({"--link", "/tmp/ttyKestrin", "--memory=unit.bin", "--version", "73", "--bad-echo",
               "5", "--drop", "0.25", "--corrupt", "10%", "--seed", "99", "--silent", "--no-pacing",
               "--log", "sim.log", "--name", "Bench"},
              error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->linkPath, "/tmp/ttyKestrin");
    EXPECT_EQ(line->memoryFile, "unit.bin");
    EXPECT_EQ(line->logFile, "sim.log");
    EXPECT_EQ(line->unit.protocolVersion, 73);
    EXPECT_EQ(line->unit.badEchoPage, 5);
    EXPECT_DOUBLE_EQ(line->unit.dropRate, 0.25);
    EXPECT_DOUBLE_EQ(line->unit.corruptRate, 0.10);
    EXPECT_EQ(line->unit.seed, 99u);
    EXPECT_TRUE(line->unit.silent);
    EXPECT_FALSE(line->pacing);
    EXPECT_EQ(line->unit.name, "Bench");

    const auto defaults = Parse({}, error);
    ASSERT_TRUE(defaults);
    EXPECT_TRUE(defaults->pacing);
    EXPECT_EQ(defaults->unit.protocolVersion, 74);
    EXPECT_EQ(defaults->unit.badEchoPage, 0);
}

TEST(SimCommandLine, RejectsBadValues) {
    const std::vector<std::vector<std::string_view>> cases{
        {"--drop", "1.5"},
        {"--corrupt", "-0.1"},
        {"--drop", "abc"},
        {"--bad-echo", "0"},
        {"--bad-echo", "20"},
        {"--version", "256"},
        {"--seed", "x"},
        {"--link"},
        {"--silent=yes"},
        {"--frobnicate"},
        {"--name", "a name that is far longer than thirty"},
    };
    for (const auto& args : cases) {
        std::string error;
        EXPECT_FALSE(Parse(args, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

}  // namespace
}  // namespace kestrin

// The program's link loop with the real serial adapter against kestrin-sim on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "SimProcess.h"

namespace kestrin::e2e {
namespace {

using namespace std::chrono_literals;

void FillImage(ParameterImage& image, int seed) {
    for (int i = 0; i < kImageSize; ++i)
        image.setByte(i, static_cast<std::uint8_t>((i * 37 + seed * 11) % 256));
}

TEST(E2eLink, MonitorFramesKeepTheNoConnectionLabelHidden) {
    SimProcess sim({});
    ASSERT_TRUE(sim.ready());
    LinkUnderTest link(sim.link(), 55ms);
    ASSERT_TRUE(link.line.IsOpen());
    bool shown = false;
    for (int t = 0; t < 60; ++t) {
        link.Tick();
        shown = shown || link.loop.view().noConnectionVisible;
    }
    EXPECT_FALSE(shown);
    EXPECT_GE(link.monitorFrames, 8);
    EXPECT_EQ(link.line.opens, 1);
}

TEST(E2eLink, SilentUnitShowsTheLabelAndIsReopenedEveryThirtyTicks) {
    SimProcess sim({"--silent"});
    LinkUnderTest link(sim.link(), 10ms);
    for (int t = 0; t < 7; ++t) link.Tick();
    EXPECT_TRUE(link.loop.view().noConnectionVisible);
    for (int t = 0; t < 60; ++t) link.Tick();
    EXPECT_EQ(link.line.opens, 3);
    EXPECT_TRUE(link.line.IsOpen()) << "the pseudo-terminal opens again after each close";
}

TEST(E2eLink, ProgramThenVerifyLeaveTheUnitHoldingTheImage) {
    SimProcess sim({});
    LinkUnderTest link(sim.link(), 55ms);
    FillImage(link.image, 1);
    link.loop.MenuProgram();
    link.RunTransfer();
    EXPECT_EQ(link.loop.view().statusText, link.messages[MsgProgramming] + " OK");
    const auto memory = sim.Memory();
    ASSERT_EQ(memory.size(), static_cast<std::size_t>(kImageSize));
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), link.image.bytes().begin()));

    link.loop.MenuVerify();
    link.RunTransfer();
    EXPECT_EQ(link.loop.view().statusText, link.messages[MsgVerifying] + " OK");
}

TEST(E2eLink, ReadBringsTheUnitMemoryIntoTheImageAndVerifiesIt) {
    ParameterImage stored;
    FillImage(stored, 2);
    // The simulator loads its memory at start: prepare the file, then start it on that file.
    SimProcess first({"--silent"});
    first.WriteMemory(stored);
    SimProcess sim({"--no-pacing", "--memory", first.memoryFile().string()});
    LinkUnderTest link(sim.link(), 55ms);
    link.loop.MenuRead();
    link.RunTransfer();
    EXPECT_EQ(link.loop.view().statusText, link.messages[MsgVerifying] + " OK");
    EXPECT_EQ(link.image, stored);
}

TEST(E2eLink, OtherProtocolVersionStopsBeforeAnyPage) {
    SimProcess sim({"--version", "73"});
    LinkUnderTest link(sim.link(), 55ms);
    link.loop.MenuProgram();
    link.RunTransfer();
    ASSERT_EQ(link.boxes.size(), 1u);
    EXPECT_EQ(link.boxes[0], "Unmatched version of PC and Ignition programs!  PC-74, IGN-73");
    EXPECT_EQ(link.loop.linkMode, LinkMonitoring);
    for (std::uint8_t c : link.line.commands)
        EXPECT_TRUE(c == 0x00 || c == kCmdMonitor) << "command " << int(c);
}

TEST(E2eLink, BadEchoOfPageFiveEndsInProgramError) {
    SimProcess sim({"--bad-echo", "5", "--no-pacing"});
    LinkUnderTest link(sim.link(), 55ms);
    FillImage(link.image, 3);
    link.loop.MenuProgram();
    link.RunTransfer();
    EXPECT_EQ(link.loop.view().statusText, link.messages[MsgProgramError]);
    EXPECT_EQ(std::count(link.line.commands.begin(), link.line.commands.end(), 0x05), 5);
}

// On a noisy line a transfer may fail, but it must never report OK for data the unit lacks.
TEST(E2eLink, NoisyLineNeverReportsOkForWrongData) {
    for (int seed = 1; seed <= 3; ++seed) {
        SimProcess sim(
            {"--drop", "0.2", "--corrupt", "0.1", "--seed", std::to_string(seed), "--no-pacing"});
        LinkUnderTest link(sim.link(), 30ms);
        FillImage(link.image, 10 + seed);
        link.loop.MenuProgram();
        link.RunTransfer();
        const std::string& s = link.loop.view().statusText;
        const bool ok = link.EndsOk();
        EXPECT_TRUE(ok || s == link.messages[MsgProgramError] || s == link.messages[MsgVerifyError])
            << s;
        if (ok) {
            const auto memory = sim.Memory();
            ASSERT_EQ(memory.size(), static_cast<std::size_t>(kImageSize));
            EXPECT_TRUE(std::equal(memory.begin(), memory.end(), link.image.bytes().begin()))
                << "seed " << seed;
        }
    }
}

}  // namespace
}  // namespace kestrin::e2e

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The substitute unit's answers to each kind of request, and its injected line faults.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "sim/unit/SimUnit.h"
#include "test_sim_support.h"

namespace kestrin {
namespace {

using simtest::MakeFrame;
using simtest::PageFrame;
using simtest::Word;

TEST(SimUnitIdentification, BlockCarriesTypeDateTimeAndVersion) {
    SimUnit unit;
    for (std::uint8_t command : {std::uint8_t{0x00}, std::uint8_t{0x40}}) {
        SCOPED_TRACE(command);
        const auto answer = unit.Answer(MakeFrame(command));
        ASSERT_TRUE(answer);
        EXPECT_EQ((*answer)[0], command ^ 0x80);
        EXPECT_TRUE(CheckOk(*answer));
        const std::uint8_t* id = answer->data() + 1;
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isalnum(id[i])) << i;
        EXPECT_LE(id[3], 99);
        EXPECT_GE(id[4], 1);
        EXPECT_LE(id[4], 31);
        // One of the twelve month codes the program turns into " 1".."12".
        const std::set<int> months{25, 13, 32, 35, 39, 45, 43, 29, 40, 38, 51, 12};
        EXPECT_TRUE(months.count(id[5])) << int{id[5]};
        EXPECT_LE(id[7], 23);
        EXPECT_LE(id[8], 59);
        EXPECT_EQ(id[10], 74);
        EXPECT_EQ(id[16], 0) << "no name unless one is given";
    }
}

TEST(SimUnitIdentification, NameAndVersionOptions) {
    SimOptions options;
    options.protocolVersion = 73;
    options.name = "Workshop bench unit with a long name";
    SimUnit unit(options);
    const auto id = unit.Identification();
    EXPECT_EQ(id[10], 73);
    EXPECT_EQ(std::string(id.begin() + 16, id.begin() + 46), options.name.substr(0, 30));
    EXPECT_EQ(id[46], 0) << "the name keeps to its 30 bytes";
    EXPECT_EQ(unit.MonitorFrame()[150], 73);
}

TEST(SimUnitPages, ProgrammedPagesAreEchoedStoredAndReturned) {
    SimUnit unit;
    for (int page = 1; page <= kPageCount; ++page) {
        SCOPED_TRACE(page);
        const Frame sent =
            PageFrame(static_cast<std::uint8_t>(page), static_cast<std::uint8_t>(page));
        const auto echo = unit.Answer(sent);
        ASSERT_TRUE(echo);
        EXPECT_EQ((*echo)[0], 0x80 + page);
        EXPECT_TRUE(CheckOk(*echo));
        EXPECT_TRUE(std::equal(sent.begin() + 1, sent.begin() + 151, echo->begin() + 1));
        EXPECT_TRUE(
            std::equal(sent.begin() + 1, sent.begin() + 151, unit.memory().page(page).begin()));
    }
    for (int page = 1; page <= kPageCount; ++page) {
        SCOPED_TRACE(page);
        // Verification sends the program's copy: the unit answers with its own, not the data.
        const auto copy = unit.Answer(PageFrame(static_cast<std::uint8_t>(0x40 + page), 0));
        ASSERT_TRUE(copy);
        EXPECT_EQ((*copy)[0], 0xC0 + page);
        const Frame sent =
            PageFrame(static_cast<std::uint8_t>(page), static_cast<std::uint8_t>(page));
        EXPECT_TRUE(std::equal(sent.begin() + 1, sent.begin() + 151, copy->begin() + 1));
    }
}

TEST(SimUnitPages, PageZeroProgrammingStoresNothing) {
    SimUnit unit;
    unit.Answer(PageFrame(0x00, 9));
    EXPECT_EQ(unit.memory(), ParameterImage());
    EXPECT_EQ(unit.savingCountdown(), 0);
}

TEST(SimUnitPages, BadEchoPageDiffersButIsStoredAsSent) {
    SimOptions options;
    options.badEchoPage = 5;
    SimUnit unit(options);
    for (int page : {4, 5, 6}) {
        SCOPED_TRACE(page);
        const Frame sent = PageFrame(static_cast<std::uint8_t>(page), 3);
        const auto echo = unit.Answer(sent);
        ASSERT_TRUE(echo);
        EXPECT_TRUE(CheckOk(*echo));
        EXPECT_EQ((*echo)[0], 0x80 + page);
        EXPECT_EQ(std::equal(sent.begin() + 1, sent.begin() + 151, echo->begin() + 1), page != 5);
        EXPECT_TRUE(
            std::equal(sent.begin() + 1, sent.begin() + 151, unit.memory().page(page).begin()));
    }
}

TEST(SimUnitRequests, IgnoresWhatItDoesNotKnow) {
    struct Case {
        const char* what;
        Frame frame;
        UnitOutcome outcome;
    };
    Frame badCheck = MakeFrame(kCmdMonitor);
    badCheck[151] ^= 1;
    const std::vector<Case> cases{
        {"page 20", MakeFrame(0x14), UnitOutcome::Unknown},
        {"request page 20", MakeFrame(0x54), UnitOutcome::Unknown},
        {"monitor with request bit", MakeFrame(0x70), UnitOutcome::Unknown},
        {"an answer byte", MakeFrame(0x80), UnitOutcome::Unknown},
        {"its own monitor frame", MakeFrame(0xB0), UnitOutcome::Unknown},
        {"wrong check byte", badCheck, UnitOutcome::BadRequest},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimUnit unit;
        EXPECT_FALSE(unit.Answer(c.frame));
        EXPECT_EQ(unit.lastOutcome(), c.outcome);
    }
    SimUnit unit;
    const Frame monitor = MakeFrame(kCmdMonitor);
    EXPECT_FALSE(unit.Answer(std::span<const std::uint8_t>(monitor).first(151)));
}

TEST(SimUnitSaving, CountdownAfterProgrammingRunsDownToZero) {
    SimUnit unit;
    EXPECT_EQ(Word(unit.MonitorFrame(), 148), 0);
    EXPECT_EQ(Word(unit.MonitorFrame(), 76), 0);
    for (int page = 1; page <= kPageCount; ++page) {
        unit.Answer(PageFrame(static_cast<std::uint8_t>(page), 1));
        unit.Advance(20);
    }
    int previous = Word(unit.MonitorFrame(), 148);
    EXPECT_GT(previous, 0);
    EXPECT_LE(previous, kSavingCountdownStart);
    EXPECT_EQ(Word(unit.MonitorFrame(), 76), 1) << "one programming run, counted once";
    for (int t = 0; t < 100 && previous > 0; ++t) {
        unit.Advance(100);
        const int now = Word(unit.MonitorFrame(), 148);
        EXPECT_LT(now, previous);
        previous = now;
    }
    EXPECT_EQ(previous, 0);
    unit.Answer(PageFrame(3, 1));
    EXPECT_EQ(Word(unit.MonitorFrame(), 76), 2);
}

TEST(SimUnitSaving, StartIsHeldToTheLargestCountdown) {
    SimOptions options;
    options.savingStart = 9000;
    SimUnit unit(options);
    unit.Answer(PageFrame(1, 1));
    EXPECT_EQ(unit.savingCountdown(), kSavingCountdownStart);
}

TEST(SimUnitOutputTests, EachRequestedBitIsNotedOnce) {
    SimUnit unit;
    unit.LoadMemory(simtest::PlausibleMemory().bytes());
    const auto answer = unit.Answer(MakeFrame(kCmdMonitor, {{20, 0x41}, {22, 0x04}, {23, 0x01}}));
    ASSERT_TRUE(answer);
    std::vector<std::string> names;
    for (const auto& note : unit.outputTests()) names.emplace_back(note.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Injector 1A", "Injector 3B", "Cooling",
                                               "Intake servo plus"}));
    unit.Advance(100);
    EXPECT_TRUE(unit.MonitorFrame()[3] & 0x10) << "the fan runs while it is tested";
    unit.Answer(MakeFrame(kCmdMonitor));
    EXPECT_EQ(unit.outputTests().size(), 4u);
    unit.Advance(2000);
    EXPECT_FALSE(unit.MonitorFrame()[3] & 0x10);
}

TEST(SimUnitOutputTests, EveryTestButtonHasAName) {
    const std::uint8_t used[4] = {0xFF, 0x0F, 0x1F, 0x0F};
    for (int b = 0; b < 4; ++b)
        for (int i = 0; i < 8; ++i) {
            const auto bit = static_cast<std::uint8_t>(1u << i);
            EXPECT_EQ(!OutputTestName(b, bit).empty(), (used[b] & bit) != 0) << b << " " << i;
        }
}

std::vector<UnitOutcome> Outcomes(SimOptions options, int count) {
    SimUnit unit(options);
    std::vector<UnitOutcome> outcomes;
    for (int i = 0; i < count; ++i) {
        const auto answer = unit.Answer(MakeFrame(kCmdMonitor));
        outcomes.push_back(unit.lastOutcome());
        if (unit.lastOutcome() == UnitOutcome::Dropped) {
            EXPECT_FALSE(answer);
        }
        if (unit.lastOutcome() == UnitOutcome::Corrupted) {
            EXPECT_TRUE(answer);
            EXPECT_EQ((*answer)[0], 0xB0);
            EXPECT_FALSE(CheckOk(*answer));
        }
    }
    return outcomes;
}

TEST(SimUnitLineFaults, DropAndCorruptRepeatForTheSameSeed) {
    SimOptions options;
    options.dropRate = 0.3;
    options.corruptRate = 0.2;
    options.seed = 42;
    const auto first = Outcomes(options, 400);
    EXPECT_EQ(first, Outcomes(options, 400));
    const auto count = [&](UnitOutcome o) { return std::count(first.begin(), first.end(), o); };
    EXPECT_GT(count(UnitOutcome::Dropped), 80);
    EXPECT_LT(count(UnitOutcome::Dropped), 160);
    EXPECT_GT(count(UnitOutcome::Corrupted), 30);
    EXPECT_LT(count(UnitOutcome::Corrupted), 100);
    options.seed = 43;
    EXPECT_NE(first, Outcomes(options, 400));

    SimOptions clean;
    const auto all = Outcomes(clean, 100);
    EXPECT_EQ(std::count(all.begin(), all.end(), UnitOutcome::Answered), 100);
}

TEST(SimUnitLineFaults, SilentUnitNeitherAnswersNorStores) {
    SimOptions options;
    options.silent = true;
    SimUnit unit(options);
    EXPECT_FALSE(unit.Answer(MakeFrame(kCmdMonitor)));
    EXPECT_FALSE(unit.Answer(PageFrame(2, 5)));
    EXPECT_EQ(unit.lastOutcome(), UnitOutcome::Silent);
    EXPECT_EQ(unit.memory(), ParameterImage());
}

TEST(SimUnitMemory, LoadTakesExactlyOneImage) {
    SimUnit unit;
    const std::vector<std::uint8_t> shortFile(100, 7);
    EXPECT_FALSE(unit.LoadMemory(shortFile));
    EXPECT_EQ(unit.memory(), ParameterImage());
    const auto memory = simtest::PlausibleMemory();
    const auto before = unit.memoryRevision();
    EXPECT_TRUE(unit.LoadMemory(memory.bytes()));
    EXPECT_EQ(unit.memory(), memory);
    EXPECT_GT(unit.memoryRevision(), before);
}

TEST(SimUnitLog, DescribesRequestsAndAnswers) {
    SimUnit unit;
    EXPECT_EQ(DescribeRequest(MakeFrame(0x05)), "0x05 program page 5");
    EXPECT_EQ(DescribeRequest(MakeFrame(0x40)), "0x40 request identification");
    EXPECT_EQ(DescribeRequest(MakeFrame(kCmdMonitor, {{20, 0x41}})),
              "0x30 monitor request, output tests 41 00 00 00");
    const auto echo = unit.Answer(MakeFrame(0x05));
    EXPECT_EQ(DescribeAnswer(*echo), "0x85 stored page 5");
    Frame damaged = *echo;
    damaged[151] ^= 1;
    EXPECT_EQ(DescribeAnswer(damaged), "0x85 stored page 5 (bad check byte)");
    EXPECT_NE(DescribeAnswer(unit.MonitorFrame()).find("version 74"), std::string::npos);
}

}  // namespace
}  // namespace kestrin

// The live values of the substitute unit's monitor frames and its tuning of the maps.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "sim/unit/SimUnit.h"
#include "test_sim_support.h"

namespace kestrin {
namespace {

using simtest::MakeFrame;
using simtest::Word;

struct Ranges {
    int rpmMin = 1 << 30, rpmMax = 0, gearMax = 0, speedMax = 0, tpsMax = 0;
    int afMin = 255, afMax = 0;
    int firstCoolant = -1, lastCoolant = -1;
    bool sawShareZero = false, sawShareFull = false;
};

Ranges Ride(SimUnit& unit, int seconds) {
    Ranges r;
    for (int t = 0; t < seconds * 10; ++t) {
        unit.Advance(100);
        const auto f = unit.Answer(MakeFrame(kCmdMonitor));
        EXPECT_TRUE(f && CheckOk(*f));
        if (!f) continue;
        EXPECT_EQ((*f)[0], 0xB0);
        EXPECT_EQ((*f)[150], 74);
        if (t < 30) continue;  // engine starting
        const int rpm = Word(*f, 48);
        r.rpmMin = std::min(r.rpmMin, rpm);
        r.rpmMax = std::max(r.rpmMax, rpm);
        r.gearMax = std::max<int>(r.gearMax, (*f)[25]);
        r.speedMax = std::max(r.speedMax, Word(*f, 116));
        r.tpsMax = std::max(r.tpsMax, Word(*f, 138));
        if (t >= 150) {  // lambda sensor warm
            r.afMin = std::min<int>(r.afMin, (*f)[29]);
            r.afMax = std::max<int>(r.afMax, (*f)[29]);
        }
        if (r.firstCoolant < 0) r.firstCoolant = (*f)[23] - 100;
        r.lastCoolant = (*f)[23] - 100;
        r.sawShareZero = r.sawShareZero || (*f)[26] == 0;
        r.sawShareFull = r.sawShareFull || (*f)[26] == 100;
        EXPECT_TRUE((*f)[3] & 0x20) << "crank pick-up runs at " << t;
    }
    return r;
}

TEST(SimEngine, RideMovesThroughPlausibleValues) {
    SimUnit unit;
    unit.LoadMemory(simtest::PlausibleMemory().bytes());
    const Ranges r = Ride(unit, 180);
    EXPECT_GE(r.rpmMin, 1000);
    EXPECT_LE(r.rpmMin, 1700) << "idles";
    EXPECT_GE(r.rpmMax, 7000);
    EXPECT_LE(r.rpmMax, 14000) << "kept below the limiter";
    EXPECT_GE(r.gearMax, 3);
    EXPECT_GE(r.speedMax, 60);
    EXPECT_GE(r.tpsMax, 900);
    EXPECT_LE(r.tpsMax, 1000);
    EXPECT_GE(r.afMin, 120);
    EXPECT_LE(r.afMax, 180);
    EXPECT_LE(r.firstCoolant, 25);
    EXPECT_GE(r.lastCoolant, 60) << "warms up";
    EXPECT_TRUE(r.sawShareZero && r.sawShareFull) << "idles on the pressure map, rides on throttle";
}

TEST(SimEngine, UnprogrammedUnitStillSendsValidFrames) {
    SimUnit unit;
    const Ranges r = Ride(unit, 60);
    EXPECT_GT(r.rpmMax, r.rpmMin);
    EXPECT_EQ(r.afMax, 200) << "no fuel in empty maps reads lean";
}

TEST(SimEngine, StandingEngineAndStartingEngine) {
    SimUnit unit;
    unit.LoadMemory(simtest::PlausibleMemory().bytes());
    Frame f = unit.MonitorFrame();
    EXPECT_EQ(Word(f, 48), 0);
    EXPECT_FALSE(f[3] & 0x20) << "no pick-up signal before cranking";
    EXPECT_EQ(f[29], 0) << "cold lambda sensor";
    unit.Advance(5000);
    f = unit.MonitorFrame();
    EXPECT_GT(Word(f, 48), 1000);
    EXPECT_NEAR(f[14], 25, 3) << "idle on the 2.5 ms pressure map";
    EXPECT_GE(Word(f, 64), 13000);
    EXPECT_EQ(f[1] & 0x55, 0x55) << "active-low inputs read open";
}

TEST(SimEngine, CylinderCountLimitsTheValuesSent) {
    auto memory = simtest::PlausibleMemory();
    memory.setByte(256, 2);
    SimUnit unit;
    unit.LoadMemory(memory.bytes());
    unit.Advance(5000);
    const Frame f = unit.MonitorFrame();
    EXPECT_GT(f[10], 0);
    EXPECT_GT(f[11], 0);
    EXPECT_EQ(f[12], 0);
    EXPECT_EQ(f[13], 0);
    EXPECT_GT(f[15], 0);
    EXPECT_EQ(f[16], 0);
    EXPECT_EQ(f[20], 0);
}

// Holds the engine at one point, then tunes toward a target `offset` away from the A/F the
// engine runs at; returns the tuned cell's words in all five maps before and after.
struct TuneRun {
    int map = -1;
    int cell = -1;
    int target = 0;
    std::array<int, kInjectionMapCount> before{}, after{};
    int lastState = -1, lastAf = 0;
    std::set<int> states;
};

TuneRun Tune(std::uint8_t jetMode, int throttle, int offset, int seconds) {
    const auto memory = simtest::PlausibleMemory(jetMode);
    SimUnit unit;
    unit.LoadMemory(memory.bytes());
    unit.engine().HoldThrottle(throttle);
    unit.Advance(20000);  // warm lambda sensor, steady point
    TuneRun run;
    run.target = (*unit.Answer(MakeFrame(kCmdMonitor)))[29] + offset;
    const Frame request = simtest::TuningRequest(1, static_cast<std::uint8_t>(run.target));
    for (int t = 0; t < seconds * 3; ++t) {
        const auto f = unit.Answer(request);
        if (t > 0) run.states.insert((*f)[28]);
        run.lastState = (*f)[28];
        run.lastAf = (*f)[29];
        unit.Advance(330);
        if (t == 0) {
            run.map = unit.engine().state().tunedMap;
            run.cell = unit.engine().state().tunedCell;
            if (run.map < 0) return run;
        }
    }
    for (int m = 0; m < kInjectionMapCount; ++m) {
        const int word = kInjectionMaps[static_cast<std::size_t>(m)].firstWord + run.cell;
        run.before[static_cast<std::size_t>(m)] = memory.word(word);
        run.after[static_cast<std::size_t>(m)] = unit.memory().word(word);
    }
    return run;
}

TEST(SimTuning, CorrectsTheRunningCellOfTheSelectedMapTowardTheTarget) {
    struct Case {
        const char* what;
        std::uint8_t jetMode;
        int throttle;
        int offset;              // target minus the A/F before tuning
        int map;                 // expected tuned map
        std::vector<int> moved;  // maps whose cell changes
    };
    const std::vector<Case> cases{
        {"throttle map of channel 1, richer", 0, 300, -10, 0, {0}},
        {"pressure map at idle, leaner", 0, 0, 10, static_cast<int>(InjectionMap::Iap), {4}},
        {"coupled injectors share the correction", 1, 300, -10, 0, {0, 1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TuneRun run = Tune(c.jetMode, c.throttle, c.offset, 30);
        ASSERT_EQ(run.map, c.map);
        EXPECT_TRUE(run.states.count(c.offset < 0 ? TuneAdding : TuneDecrease));
        EXPECT_EQ(run.lastState, TuneOk);
        EXPECT_LE(std::abs(run.lastAf - run.target), 3 + 1);
        for (int m = 0; m < kInjectionMapCount; ++m) {
            const auto i = static_cast<std::size_t>(m);
            const bool shouldMove = std::count(c.moved.begin(), c.moved.end(), m) > 0;
            if (!shouldMove) {
                EXPECT_EQ(run.after[i], run.before[i]) << m;
            } else if (c.offset < 0) {
                EXPECT_GT(run.after[i], run.before[i]) << m;
            } else {
                EXPECT_LT(run.after[i], run.before[i]) << m;
            }
        }
    }
}

TEST(SimTuning, TunedPageIsWhatTheUnitReturns) {
    SimUnit unit;
    unit.LoadMemory(simtest::PlausibleMemory().bytes());
    unit.engine().HoldThrottle(300);
    unit.Advance(20000);
    const auto revision = unit.memoryRevision();
    for (int t = 0; t < 60; ++t) {
        unit.Answer(simtest::TuningRequest());
        unit.Advance(330);
    }
    EXPECT_GT(unit.memoryRevision(), revision);
    for (int page : {6, 7}) {
        const auto copy = unit.Answer(MakeFrame(static_cast<std::uint8_t>(0x40 + page)));
        ASSERT_TRUE(copy);
        EXPECT_TRUE(
            std::equal(copy->begin() + 1, copy->begin() + 151, unit.memory().page(page).begin()));
    }
    EXPECT_NE(unit.memory(), simtest::PlausibleMemory());
}

TEST(SimTuning, ReportsWhyItDoesNotTune) {
    struct Case {
        const char* what;
        int throttle;
        int afterMs;
        Frame request;
        int state;
    };
    const std::vector<Case> cases{
        {"switch off", 300, 20000, MakeFrame(kCmdMonitor), TuneOff},
        {"cold lambda sensor", 300, 4000, simtest::TuningRequest(), TuneLambdaError},
        {"between the two maps", 35, 20000, simtest::TuningRequest(), TuneBlendedMaps},
        // 25 % lies 5 % from the nearest map points, outside the 3 % tolerance.
        {"off a map point", 250, 20000, simtest::TuningRequest(0), TuneNotInPoint},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SimUnit unit;
        unit.LoadMemory(simtest::PlausibleMemory().bytes());
        unit.engine().HoldThrottle(c.throttle);
        unit.Advance(c.afterMs);
        unit.Answer(c.request);
        unit.Advance(50);
        const auto f = unit.Answer(c.request);
        EXPECT_EQ((*f)[28], c.state);
        EXPECT_EQ(unit.memory(), simtest::PlausibleMemory());
    }
}

}  // namespace
}  // namespace kestrin

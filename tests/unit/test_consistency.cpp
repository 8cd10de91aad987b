#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "model/Consistency.h"
#include "model/Defaults.h"

namespace kestrin {
namespace {

constexpr std::array kRpmAxes = {465, 480, 495, 510, 525, 540, 555, 405, 435, 585, 570};

ConsistencyWarnings Pass(ParameterImage& image, ConsistencyFlags flags = {}) {
    ProgramIndexes settings;
    return ConsistencyPass(image, flags, settings);
}

std::vector<int> Bytes(const ParameterImage& image, int first, int n) {
    std::vector<int> v;
    for (int i = 0; i < n; ++i) v.push_back(image.byte(first + i));
    return v;
}
std::vector<int> Words(const ParameterImage& image, int first, int n) {
    std::vector<int> v;
    for (int i = 0; i < n; ++i) v.push_back(image.word(first + i));
    return v;
}
std::vector<int> Sequence(int first, int step, int n) {
    std::vector<int> v;
    for (int i = 0; i < n; ++i) v.push_back(first + step * i);
    return v;
}

TEST(ConsistencyPass, RpmAxesBecomeStrictlyRisingWithin300To25000) {
    struct Case {
        const char* what;
        std::function<int(int)> point;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"all 0", [](int) { return 0; }, Sequence(3, 1, 15)},
        {"all 255", [](int) { return 255; }, Sequence(236, 1, 15)},
        {"falling from 10", [](int i) { return std::max(10 - i, 0); }, Sequence(10, 1, 15)},
        {"already rising", [](int i) { return 20 + 10 * i; }, Sequence(20, 10, 15)},
    };
    for (const auto& c : cases)
        for (int axis : kRpmAxes) {
            ParameterImage image;
            for (int i = 0; i < 15; ++i)
                image.setByte(axis + i, static_cast<std::uint8_t>(c.point(i)));
            Pass(image);
            EXPECT_EQ(Bytes(image, axis, 15), c.expected) << c.what << ", axis at byte " << axis;
        }
}

TEST(ConsistencyPass, TemperatureCurvesFallByAtLeastOnePerPoint) {
    struct Case {
        const char* what;
        std::function<int(int)> point;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"all 0", [](int) { return 0; }, Sequence(8, -1, 9)},
        {"rising", [](int i) { return 100 + 100 * i; }, Sequence(100, -1, 9)},
        {"above 5000", [](int) { return 60000; }, Sequence(5000, -1, 9)},
        {"falling stays", [](int i) { return 4000 - 400 * i; }, Sequence(4000, -400, 9)},
    };
    for (const auto& c : cases)
        for (int curve : {97, 106}) {
            ParameterImage image;
            for (int i = 0; i < 9; ++i)
                image.setWord(curve + i, static_cast<std::uint16_t>(c.point(i)));
            Pass(image);
            EXPECT_EQ(Words(image, curve, 9), c.expected) << c.what << ", curve at word " << curve;
        }
}

TEST(ConsistencyPass, LobeWidthLimitsTheAdvanceMapOnlyWhenEnabled) {
    for (bool enabled : {false, true}) {
        ParameterImage image;
        image.setByte(45, 10);
        image.setByte(46, 20);
        for (int i = 0; i < kMapCells; ++i)
            image.setByte(600 + i, static_cast<std::uint8_t>(i % 70));
        Pass(image, {.lobeWidthEnabled = enabled});
        for (int i = 0; i < kMapCells; ++i)
            ASSERT_EQ(image.byte(600 + i), std::min(i % 70, enabled ? 30 : 60))
                << "cell " << i << (enabled ? " with" : " without") << " the lobe limit";
    }
}

TEST(ConsistencyPass, TuningChannelAtMostCylindersOrOneForCoupledInjectors) {
    struct Case {
        int cylinders, mode, channel, expected;
    };
    const Case cases[] = {
        {4, 0, 7, 4}, {4, 0, 3, 3}, {2, 0, 3, 2}, {4, 1, 3, 1}, {4, 2, 4, 1}, {4, 1, 1, 1},
    };
    for (const auto& c : cases) {
        ParameterImage image;
        image.setByte(256, static_cast<std::uint8_t>(c.cylinders));
        image.setByte(47, static_cast<std::uint8_t>(c.mode));
        image.setByte(350, static_cast<std::uint8_t>(c.channel));
        BikeSelection bike;
        Pass(image, ConsistencyFlagsOf(image, bike));
        EXPECT_EQ(image.byte(350), c.expected)
            << c.cylinders << " cylinders, mode " << c.mode << ", channel " << c.channel;
    }
}

// Single fields and the pairs that must stay in order.
TEST(ConsistencyPass, FieldLimitsAndOrderedPairs) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> set;       // byte, value
        std::vector<std::pair<int, int>> expected;  // byte, value after the pass
    };
    const Case cases[] = {
        {"TPS points", {{33, 255}, {34, 251}}, {{33, 250}, {34, 250}}},
        {"start injection", {{92, 51}}, {{92, 50}}},
        {"after-start times rise",
         {{67, 9}, {68, 9}, {69, 0}, {70, 255}},
         {{67, 9}, {68, 10}, {69, 11}, {70, 250}}},
        {"after-start corrections", {{71, 255}, {74, 251}}, {{71, 250}, {74, 250}}},
        {"shift light second value",
         {{108, 120}, {114, 100}, {113, 90}, {119, 95}},
         {{114, 120}, {119, 95}}},
        {"gas 1 and 2", {{99, 150}, {100, 40}}, {{99, 100}, {100, 100}}},
        {"gas build-up", {{101, 0}, {102, 255}}, {{101, 1}, {102, 200}}},
        {"gas build-up top", {{101, 255}}, {{101, 200}}},
        {"retards", {{103, 30}, {104, 5}}, {{103, 25}, {104, 25}}},
        {"retard times", {{105, 0}, {106, 201}}, {{105, 1}, {106, 200}}},
        {"retard build-up top", {{105, 220}}, {{105, 200}}},
        {"N2O corrections", {{158, 150}, {159, 120}}, {{158, 150}, {159, 150}}},
        {"base advance", {{45, 41}}, {{45, 40}}},
        {"IAP switch-over TPS", {{48, 200}, {49, 50}}, {{48, 101}, {49, 101}}},
        {"IAP switch-over RPM", {{50, 40}, {51, 30}}, {{50, 40}, {51, 40}}},
        {"servo excitation", {{77, 8}, {78, 9}}, {{78, 8}}},
        {"idle step pulse", {{294, 10}, {295, 6}}, {{294, 6}}},
        {"lambda A/F rises",
         {{353, 0}, {354, 0}, {357, 255}},
         {{353, 100}, {354, 101}, {357, 200}}},
        {"tacho A/F", {{368, 250}, {369, 0}}, {{368, 199}, {369, 200}}},
        {"tacho RPM", {{370, 0}, {371, 255}}, {{370, 3}, {371, 250}}},
        {"lambda bar", {{372, 0}, {375, 255}}, {{372, 100}, {373, 101}, {375, 200}}},
        {"JET_B cell", {{1950, 101}, {2099, 255}}, {{1950, 100}, {2099, 100}}},
        {"ADVANCE cell", {{600, 61}, {749, 255}}, {{600, 60}, {749, 60}}},
    };
    for (const auto& c : cases) {
        ParameterImage image;
        for (auto [pos, v] : c.set) image.setByte(pos, static_cast<std::uint8_t>(v));
        Pass(image);
        for (auto [pos, v] : c.expected)
            EXPECT_EQ(image.byte(pos), v) << c.what << ", byte " << pos;
    }
}

TEST(ConsistencyPass, FixedIdleBikeKeepsItsLongStepPulse) {
    ParameterImage image;
    image.setByte(294, 10);
    image.setByte(295, 2);
    Pass(image, {.fixedIdleBike = true});
    EXPECT_EQ(image.byte(294), 10);
}

TEST(ConsistencyPass, InjectionWordsAndIapLoadAxis) {
    ParameterImage image;
    for (const auto& map : kInjectionMaps) {
        image.setWord(map.firstWord, 30001);
        image.setWord(map.firstWord + 149, 65535);
        image.setWord(map.firstWord + 75, 30000);
    }
    for (int r = 0; r < 10; ++r) image.setWord(192 + r, static_cast<std::uint16_t>(2000));
    Pass(image);
    for (const auto& map : kInjectionMaps) {
        EXPECT_EQ(image.word(map.firstWord), 30000) << map.section;
        EXPECT_EQ(image.word(map.firstWord + 149), 30000) << map.section;
        EXPECT_EQ(image.word(map.firstWord + 75), 30000) << map.section;
    }
    EXPECT_EQ(Words(image, 192, 10), Sequence(991, 1, 10));
}

TEST(ConsistencyPass, LambdaVoltagesFollowTheSensorType) {
    for (int type : {0, 1}) {
        ParameterImage image;
        image.setByte(352, static_cast<std::uint8_t>(type));
        Pass(image);
        EXPECT_EQ(Words(image, 179, 5), type == 1 ? Sequence(0, 1, 5) : Sequence(4, -1, 5))
            << "sensor type " << type;
    }
}

TEST(ConsistencyPass, ResetsSettingIndexesOutsideTheirLists) {
    struct Case {
        ProgramIndexes in, out;
    };
    const Case cases[] = {
        {{3, 20, 19}, {3, 20, 19}},
        {{4, 21, 20}, {0, 0, 0}},
        {{255, 255, 255}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        ParameterImage image;
        ProgramIndexes s = c.in;
        ConsistencyPass(image, {}, s);
        EXPECT_EQ(s.languageIndex, c.out.languageIndex);
        EXPECT_EQ(s.portIndex, c.out.portIndex);
        EXPECT_EQ(s.scanPortIndex, c.out.scanPortIndex);
    }
}

TEST(ConsistencyPass, WarnsOfEqualSensorVoltagesWithoutChangingThem) {
    ParameterImage image;
    image.setWord(4, 2000);
    image.setWord(6, 2000);
    image.setWord(8, 1000);
    image.setWord(10, 4000);
    const ConsistencyWarnings w = Pass(image);
    EXPECT_TRUE(w.apsVoltagesEqual);
    EXPECT_FALSE(w.iapsVoltagesEqual);
    EXPECT_EQ(image.word(4), 2000);
    EXPECT_EQ(image.word(6), 2000);
}

TEST(Interpolate, TruncatesTowardTheSmallerEndAndNeverDividesByZero) {
    struct Case {
        std::uint16_t x, x0, x1, y0, y1, expected;
    };
    const Case cases[] = {
        {1500, 1000, 2000, 100, 201, 150},  {1500, 1000, 2000, 201, 100, 150},
        {1500, 1000, 2000, 100, 100, 100},  {500, 1000, 2000, 100, 201, 100},
        {2500, 1000, 2000, 100, 201, 201},  {1000, 1000, 1000, 7, 9, 7},
        {1001, 1000, 1000, 7, 9, 9},        {1500, 2000, 1000, 7, 9, 7},
        {2500, 2000, 1000, 7, 9, 9},
        {65534, 0, 65535, 0, 65535, 65534},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Interpolate(c.x, c.x0, c.x1, c.y0, c.y1), c.expected)
            << "x " << c.x << " in " << c.x0 << ".." << c.x1 << ", y " << c.y0 << ".." << c.y1;
}

// A small table whose values show where each base value came from: row r, point k = 100 + 10 r + k
// at points 1000, 2000, 3000.
struct SmallTables {
    std::array<std::uint16_t, 3> points{1000, 2000, 3000};
    std::array<std::uint16_t, 30> values{};
    BikeTables tables;

    SmallTables() {
        for (int r = 0; r < 10; ++r)
            for (int k = 0; k < 3; ++k)
                values[static_cast<std::size_t>(3 * r + k)] =
                    static_cast<std::uint16_t>(100 + 10 * r + k);
        tables.outer = tables.inner = tables.iap = {values, points};
    }
};

TEST(ComputeBaseMaps, InterpolatesBetweenPointsAndRowsOfTheTable) {
    SmallTables small;
    ParameterImage image;
    for (const auto& map : kInjectionMaps)
        for (int j = 0; j < 15; ++j)
            image.setByte(map.rpmAxisByte + j, static_cast<std::uint8_t>(5 + 2 * j));
    InjectionMapSet maps;
    ComputeBaseMaps(image, small.tables, maps);
    const BaseMap& jet = maps.baseOf(InjectionMap::Jet1A);
    // Column c takes row c; 500 rpm lies below the first point, 1500 and 2500 rpm halfway between
    // two, 3300 rpm above the last.
    EXPECT_EQ(jet[ParameterImage::CellIndex(0, 0)], 1000);
    EXPECT_EQ(jet[ParameterImage::CellIndex(0, 5)], 1005);
    EXPECT_EQ(jet[ParameterImage::CellIndex(9, 0)], 1900);
    EXPECT_EQ(jet[ParameterImage::CellIndex(4, 10)], 1415);
    EXPECT_EQ(jet[ParameterImage::CellIndex(4, 14)], 1420);
    EXPECT_EQ(jet[ParameterImage::CellIndex(2, 3)], 1201);
    // IAP columns load 30, 50, .. kPa over rows at 10, 20, .. 100 kPa: column 0 is row 2, column 4
    // (75 kPa) halfway between rows 6 and 7.
    const BaseMap& iap = maps.baseOf(InjectionMap::Iap);
    EXPECT_EQ(iap[ParameterImage::CellIndex(0, 0)], 1200);
    EXPECT_EQ(iap[ParameterImage::CellIndex(4, 0)], 1650);
    small.tables.iapWideLoads = true;
    ComputeBaseMaps(image, small.tables, maps);
    EXPECT_EQ(maps.baseOf(InjectionMap::Iap)[ParameterImage::CellIndex(4, 0)], 1400);
}

TEST(ComputeBaseMaps, NeverGivesABaseBelow100) {
    SmallTables small;
    small.values.fill(3);
    ParameterImage image;
    InjectionMapSet maps;
    ComputeBaseMaps(image, small.tables, maps);
    for (const auto& base : maps.base)
        for (auto v : base) ASSERT_EQ(v, 100);

    BikeTables missing;  // no bike chosen yet: nothing to read
    maps.base[0].fill(0);
    ComputeBaseMaps(image, missing, maps);
    for (const auto& base : maps.base)
        for (auto v : base) ASSERT_EQ(v, 100);
}

TEST(StoreInjectionMaps, WritesAllFiveMapsFromPercentAndBase) {
    InjectionMapSet maps;
    for (int m = 0; m < kInjectionMapCount; ++m) {
        maps.percent[static_cast<std::size_t>(m)].fill(static_cast<std::int16_t>(100 + 10 * m));
        maps.base[static_cast<std::size_t>(m)].fill(1000);
    }
    ParameterImage image;
    StoreInjectionMaps(maps, image);
    for (int m = 0; m < kInjectionMapCount; ++m) {
        const int first = kInjectionMaps[static_cast<std::size_t>(m)].firstWord;
        EXPECT_EQ(image.word(first), 1000 + 100 * m);
        EXPECT_EQ(image.word(first + 149), 1000 + 100 * m);
    }
}

}  // namespace
}  // namespace kestrin

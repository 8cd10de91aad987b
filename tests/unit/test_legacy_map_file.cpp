// The reader of the older map-only files: its keys, page filter, version stop and the rebuild of
// the injection maps from percentages.
#include <gtest/gtest.h>

#include <string>

#include "files/LegacyMapFile.h"
#include "files/ParameterFile.h"
#include "model/Consistency.h"
#include "model/Defaults.h"

namespace kestrin {
namespace {

struct Model {
    ParameterImage image;
    InjectionMapSet maps;
    BikeSelection bike;
};

Model Defaults11() {
    Model m;
    m.image.setByte(0, 11);
    EXPECT_TRUE(LoadDefaults(kAllPages, m.image, m.maps, m.bike));
    return m;
}

void ReadLegacy(Model& m, const std::string& text, int filter = kReadAllPages) {
    ReadLegacyMapFile(text, m.image, m.maps, m.bike.tables, filter);
}

std::string Repeat(int value, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += " " + std::to_string(value);
    return s;
}

// "KEY v v v ...\n" with `count` values v0, v0 + step, ...
std::string Section(const std::string& key, int count, int first, int step = 0) {
    std::string s = key;
    for (int i = 0; i < count; ++i) s += " " + std::to_string(first + step * i);
    return s + "\r\n";
}

std::array<std::uint16_t, kMapCells> Words(const ParameterImage& image, InjectionMap m) {
    std::array<std::uint16_t, kMapCells> w{};
    for (int i = 0; i < kMapCells; ++i)
        w[static_cast<std::size_t>(i)] = image.word(InfoOf(m).firstWord + i);
    return w;
}

// The image words of map m as the rebuild gives them from the maps' percent and base values.
void ExpectRebuilt(const Model& m, InjectionMap map) {
    for (int i = 0; i < kMapCells; ++i) {
        const auto cell = static_cast<std::size_t>(i);
        ASSERT_EQ(m.image.word(InfoOf(map).firstWord + i),
                  WordFromPercent(m.maps.percentOf(map)[cell], m.maps.baseOf(map)[cell]))
            << "map " << static_cast<int>(map) << " cell " << i;
    }
}

TEST(LegacyMapFile, PercentMapAloneRebuildsAllFiveMaps) {
    Model m = Defaults11();
    m.image.setByte(41, 90);
    m.image.setWord(192, 1);
    // JET_2A words changed behind the percent maps' back, as a file or the unit leaves them.
    for (int i = 0; i < kMapCells; ++i)
        m.image.setWord(525 + i, static_cast<std::uint16_t>(2 * m.image.word(525 + i)));
    const auto jet2Before = Words(m.image, InjectionMap::Jet2A);
    ReadLegacy(m, "JET_14A" + Repeat(120, 149) + " 300");

    for (InjectionMap map : {InjectionMap::Jet1A, InjectionMap::Jet4A}) {
        EXPECT_EQ(m.maps.percentOf(map)[0], 120);
        EXPECT_EQ(m.maps.percentOf(map)[149], 44);  // 300, low 8 bits
    }
    for (int i = 0; i < kInjectionMapCount; ++i) ExpectRebuilt(m, static_cast<InjectionMap>(i));
    // A map the file does not name keeps its words through the rebuild.
    EXPECT_EQ(Words(m.image, InjectionMap::Jet2A), jet2Before);
    // Reset whatever the file holds.
    for (int n = 41; n <= 44; ++n) EXPECT_EQ(m.image.byte(n), 100);
    for (int n = 52; n <= 55; ++n) EXPECT_EQ(m.image.byte(n), 100);
    EXPECT_EQ(m.image.word(192), 30);
    EXPECT_EQ(m.image.word(201), 100);
}

TEST(LegacyMapFile, CurrentMapSectionAfterPercentsKeepsTheWords) {
    Model m = Defaults11();
    const auto jet4Before = Words(m.image, InjectionMap::Jet4A);
    const auto iapBefore = Words(m.image, InjectionMap::Iap);
    ReadLegacy(m, "JET_14A" + Repeat(150, 150) + "\nJET_1A" + Repeat(1234, 150));
    for (int i = 0; i < kMapCells; ++i) ASSERT_EQ(m.image.word(375 + i), 1234);
    EXPECT_EQ(m.maps.percentOf(InjectionMap::Jet4A)[0], 150);
    EXPECT_EQ(Words(m.image, InjectionMap::Jet4A), jet4Before);
    EXPECT_EQ(Words(m.image, InjectionMap::Iap), iapBefore);
}

TEST(LegacyMapFile, AxesAndAdvanceMapGoToTheirBytes) {
    Model m = Defaults11();
    ReadLegacy(m, Section("RPM_IGN", 15, 1000, 500) + Section("IGN", 150, 1, 0) +
                      Section("RPM_JET_14A", 15, 1100, 500) +
                      Section("RPM_JET_23A", 15, 1200, 500) +
                      Section("RPM_JET_IAP", 15, 1300, 500));
    struct Axis {
        int first;
        int start;
    };
    for (const Axis& a :
         {Axis{465, 10}, Axis{480, 11}, Axis{525, 11}, Axis{495, 12}, Axis{510, 12}, Axis{555, 13}})
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(m.image.byte(a.first + i), a.start + 5 * i) << "axis at " << a.first;
    EXPECT_EQ(m.image.byte(600), 1);
    EXPECT_EQ(m.image.byte(749), 1);
    // The rebuild uses base maps at the axes just read.
    ExpectRebuilt(m, InjectionMap::Iap);
}

TEST(LegacyMapFile, PageFilterAndCoupling) {
    const std::string file = Section("IGN", 150, 7) + Section("RPM_JET_14A", 15, 1100, 500) +
                             Section("JET_14A", 150, 111) + Section("JET1_MISC", 5, 3) +
                             Section("RPM_JET_23A", 15, 1200, 500) + Section("JET_23A", 150, 122) +
                             Section("JET_IAP", 150, 133) + Section("POSITION_A", 31, 1) +
                             Section("LIMITER2", 1, 3000);
    struct Case {
        int filter;
        int coupling;
        bool advance, jet14, jet23, iap, position;
    };
    const Case cases[] = {
        {kReadAllPages, 0, true, true, true, true, true},
        {kPageInj1A, 0, false, true, false, false, false},
        {kPageInj2A, 0, false, false, true, false, false},
        {kPageInj2A, 1, false, false, false, false, false},
        {kPageInjIap, 0, false, false, false, true, false},
        {kPagePoloha, 0, false, false, false, false, true},
        {kPageBike, 0, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        Model m = Defaults11();
        m.image.setByte(47, static_cast<std::uint8_t>(c.coupling));
        m.image.setByte(41, 90);
        const Model before = m;
        ReadLegacy(m, file, c.filter);
        const std::string what = "filter " + std::to_string(c.filter);
        EXPECT_EQ(m.image.byte(600) == 7, c.advance) << what;
        EXPECT_EQ(m.image.byte(480) == 11, c.jet14) << what;
        EXPECT_EQ(m.maps.percentOf(InjectionMap::Jet1A)[0] == 111, c.jet14) << what;
        EXPECT_EQ(m.image.byte(48) == 3, c.jet14) << what;  // JET1_MISC goes with page 2
        EXPECT_EQ(m.image.byte(495) == 12, c.jet23) << what;
        EXPECT_EQ(m.maps.percentOf(InjectionMap::Jet3A)[0] == 122, c.jet23) << what;
        EXPECT_EQ(m.maps.percentOf(InjectionMap::Iap)[0] == 133, c.iap) << what;
        EXPECT_EQ(m.image.byte(56) == 1, c.position) << what;
        // Never a settings section, whatever the filter; the resets happen under every filter.
        EXPECT_EQ(m.image.byte(39), before.image.byte(39)) << what;
        EXPECT_EQ(m.image.byte(41), 100) << what;
        EXPECT_EQ(m.image.word(192), 30) << what;
    }
}

TEST(LegacyMapFile, VersionKeyBelow35StopsAtOnceWithoutRebuild) {
    Model m = Defaults11();
    m.image.setByte(41, 90);
    m.image.setWord(375, 1001);  // no whole percentage of its base: a rebuild would move it
    const Model before = m;
    ReadLegacy(m, "TORVANIC_KEY 30\nJET_14A" + Repeat(150, 150) + "\nIGN" + Repeat(9, 150));
    EXPECT_EQ(m.image.byte(600), before.image.byte(600));
    EXPECT_EQ(Words(m.image, InjectionMap::Jet1A), Words(before.image, InjectionMap::Jet1A));
    EXPECT_EQ(m.image.byte(41), 100);  // the resets come before the key

    // Values read before the key stay; a version of 35 or more is read on.
    m = Defaults11();
    ReadLegacy(m, "IGN" + Repeat(9, 150) + " TORVANIC_KEY 34 RPM_IGN" + Repeat(2000, 15));
    EXPECT_EQ(m.image.byte(600), 9);
    EXPECT_NE(m.image.byte(465), 20);
    m = Defaults11();
    ReadLegacy(m, "TORVANIC_KEY 35 RPM_IGN" + Repeat(2000, 15));
    EXPECT_EQ(m.image.byte(465), 20);
}

TEST(LegacyMapFile, ACurrentFilesMapSectionsAreReadAsTheyStand) {
    Model source = Defaults11();
    for (int i = 0; i < kMapCells; ++i) {
        source.image.setWord(375 + i, static_cast<std::uint16_t>(2000 + i));
        source.image.setByte(1950 + i, static_cast<std::uint8_t>(i % 100));
    }
    source.image.setByte(39, 1);
    const std::string text = WriteParameterFile(source.image, VersionStrings{});
    Model m = Defaults11();
    ReadLegacy(m, text);
    EXPECT_EQ(Words(m.image, InjectionMap::Jet1A), Words(source.image, InjectionMap::Jet1A));
    for (int n = 1950; n < 2100; ++n) ASSERT_EQ(m.image.byte(n), source.image.byte(n));
    EXPECT_NE(m.image.byte(39), 1);
}

}  // namespace
}  // namespace kestrin

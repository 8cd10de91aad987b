#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "model/DefaultTables.h"
#include "model/Defaults.h"

namespace kestrin {
namespace {

// The main form's model state with scripted answers to the commands' questions.
struct Model {
    ParameterImage image;
    InjectionMapSet maps;
    BikeSelection bike;
    ProgramIndexes settings;
    std::deque<bool> answers;
    std::vector<MsgId> questions;
    int valueChanged = 0;
    int refills = 0;
    BikeCommandHooks hooks;

    explicit Model(int code = 11) {
        image.setByte(0, static_cast<std::uint8_t>(code));
        LoadDefaults(kAllPages, image, maps, bike);
        Pass();
        hooks.ask = [this](MsgId id) {
            questions.push_back(id);
            if (answers.empty()) return false;
            const bool yes = answers.front();
            answers.pop_front();
            return yes;
        };
        hooks.valueChanged = [this] {
            ++valueChanged;
            Pass();
        };
        hooks.refillMessages = [this] { ++refills; };
    }
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    void Pass() { ConsistencyPass(image, ConsistencyFlagsOf(image, bike), settings); }
    int Index() const { return CatalogueIndexOfCode(image.byte(0)); }
};

bool IsEngineConstant(int n) {
    return (n >= 2 && n <= 5) || (n >= 191 && n <= 193) || (n >= 230 && n <= 247) ||
           (n >= 252 && n <= 274);
}
bool IsInjectionWordByte(int n) {
    for (const auto& map : kInjectionMaps)
        if (n >= 2 * map.firstWord && n < 2 * (map.firstWord + kMapCells)) return true;
    return false;
}

TEST(BikeDefaults, LimitersFollowTheRpmLimit) {
    struct Case {
        int code, limit, start1, ignition, injection, start2, light1, light2;
    };
    const Case cases[] = {
        {11, 140, 70, 140, 143, 116, 120, 125},
        {43, 113, 56, 113, 116, 93, 93, 98},
    };
    for (const auto& c : cases) {
        Model m(c.code);
        const auto& im = m.image;
        EXPECT_EQ(im.byte(252), c.limit) << c.code;
        EXPECT_EQ(im.byte(28), c.start1) << c.code;
        EXPECT_EQ(im.byte(29), c.ignition) << c.code;
        EXPECT_EQ(im.byte(30), c.injection) << c.code;
        EXPECT_EQ(im.byte(31), c.injection) << c.code;
        EXPECT_EQ(im.byte(39), c.start2) << c.code;
        for (int g = 0; g < 6; ++g) {
            EXPECT_EQ(im.byte(108 + g), c.light1) << c.code << ", gear " << g;
            EXPECT_EQ(im.byte(114 + g), c.light2) << c.code << ", gear " << g;
        }
    }
}

TEST(BikeDefaults, Bike11ReferenceRows) {
    Model m(11);
    EXPECT_EQ(m.maps.baseOf(InjectionMap::Jet1A)[0], 1250);
    EXPECT_EQ(m.image.word(375), 1250);
    const int advance[15] = {16, 30, 38, 35, 39, 40, 40, 40, 39, 39, 39, 37, 34, 34, 34};
    const int position[15] = {370, 320, 240, 240, 220, 215, 215, 225,
                              240, 245, 250, 245, 240, 240, 240};
    const int servo[15] = {100, 105, 110, 115, 120, 122, 125, 127,
                           130, 132, 135, 137, 140, 142, 145};
    for (int j = 0; j < 15; ++j) {
        for (int load = 0; load < kMapRows; ++load) {
            EXPECT_EQ(m.image.byteCell(600, load, j), advance[j]) << load << ", " << j;
            EXPECT_EQ(m.image.byteCell(2400, load, j), servo[j] / 20) << load << ", " << j;
            EXPECT_EQ(m.image.byteCell(2550, load, j), servo[j] / 20) << load << ", " << j;
        }
        EXPECT_EQ(m.image.byte(420 + j), position[j] / 5) << j;
        EXPECT_EQ(m.image.byte(450 + j), position[j] / 5) << j;
    }
}

TEST(BikeDefaults, Bike8AdvanceByLoadAndHondaBShare) {
    Model m8(8);
    const int light[15] = {0, 5, 25, 38, 36, 38, 38, 38, 38, 38, 38, 38, 38, 38, 38};
    const int full[15] = {5, 10, 20, 27, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30};
    for (int j = 0; j < 15; ++j) {
        EXPECT_EQ(m8.image.byteCell(600, 0, j), light[j]) << j;
        EXPECT_EQ(m8.image.byteCell(600, 9, j), full[j]) << j;
    }
    const int share[15] = {0, 0, 0, 0, 9, 16, 24, 35, 47, 53, 59, 54, 50, 50, 50};
    for (int code : {3, 21, 28, 46, 56}) {
        Model m(code);
        for (int j = 0; j < 15; ++j)
            EXPECT_EQ(m.image.byteCell(1950, 9, j), share[j]) << code << ", " << j;
    }
}

TEST(BikeDefaults, AxesOfTheBikesWithTheirOwn) {
    auto axis = [](const ParameterImage& im, int first) {
        std::vector<int> v;
        for (int i = 0; i < 15; ++i) v.push_back(im.byte(first + i));
        return v;
    };
    const std::vector<int> first = {10, 20, 30,  40,  50,  55,  60, 70,
                                    80, 90, 100, 110, 120, 130, 140};
    const std::vector<int> third = {10, 20, 30, 40, 50, 55, 60, 65, 70, 75, 80, 90, 100, 110, 120};
    const std::vector<int> fourth = {10, 20,  30,  40,  50,  60,  70, 80,
                                     90, 100, 110, 120, 130, 140, 150};
    Model m53(53);
    EXPECT_EQ(axis(m53.image, 465),
              (std::vector<int>{5, 11, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140}));
    for (int a : {480, 495, 510, 525})
        EXPECT_EQ(axis(m53.image, a),
                  (std::vector<int>{15, 20, 30, 40, 50, 55, 60, 65, 70, 75, 80, 85, 90, 95, 100}));
    EXPECT_EQ(axis(m53.image, 555),
              (std::vector<int>{11, 16, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140}));
    for (int a : {540, 405, 435}) EXPECT_EQ(axis(m53.image, a), first) << a;
    Model m54(54);
    EXPECT_EQ(axis(m54.image, 465),
              (std::vector<int>{8, 10, 17, 40, 50, 55, 60, 65, 70, 75, 80, 90, 100, 110, 120}));
    for (int a : {480, 495, 510, 525, 540, 555, 405, 435})
        EXPECT_EQ(axis(m54.image, a), third) << a;
    Model m57(57);
    EXPECT_EQ(axis(m57.image, 540), fourth);
    EXPECT_EQ(axis(m57.image, 480), first);
}

TEST(BikeDefaults, LambdaCurveByType) {
    struct Case {
        int type;
        std::array<int, 5> af, mv;
    };
    const Case cases[] = {
        {0, {100, 130, 140, 150, 180}, {900, 840, 760, 50, 0}},
        {1, {100, 120, 140, 160, 180}, {0, 1190, 2500, 3750, 5000}},
        {7, {100, 120, 140, 160, 180}, {0, 1190, 2500, 3750, 5000}},
    };
    for (const auto& c : cases) {
        ParameterImage image;
        LoadLambdaCurve(image, c.type);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(image.byte(353 + i), c.af[static_cast<std::size_t>(i)]) << c.type;
            EXPECT_EQ(image.word(179 + i), c.mv[static_cast<std::size_t>(i)]) << c.type;
        }
    }
}

// After the defaults only the servo axes that start at 0 rpm need the pass; a second pass finds
// nothing left to do. The base maps stay at 100 or more, so every percent is defined.
TEST(EveryBike, DefaultsAreConsistent) {
    for (int code = 0; code < kBikeCodeCount; ++code) {
        ParameterImage image;
        image.setByte(0, static_cast<std::uint8_t>(code));
        InjectionMapSet maps;
        BikeSelection bike;
        bike.lobeWidthEnabled = LobeWidthEnabledFor(code);
        ASSERT_TRUE(LoadDefaults(kAllPages, image, maps, bike)) << code;
        ProgramIndexes settings;
        const ParameterImage loaded = image;
        ConsistencyPass(image, ConsistencyFlagsOf(image, bike), settings);
        const bool zeroServoAxis = code == 21 || code == 37 || code == 40 || code == 56;
        for (int n = 0; n < kImageSize; ++n) {
            if (zeroServoAxis && (n == 570 || n == 585)) {
                EXPECT_EQ(loaded.byte(n), 0) << code;
                EXPECT_EQ(image.byte(n), 3) << code;
                continue;
            }
            ASSERT_EQ(image.byte(n), loaded.byte(n)) << "code " << code << ", byte " << n;
        }
        const ParameterImage once = image;
        ConsistencyPass(image, ConsistencyFlagsOf(image, bike), settings);
        EXPECT_EQ(image, once) << code;

        for (int m = 0; m < kInjectionMapCount; ++m)
            for (int i = 0; i < kMapCells; ++i) {
                const auto base =
                    maps.base[static_cast<std::size_t>(m)][static_cast<std::size_t>(i)];
                ASSERT_GE(base, 100) << "code " << code << ", map " << m << ", cell " << i;
                ASSERT_EQ(maps.percent[static_cast<std::size_t>(m)][static_cast<std::size_t>(i)],
                          100);
                ASSERT_EQ(image.word(kInjectionMaps[static_cast<std::size_t>(m)].firstWord + i),
                          base);
            }
    }
}

// Ranges of the controls that edit what the modelled tables fill in.
struct ControlRange {
    const char* control;
    int min, max, step;
    bool Holds(int v) const { return v >= min && v <= max && (v - min) % step == 0; }
};
constexpr ControlRange kAdvanceCell{"UpDownMapCell on Advance", 0, 60, 1};
constexpr ControlRange kJetBCell{"UpDownMapCell on Inj-B", 0, 100, 1};
constexpr ControlRange kServoPercentCell{"UpDownMapCell on a servo page, Procent", 0, 100, 1};
constexpr ControlRange kServoCell{"UpDownMapCell on a servo page", 0, 5000, 1};
constexpr ControlRange kServoHysteresis{"UpDownMapPar[0] Hysteresis [mV]", 0, 1000, 5};
constexpr ControlRange kPositionMode{"RadioGroupPolohaA/B", 0, 2, 1};
constexpr ControlRange kPositionAngle{"UpDownPolohaA_Deg/UpDownPolohaB_Deg", 0, 720, 5};
// The base tables are not edited themselves: at 100 % their values become image words, which the
// consistency pass holds to 0..30000, and the base map never goes below 100.
constexpr ControlRange kBaseValue{"injection word at 100 %", 100, 30000, 1};

TEST(EveryBike, ModelledTablesLieInsideTheirControlsRanges) {
    for (int code = 0; code < kBikeCodeCount; ++code) {
        const auto t = DefaultBikeTables(code);
        ASSERT_TRUE(t && t->complete()) << code;
        auto expectIn = [&](const ControlRange& r, int v, const char* table) {
            EXPECT_TRUE(r.Holds(v))
                << "code " << code << ", " << table << ": " << v << " outside " << r.control;
        };
        const int advanceMax = LobeWidthEnabledFor(code)
                                   ? std::min(60, defaults::rules::kBaseAdvance.Value(code) +
                                                      defaults::rules::kLobeWidth.Value(code))
                                   : 60;
        for (auto v : t->advance) {
            expectIn(kAdvanceCell, v, "advance");
            EXPECT_LE(v, advanceMax) << code;
        }
        for (auto v : t->jetB) expectIn(kJetBCell, v, "B injectors");
        const auto& pos = *t->position;
        expectIn(kPositionMode, pos[0], "position A mode");
        expectIn(kPositionMode, pos[1], "position B mode");
        for (std::size_t i = 2; i < pos.size(); ++i) expectIn(kPositionAngle, pos[i], "position");
        const bool intakePercent = defaults::rules::kIntakePercent.Value(code) != 0;
        const bool exhaustPercent = defaults::rules::kExhaustPercent.Value(code) != 0;
        for (auto v : t->intakeServo.map)
            expectIn(intakePercent ? kServoPercentCell : kServoCell, v, "intake servo");
        for (auto v : t->exhaustServo.map)
            expectIn(exhaustPercent ? kServoPercentCell : kServoCell, v, "exhaust servo");
        expectIn(kServoHysteresis, t->intakeServo.hysteresis, "intake hysteresis");
        expectIn(kServoHysteresis, t->exhaustServo.hysteresis, "exhaust hysteresis");
        for (const auto* table : {&t->outer, &t->inner, &t->iap})
            for (auto v : table->values) expectIn(kBaseValue, 10 * v, "base injection");
    }
}

// Injection times of every base table rise with load; the intake map by RPM and TPS opens with
// the throttle.
TEST(EveryBike, BaseTablesRiseWithLoad) {
    for (int code = 0; code < kBikeCodeCount; ++code) {
        const auto t = DefaultBikeTables(code);
        ASSERT_TRUE(t) << code;
        for (const auto* table : {&t->outer, &t->inner, &t->iap}) {
            const std::size_t n = table->rpmPoints.size();
            ASSERT_EQ(table->values.size(), 10 * n) << code;
            for (std::size_t r = 1; r < 10; ++r)
                for (std::size_t k = 0; k < n; ++k)
                    ASSERT_GE(table->values[r * n + k], table->values[(r - 1) * n + k])
                        << "code " << code << ", row " << r << ", point " << k;
        }
        if (t->intakeServo.map.size() != static_cast<std::size_t>(kMapCells)) continue;
        for (int r = 1; r < kMapRows; ++r)
            for (int k = 0; k < kMapColumns; ++k)
                ASSERT_GE(t->intakeServo.map[static_cast<std::size_t>(15 * r + k)],
                          t->intakeServo.map[static_cast<std::size_t>(15 * (r - 1) + k)])
                    << code;
    }
}

TEST(NewCommand, AsksAndLoadsTheDefaultsOnlyOnYes) {
    for (bool yes : {false, true}) {
        Model m(11);
        m.image.setByte(29, 100);
        m.answers = {yes};
        EXPECT_EQ(CommandNew(m.Index(), m.image, m.maps, m.bike, m.hooks), yes);
        EXPECT_EQ(m.questions, std::vector<MsgId>{MsgAskDefaults});
        EXPECT_EQ(m.image.byte(29), yes ? 140 : 100);
        EXPECT_EQ(m.valueChanged, yes ? 1 : 0);
    }
}

TEST(NewCommand, ServoAxisStartingAtZeroIsRaisedTo300Rpm) {
    for (int code : {21, 37, 40, 56}) {
        Model m(code);
        m.image.setByte(570, 50);
        m.answers = {true};
        ASSERT_TRUE(CommandNew(m.Index(), m.image, m.maps, m.bike, m.hooks)) << code;
        EXPECT_EQ(m.image.byte(570), 3) << code;
        EXPECT_EQ(m.image.byte(585), 3) << code;
        EXPECT_EQ(m.image.byte(571), 6) << code;
    }
}

TEST(NewCommand, NewForPage13AlsoResetsTheSpeedInput) {
    Model m(11);
    m.image.setByte(138, 1);
    m.image.setWord(80, 5);
    m.image.setByte(290, 3);
    m.image.setByte(137, 3);  // the Gear page's own field
    m.image.setByte(29, 100);
    m.answers = {true};
    ASSERT_TRUE(CommandNewActPage(m.Index(), 13, m.image, m.maps, m.bike, m.hooks));
    EXPECT_EQ(m.questions, std::vector<MsgId>{MsgAskDefaultsPage});
    EXPECT_EQ(m.image.byte(138), 0);
    EXPECT_EQ(m.image.word(80), 1000);
    EXPECT_EQ(m.image.byte(290), 0);
    EXPECT_EQ(m.image.byte(137), 3);
    EXPECT_EQ(m.image.byte(29), 100);
}

TEST(NewCommand, NewForAnInjectorPageOfCoupledInjectorsDoesNothing) {
    Model m(11);
    ASSERT_EQ(m.image.byte(47), 1);
    m.image.setByte(510, 33);
    m.maps.percentOf(InjectionMap::Jet3A).fill(120);
    const ParameterImage before = m.image;
    m.answers = {true};
    for (int page : {2, 3, 4, 5})
        EXPECT_FALSE(CommandNewActPage(m.Index(), page, m.image, m.maps, m.bike, m.hooks)) << page;
    EXPECT_TRUE(m.questions.empty());
    EXPECT_EQ(m.image, before);

    m.image.setByte(47, 0);
    ASSERT_TRUE(CommandNewActPage(m.Index(), 4, m.image, m.maps, m.bike, m.hooks));
    EXPECT_EQ(m.image.byte(510), 10);
    EXPECT_EQ(m.maps.percentOf(InjectionMap::Jet3A)[7], 100);
    EXPECT_EQ(m.image.word(675 + 7), m.maps.baseOf(InjectionMap::Jet3A)[7]);
}

TEST(NewCommand, PageFilterLeavesOtherPagesButAlwaysRestoresTheEngine) {
    Model m(11);
    m.image.setByte(29, 100);
    m.image.setByte(1, 9);
    m.image.setByte(252, 12);
    m.image.setByte(47, 0);
    m.image.setByte(80, 150);
    ASSERT_TRUE(LoadDefaults(9, m.image, m.maps, m.bike));
    EXPECT_EQ(m.image.byte(29), 100);
    EXPECT_EQ(m.image.byte(47), 0);
    EXPECT_EQ(m.image.byte(1), 0);
    EXPECT_EQ(m.image.byte(252), 140);
    EXPECT_EQ(m.image.byte(80), 112);
}

TEST(NewCommand, WordsOfMapsNotResetSurviveNewForPage) {
    Model m(11);
    m.image.setWord(525 + 20, 3333);  // as a file read leaves it, before the page was shown
    m.answers = {true};
    ASSERT_TRUE(CommandNewActPage(m.Index(), 13, m.image, m.maps, m.bike, m.hooks));
    const auto base = m.maps.baseOf(InjectionMap::Jet2A)[20];
    EXPECT_EQ(m.image.word(525 + 20), WordFromPercent(PercentFromWord(3333, base), base));
    EXPECT_NEAR(m.image.word(525 + 20), 3333, base / 200 + 1);
}

TEST(BikeChange, PickingTheSeparatorKeepsTheBike) {
    Model m(11);
    const ParameterImage before = m.image;
    m.answers = {true};
    CommandBikeChange(kUnsupportedIndex, m.image, m.maps, m.bike, m.hooks);
    EXPECT_EQ(m.image.byte(0), 11);
    EXPECT_TRUE(m.questions.empty());
    EXPECT_EQ(m.image, before);
    EXPECT_EQ(m.valueChanged, 1);
    EXPECT_EQ(m.refills, 1);
    EXPECT_FALSE(CommandNew(kUnsupportedIndex, m.image, m.maps, m.bike, m.hooks));
    EXPECT_FALSE(CommandNewActPage(kUnsupportedIndex, 9, m.image, m.maps, m.bike, m.hooks));
    EXPECT_TRUE(m.questions.empty());
}

TEST(BikeChange, AnsweringNoKeepsEditableFieldsAndPercentages) {
    Model m(11);
    m.image.setByte(29, 100);
    m.image.setByte(600 + 17, 22);
    m.maps.percentOf(InjectionMap::Jet1A)[40] = 120;
    StoreInjectionMaps(m.maps, m.image);
    const ParameterImage before = m.image;
    const InjectionMapSet mapsBefore = m.maps;
    m.answers = {false};
    CommandBikeChange(CatalogueIndexOfCode(43), m.image, m.maps, m.bike, m.hooks);
    EXPECT_EQ(m.questions, std::vector<MsgId>{MsgAskDefaults});
    EXPECT_EQ(m.image.byte(0), 43);

    ParameterImage constants;
    WriteEngineConstants(constants, 43);
    int changedWords = 0;
    for (int n = 1; n < kImageSize; ++n) {
        if (IsEngineConstant(n)) {
            EXPECT_EQ(m.image.byte(n), constants.byte(n)) << "engine constant " << n;
        } else if (IsInjectionWordByte(n)) {
            changedWords += m.image.byte(n) != before.byte(n);
        } else {
            EXPECT_EQ(m.image.byte(n), before.byte(n)) << "editable byte " << n;
        }
    }
    EXPECT_GT(changedWords, 0);
    EXPECT_EQ(m.maps.percent, mapsBefore.percent);
    EXPECT_NE(m.maps.base, mapsBefore.base);
    EXPECT_EQ(m.image.word(375 + 40), WordFromPercent(120, m.maps.baseOf(InjectionMap::Jet1A)[40]));
    EXPECT_EQ(m.valueChanged, 1);
    EXPECT_EQ(m.refills, 1);
}

TEST(BikeChange, WordsChangedSinceTheMapWasShownKeepTheirPercentage) {
    Model m(11);
    m.image.setWord(525 + 20, 3333);  // as a file read leaves it, before the page was shown
    const int percent = PercentFromWord(3333, m.maps.baseOf(InjectionMap::Jet2A)[20]);
    CommandBikeChange(CatalogueIndexOfCode(43), m.image, m.maps, m.bike, m.hooks);
    EXPECT_EQ(m.maps.percentOf(InjectionMap::Jet2A)[20], percent);
    EXPECT_EQ(m.image.word(525 + 20), WordFromPercent(static_cast<std::int16_t>(percent),
                                                      m.maps.baseOf(InjectionMap::Jet2A)[20]));
}

TEST(BikeChange, AnsweringYesLoadsTheNewBikeAndItsLobeWidth) {
    Model m(11);
    m.answers = {true};
    CommandBikeChange(CatalogueIndexOfCode(33), m.image, m.maps, m.bike, m.hooks);
    EXPECT_EQ(m.image.byte(0), 33);
    EXPECT_TRUE(m.bike.lobeWidthEnabled);
    EXPECT_EQ(m.image.byte(46), 40);
    EXPECT_EQ(m.image.byte(252), 150);
    EXPECT_EQ(m.valueChanged, 2);  // once inside New, once after the bike's tables are applied
    CommandBikeChange(CatalogueIndexOfCode(11), m.image, m.maps, m.bike, m.hooks);
    EXPECT_FALSE(m.bike.lobeWidthEnabled);
}

TEST(BikeOutsideTheCatalogue, ChangesNothingAndIsAnnounced) {
    Model m(11);
    m.image.setByte(0, 60);
    const ParameterImage before = m.image;
    const InjectionMapSet mapsBefore = m.maps;
    EXPECT_FALSE(LoadDefaults(kAllPages, m.image, m.maps, m.bike));
    EXPECT_FALSE(SelectBikeTables(m.image, m.bike));
    EXPECT_EQ(m.image, before);
    EXPECT_EQ(m.maps.percent, mapsBefore.percent);
    EXPECT_EQ(m.maps.base, mapsBefore.base);

    std::vector<MsgId> shown;
    auto message = [&](MsgId id) { shown.push_back(id); };
    EXPECT_EQ(BikeIndexToShow(m.image, message), kUnsupportedIndex);
    EXPECT_EQ(shown, std::vector<MsgId>{MsgBikeNotSupported});
    m.image.setByte(0, 11);
    EXPECT_EQ(BikeIndexToShow(m.image, message), CatalogueIndexOfCode(11));
    EXPECT_EQ(shown.size(), 1u);
}

TEST(BikeTablesOnStart, WholeImageKeepsItsWords) {
    Model m(11);
    ParameterImage image = m.image;  // as the backup file brings it
    image.setWord(375 + 3, 2222);
    InjectionMapSet maps;
    BikeSelection bike;
    ApplyBikeTables(image, maps, bike);
    EXPECT_EQ(image.word(375 + 3), 2222);
    EXPECT_EQ(maps.base, m.maps.base);
    EXPECT_EQ(maps.percentOf(InjectionMap::Jet1A)[3],
              PercentFromWord(2222, maps.baseOf(InjectionMap::Jet1A)[3]));
}

}  // namespace
}  // namespace kestrin

#include "model/Defaults.h"

#include "model/DefaultTables.h"

namespace kestrin {
namespace {

using namespace defaults::rules;

constexpr int kAdvanceFirst = 600;
constexpr int kJetBFirst = 1950;
constexpr int kServoExFirst = 2400;
constexpr int kServoInFirst = 2550;
constexpr int kNoteFirst = 2700;
constexpr int kNoteSize = 150;

std::uint8_t U8(int v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

void SetBytes(ParameterImage& im, int first, std::initializer_list<int> values) {
    for (int v : values) im.setByte(first++, U8(v));
}
void FillBytes(ParameterImage& im, int first, int count, int value) {
    for (int i = 0; i < count; ++i) im.setByte(first + i, U8(value));
}
template <std::size_t N>
void SetWords(ParameterImage& im, int first, const std::array<std::uint16_t, N>& values) {
    for (std::size_t i = 0; i < N; ++i) im.setWord(first + static_cast<int>(i), values[i]);
}
void SetAxis(ParameterImage& im, int first, const RpmPoints& rpm) {
    for (std::size_t i = 0; i < rpm.size(); ++i)
        im.setByte(first + static_cast<int>(i), U8(rpm[i] / 100));
}

// A 15-value table fills every load row alike; a 150-value table gives each cell its own value.
template <class T>
void SetByteMap(ParameterImage& im, int first, std::span<const T> values, int divisor) {
    const bool perCell = values.size() >= static_cast<std::size_t>(kMapCells);
    for (int load = 0; load < kMapRows; ++load)
        for (int rpm = 0; rpm < kMapColumns; ++rpm) {
            const std::size_t i =
                static_cast<std::size_t>(perCell ? kMapColumns * load + rpm : rpm);
            if (i < values.size()) im.setByteCell(first, load, rpm, U8(values[i] / divisor));
        }
}

void SetServo(ParameterImage& im, const ServoDefaults& servo, int hysteresisByte, int axisFirst,
              int mapFirst, bool byLoad, bool percent) {
    im.setByte(hysteresisByte, U8(servo.hysteresis / 5));
    if (servo.axis) SetAxis(im, axisFirst, *servo.axis);
    // The map mode decides the table's shape; a table of the other shape is read as far as it goes.
    std::span<const std::uint16_t> map = servo.map;
    if (!byLoad && map.size() > static_cast<std::size_t>(kMapColumns))
        map = map.first(static_cast<std::size_t>(kMapColumns));
    SetByteMap(im, mapFirst, map, percent ? 1 : 20);
}

void SetPercent(InjectionMapSet& maps, InjectionMap m, int value) {
    maps.percentOf(m).fill(static_cast<std::int16_t>(value));
}

}  // namespace

ConsistencyFlags ConsistencyFlagsOf(const ParameterImage& image, const BikeSelection& bike) {
    return {bike.lobeWidthEnabled, bike.flags.fixedIdleBike, image.byte(47) == 1,
            image.byte(47) == 2};
}

bool SelectBikeTables(ParameterImage& image, BikeSelection& bike) {
    const int code = image.byte(0);
    auto tables = DefaultBikeTables(code);
    if (!tables || !tables->complete() || !WriteEngineConstants(image, code)) return false;
    bike.tables = *tables;
    bike.flags = FlagsOfCode(code);
    return true;
}

void LoadLambdaCurve(ParameterImage& image, int type) {
    if (type == 0) {
        SetBytes(image, 353, {100, 130, 140, 150, 180});
        SetWords<5>(image, 179, {900, 840, 760, 50, 0});
    } else {
        SetBytes(image, 353, {100, 120, 140, 160, 180});
        SetWords<5>(image, 179, {0, 1190, 2500, 3750, 5000});
    }
}

void RefreshPercentMaps(const ParameterImage& image, InjectionMapSet& maps,
                        const BikeTables& tables) {
    if (!tables.complete()) return;
    ComputeBaseMaps(image, tables, maps);
    for (int m = 0; m < kInjectionMapCount; ++m)
        maps.LoadFromImage(static_cast<InjectionMap>(m), image);
}

void ApplyBikeTables(ParameterImage& image, InjectionMapSet& maps, BikeSelection& bike) {
    SelectBikeTables(image, bike);
    RefreshPercentMaps(image, maps, bike.tables);
}

bool LoadDefaults(int filter, ParameterImage& im, InjectionMapSet& maps, BikeSelection& bike) {
    const int code = im.byte(0);
    if (!DefaultBikeTables(code)) return false;
    // The maps this call leaves alone are stored again at the end; their percent maps are taken
    // from the image first, so that words changed since the map was last shown survive.
    if (filter != kAllPages) RefreshPercentMaps(im, maps, bike.tables);
    if (!SelectBikeTables(im, bike)) return false;
    const BikeTables& t = bike.tables;
    const bool all = filter == kAllPages;
    auto page = [&](int p) { return all || filter == p; };
    const int limit = im.byte(252);

    im.setByte(1, 0);
    if (all) im.setByte(47, U8(kInjectorMode.Value(code)));

    if (page(0)) {
        SetBytes(im, 22, {1});
        im.setByte(23, t.smallSettings[3]);
        im.setByte(24, t.smallSettings[2]);
        SetBytes(im, 25, {1, 1, 1});
        im.setByte(35, 100);
        im.setByte(36, t.smallSettings[1]);
        im.setByte(37, 100);
        im.setByte(38, U8(kIntakePortRpm.Value(code)));
        im.setByte(29, U8(limit));
        im.setByte(28, U8(limit / 2));
        im.setByte(39, U8(limit / 3 + limit / 2));
        im.setByte(30, U8(limit + 3));
        im.setByte(31, U8(limit + 3));
        im.setByte(32, 20);
        SetBytes(im, 368, {100, 200, 10, 120});
        FillBytes(im, kNoteFirst, kNoteSize, 0);
    }
    if (page(1)) {
        SetAxis(im, 465, *t.advanceAxis);
        SetByteMap(im, kAdvanceFirst, t.advance, 1);
        im.setByte(40, 1);
        FillBytes(im, 41, 4, 100);
        im.setByte(45, U8(kBaseAdvance.Value(code)));
        im.setByte(46, U8(kLobeWidth.Value(code)));
    }
    if (page(2)) {
        SetAxis(im, InfoOf(InjectionMap::Jet1A).rpmAxisByte, *t.injectionAxis);
        SetPercent(maps, InjectionMap::Jet1A, 100);
        const auto& s = kIapSwitchOver.For(code);
        SetBytes(im, 48, {s[0], s[1], s[2], s[3]});
    }
    constexpr std::array kInnerPages = {std::pair{3, InjectionMap::Jet2A},
                                        std::pair{4, InjectionMap::Jet3A},
                                        std::pair{5, InjectionMap::Jet4A}};
    for (const auto& [p, m] : kInnerPages)
        if (all || (filter == p && im.byte(47) != 1)) {
            SetAxis(im, InfoOf(m).rpmAxisByte, *t.injectionAxis);
            SetPercent(maps, m, 100);
        }
    if (page(6)) {
        SetAxis(im, 540, *t.jetBAxis);
        SetByteMap(im, kJetBFirst, t.jetB, 1);
    }
    if (page(7)) {
        SetWords<10>(im, 192, {30, 50, 60, 70, 75, 80, 85, 90, 95, 100});
        SetAxis(im, InfoOf(InjectionMap::Iap).rpmAxisByte, *t.iapAxis);
        SetPercent(maps, InjectionMap::Iap, 100);
        FillBytes(im, 52, 4, 100);
    }
    if (page(8)) {
        SetAxis(im, 405, *t.positionAxis);
        SetAxis(im, 435, *t.positionAxis);
        const auto& pos = *t.position;
        im.setByte(56, U8(pos[0]));
        im.setByte(57, U8(pos[1]));
        for (int i = 0; i < 15; ++i) {
            im.setByte(420 + i, U8(pos[static_cast<std::size_t>(2 + i)] / 5));
            im.setByte(450 + i, U8(pos[static_cast<std::size_t>(17 + i)] / 5));
        }
    }
    if (page(9)) {
        SetBytes(im, 67, {5, 10, 15, 20});
        const auto& a = kAfterStart.For(code);
        SetBytes(im, 71, {a[0], a[1], a[2], 10});
        for (std::size_t i = 0; i < t.injectionCorrections->size(); ++i)
            im.setByte(80 + static_cast<int>(i), U8((*t.injectionCorrections)[i]));
        SetBytes(im, 93, {110, 110, 100, 100, 95});
        im.setByte(90, U8(kAccelThreshold.Value(code)));
        im.setByte(91, U8(kAccelSize.Value(code)));
        im.setByte(92, t.smallSettings[0]);
        SetWords(im, 166, kAccelCorrection.For(code));
    }
    if (page(10)) {
        SetWords(im, 3, *t.pressureSensors);
        im.setByte(33, U8(kTps0.Value(code)));
        im.setByte(34, U8(kTps100.Value(code)));
        im.setByte(352, 0);
        LoadLambdaCurve(im, 0);
        im.setByte(75, 0);
        im.setByte(76, 20);
        SetWords(im, 97, *t.temperatureCurves);
    }
    if (page(11)) {
        im.setByte(59, U8(kIntakeServoOn.Value(code)));
        im.setByte(63, U8(kIntakePercent.Value(code)));
        im.setByte(66, U8(kStepMotor.Value(code)));
        im.setByte(65, U8(kIntakeMode.Value(code)));
        SetBytes(im, 77, {8, 8});
        SetServo(im, t.intakeServo, 61, 585, kServoInFirst, im.byte(65) == 0, im.byte(63) != 0);
    }
    if (page(12)) {
        im.setByte(58, U8(kExhaustServoOn.Value(code)));
        im.setByte(62, U8(kExhaustPercent.Value(code)));
        im.setByte(64, 1);
        SetServo(im, t.exhaustServo, 60, 570, kServoExFirst, im.byte(64) == 0, im.byte(62) != 0);
    }
    if (page(13)) {
        const auto& idle = *t.idle;
        SetBytes(im, 290,
                 {idle[0], idle[1] / 100, idle[2], idle[3], idle[4] / 250, idle[5], idle[6] / 10});
        im.setWord(165, idle[7]);
        SetBytes(im, 317, {idle[8], idle[9], idle[10], idle[11]});
        SetWords(im, 149, *t.idleServoRpm);
        for (std::size_t i = 0; i < t.idleAdvanceRpm->size(); ++i)
            im.setByte(321 + static_cast<int>(i), U8((*t.idleAdvanceRpm)[i] / 50));
        im.setByte(138, 0);
        im.setWord(80, kSpeedometer.Value(code));
    }
    if (page(14)) {
        SetBytes(im, 98, {0, 20, 60, 30, 20, 0, 0, 30, 20});
        SetBytes(im, 158, {0, 0});
    }
    if (page(15)) {
        FillBytes(im, 108, 6, limit - 20);
        FillBytes(im, 114, 6, limit - 15);
        FillBytes(im, 121, 6, 20);
        FillBytes(im, 127, 6, 50);
        im.setByte(120, 0);
        SetBytes(im, 133, {20, 50, 0});
        im.setByte(107, 0);
    }
    if (page(16)) {
        im.setByte(136, U8(kGearDetection.Value(code)));
        SetWords(im, 70, *t.gearVoltages);
        im.setByte(137, 6);
        SetWords(im, 81, kGearRatios.For(code));
        SetBytes(im, 154, {3, 15, 20, 40});
        FillBytes(im, 174, 12, 100);
    }
    if (page(17)) {
        constexpr std::array<std::pair<int, int>, 9> kTuning = {{{340, 1},
                                                                 {342, 145},
                                                                 {344, 3},
                                                                 {345, 20},
                                                                 {346, 3},
                                                                 {347, 20},
                                                                 {348, 1},
                                                                 {350, 1},
                                                                 {351, 10}}};
        for (const auto& [pos, value] : kTuning) im.setByte(pos, U8(value));
        SetBytes(im, 376, {50, 50});
    }
    if (page(18)) SetBytes(im, 372, {100, 120, 140, 180});

    ComputeBaseMaps(im, t, maps);
    StoreInjectionMaps(maps, im);
    return true;
}

namespace {

bool Ask(const BikeCommandHooks& hooks, MsgId question) {
    return hooks.ask && hooks.ask(question);
}
void Run(const std::function<void()>& step) {
    if (step) step();
}

}  // namespace

bool CommandNew(int shownIndex, ParameterImage& image, InjectionMapSet& maps, BikeSelection& bike,
                const BikeCommandHooks& hooks) {
    if (!BikeCodeOfIndex(shownIndex)) return false;
    if (!Ask(hooks, MsgAskDefaults)) return false;
    if (!LoadDefaults(kAllPages, image, maps, bike)) return false;
    Run(hooks.clearFileStatus);
    Run(hooks.valueChanged);
    return true;
}

bool CommandNewActPage(int shownIndex, int activePage, ParameterImage& image, InjectionMapSet& maps,
                       BikeSelection& bike, const BikeCommandHooks& hooks) {
    if (!BikeCodeOfIndex(shownIndex)) return false;
    // Coupled injectors follow Inj-1A; their own pages have nothing to reset.
    if (activePage >= 2 && activePage <= 5 && image.byte(47) == 1) return false;
    if (!Ask(hooks, MsgAskDefaultsPage)) return false;
    if (!LoadDefaults(activePage, image, maps, bike)) return false;
    Run(hooks.clearFileStatus);
    Run(hooks.valueChanged);
    return true;
}

void CommandBikeChange(int index, ParameterImage& image, InjectionMapSet& maps, BikeSelection& bike,
                       const BikeCommandHooks& hooks) {
    // The injection maps keep their percentages across the change: take them from the image words
    // against the old bike's base maps before anything moves.
    RefreshPercentMaps(image, maps, bike.tables);
    if (const auto code = BikeCodeOfIndex(index)) image.setByte(0, U8(*code));
    bike.lobeWidthEnabled = LobeWidthEnabledFor(image.byte(0));
    CommandNew(index, image, maps, bike, hooks);
    if (SelectBikeTables(image, bike)) {
        ComputeBaseMaps(image, bike.tables, maps);
        StoreInjectionMaps(maps, image);
    }
    Run(hooks.valueChanged);
    Run(hooks.refillMessages);
}

int BikeIndexToShow(const ParameterImage& image, const std::function<void(MsgId)>& message) {
    const int index = CatalogueIndexOfCode(image.byte(0));
    if (index == kUnsupportedIndex && message) message(MsgBikeNotSupported);
    return index;
}

}  // namespace kestrin

// The default tables of all bikes that are not modelled: RPM axes, sensor curves, idle
// settings, corrections and servo axes; and the choice of every table kind for one bike code.

#include <array>
#include <cstdint>

#include "model/BikeTables.h"
#include "model/DefaultTables.h"

namespace kestrin::defaults {
namespace {

// RPM_ADV axis [rpm]; also the default of the other RPM axes.
constexpr std::array<Choice<15>, 7> kAdvanceAxes{{
    {"4, 8, 12..14, 17, 21..23, 27, 31, 36, 38, 42, 45, 51, 56, 57, 59",
     {1000, 2000, 3000, 4000, 5000, 5500, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000,
      14000}},
    {"2, 3, 6, 7, 11, 18..20, 28, 32, 33, 35, 41, 44, 46, 48, 49",
     {1000, 2000, 3000, 4000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000, 15000,
      16000}},
    {"0, 1, 5, 9, 10, 15, 16, 25, 29, 30, 37, 40, 43, 50, 52",
     {1000, 2000, 3000, 4000, 5000, 5500, 6000, 6500, 7000, 7500, 8000, 9000, 10000, 11000, 12000}},
    {"26, 34, 39, 47, 55",
     {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000,
      15000}},
    {"24, 58",
     {1000, 2000, 3000, 4000, 5000, 5500, 6000, 6500, 7000, 7500, 8000, 8500, 9000, 9500, 10000}},
    {"53",
     {500, 1100, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000,
      14000}},
    {"54",
     {800, 1000, 1700, 4000, 5000, 5500, 6000, 6500, 7000, 7500, 8000, 9000, 10000, 11000, 12000}},
}};

// AP then IAP sensor: pressure 1 [kPa], voltage 1 [mV], pressure 2, voltage 2.
constexpr std::array<Choice<8>, 6> kPressureSensors{{
    {"0, 6, 9..16, 20, 23, 25, 26, 29, 32..35, 37..42, 44, 47, 49, 51, 54, 55, 59",
     {55, 2305, 105, 3756, 55, 2305, 105, 3756}},
    {"7, 8, 17..19, 27, 36, 45, 48, 50, 52, 53, 57", {55, 2162, 105, 4160, 55, 2162, 105, 4160}},
    {"2..5, 21, 22, 28, 31, 46, 56", {55, 1643, 105, 3005, 55, 1643, 105, 3005}},
    {"1, 30", {55, 2247, 105, 4744, 55, 2247, 105, 4744}},
    {"24, 58", {55, 2108, 105, 5124, 55, 2108, 105, 5124}},
    {"43", {55, 1556, 105, 4116, 55, 2305, 105, 3756}},
}};

// Gear sensor voltage of gears 0..6 [mV].
constexpr std::array<Choice<7>, 6> kGearVoltages{{
    {"0..7, 9..35, 37..44, 46, 47, 49..52, 54..56, 58, 59",
     {5000, 1797, 2260, 2998, 3662, 4360, 4687}},
    {"8, 36", {4623, 3851, 3592, 3128, 3015, 2360, 1969}},
    {"45", {4877, 879, 1564, 2204, 2922, 3572, 4252}},
    {"48", {4428, 3450, 2952, 2468, 1979, 1485, 987}},
    {"53", {2400, 2600, 4200, 4300, 4400, 4500, 4600}},
    {"57", {4521, 3519, 3015, 2507, 2018, 1456, 1006}},
}};

// Coolant then air temperature sensor, nine points each [mV].
constexpr std::array<Choice<18>, 4> kTemperatureCurves{{
    {"0, 2..27, 29, 31..45, 47..49, 51..59",
     {4049, 3401, 2713, 2037, 1420, 981, 642, 443, 299, 4049, 3401, 2713, 2037, 1420, 981, 642, 443,
      299}},
    {"1, 30",
     {4095, 3631, 3167, 2316, 1466, 1133, 801, 698, 596, 4095, 3631, 3167, 2316, 1466, 1133, 801,
      698, 596}},
    {"28, 46",
     {4110, 3328, 2546, 1866, 1187, 867, 547, 412, 278, 4049, 3401, 2713, 2037, 1420, 981, 642, 443,
      299}},
    {"50",
     {4100, 3501, 2913, 2050, 1191, 753, 511, 406, 266, 4049, 3401, 2713, 2037, 1420, 1419, 1418,
      1417, 1416}},
}};

// Shown values of bytes 290..296, word 165, bytes 317..320.
constexpr std::array<Choice<12>, 10> kIdleSettings{{
    {"0..6, 9..18, 20..25, 27..33, 35, 37, 39..44, 51, 56, 58, 59",
     {0, 1500, 40, 1, 1500, 6, 200, 2000, 0, 13, 3, 22}},
    {"7, 8, 19, 26, 36, 48, 49", {1, 1500, 40, 0, 1500, 7, 200, 2000, 0, 1, 10, 25}},
    {"34, 47, 55", {1, 2000, 5, 0, 1500, 6, 100, 2000, 0, 13, 3, 22}},
    {"50, 52", {1, 1500, 40, 0, 1500, 6, 200, 2000, 0, 13, 3, 22}},
    {"38", {0, 3000, 40, 1, 1500, 2, 1600, 2000, 0, 13, 3, 22}},
    {"45", {3, 5000, 40, 1, 1500, 20, 200, 2000, 0, 13, 3, 22}},
    {"46", {2, 2000, 3, 1, 25000, 100, 100, 2000, 0, 13, 3, 22}},
    {"53", {3, 5000, 12, 1, 1500, 6, 200, 2000, 1, 25, 3, 24}},
    {"54", {0, 1500, 10, 1, 1500, 6, 200, 2000, 1, 10, 10, 25}},
    {"57", {1, 1500, 25, 0, 1500, 7, 200, 2000, 0, 11, 8, 25}},
}};

// Desired idle servo RPM or position, words 149..157.
constexpr std::array<Choice<9>, 10> kIdleServoRpm{{
    {"0..6, 9..18, 20..25, 27..33, 35, 37, 39..44, 46, 51, 56, 58, 59",
     {1800, 1800, 1800, 1550, 1400, 1200, 1200, 1200, 1200}},
    {"7, 19, 26, 48, 49", {95, 95, 90, 80, 70, 40, 40, 40, 40}},
    {"34, 47, 55", {760, 760, 760, 760, 760, 760, 700, 700, 700}},
    {"8, 36", {40, 40, 40, 45, 50, 50, 60, 60, 60}},
    {"50, 52", {4780, 4780, 4600, 4300, 3300, 2420, 1960, 1960, 1960}},
    {"38", {45, 42, 40, 37, 33, 30, 30, 30, 30}},
    {"45", {475, 475, 470, 440, 400, 390, 390, 390, 390}},
    {"53", {550, 550, 520, 510, 500, 490, 400, 400, 400}},
    {"54", {100, 100, 100, 100, 100, 100, 100, 100, 100}},
    {"57", {60, 60, 55, 53, 50, 46, 41, 40, 40}},
}};

// Desired idle RPM of the advance control, shown values of bytes 321..329.
constexpr std::array<Choice<9>, 4> kIdleAdvanceRpm{{
    {"0..6, 9..18, 20..25, 27..35, 37..47, 50..52, 55, 56, 58, 59",
     {1800, 1800, 1750, 1600, 1550, 1550, 1550, 1550, 1450}},
    {"7, 8, 19, 26, 36, 48, 49, 57", {1800, 1800, 1800, 1550, 1400, 1200, 1200, 1200, 1200}},
    {"53", {1800, 1800, 1750, 1500, 1500, 1500, 1300, 1300, 1300}},
    {"54", {1500, 1500, 1500, 1500, 1400, 1300, 1200, 1200, 1200}},
}};

// Injection correction by coolant, then by inlet air temperature [%].
constexpr std::array<Choice<10>, 12> kInjectionCorrections{{
    {"1, 13..15, 26, 29, 30, 34, 38, 39, 47, 49, 50, 54, 55",
     {113, 109, 105, 100, 97, 109, 105, 100, 100, 100}},
    {"6, 11, 20, 32, 33, 41, 44", {112, 107, 103, 100, 97, 106, 103, 100, 100, 100}},
    {"8..10, 36, 45, 53, 57", {125, 114, 107, 100, 98, 113, 107, 100, 97, 93}},
    {"2, 3, 21, 28, 46, 56", {136, 125, 111, 100, 99, 119, 109, 100, 100, 100}},
    {"16, 25, 37, 40, 52", {125, 107, 100, 100, 100, 105, 102, 100, 100, 100}},
    {"0, 24, 43, 58", {150, 138, 111, 100, 92, 121, 110, 100, 92, 84}},
    {"18, 35, 42, 59", {124, 120, 109, 100, 98, 115, 109, 100, 98, 93}},
    {"4, 22, 31", {160, 139, 126, 100, 100, 121, 105, 100, 98, 98}},
    {"7, 19, 48", {134, 118, 110, 100, 100, 111, 107, 100, 95, 95}},
    {"17, 27, 51", {115, 107, 104, 100, 96, 105, 101, 100, 90, 85}},
    {"12, 23", {117, 111, 104, 100, 99, 110, 105, 100, 100, 100}},
    {"5", {139, 110, 104, 100, 99, 121, 110, 100, 97, 97}},
}};

// RPM axis of the exhaust servo map [rpm].
constexpr std::array<Choice<15>, 8> kExhaustServoAxes{{
    {"0..3, 5, 6, 9..12, 15, 16, 18, 20, 23..25, 28..30, 32, 33, 35, 41..44, 46, 50, 52, 54, 58, "
     "59",
     {1000, 2000, 3000, 4000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000, 15000,
      16000}},
    {"7, 8, 19, 36, 48, 51, 57",
     {300, 800, 1000, 6500, 6600, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000, 15000,
      16000}},
    {"13, 14, 26, 38, 39, 49",
     {700, 800, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000}},
    {"21, 37, 40, 56",
     {0, 600, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000}},
    {"4, 22, 31",
     {2500, 2600, 6300, 6400, 15000, 15100, 15200, 15300, 15400, 15500, 15600, 15700, 15800, 15900,
      16000}},
    {"34, 47, 55",
     {300, 700, 1100, 1900, 6500, 7000, 7500, 8300, 9000, 10500, 12000, 13000, 14000, 15000,
      16000}},
    {"17, 27",
     {300, 400, 4100, 4600, 6500, 7000, 7500, 8300, 9000, 10500, 12000, 13000, 14000, 15000,
      16000}},
    {"45, 53",
     {300, 600, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000}},
}};

// RPM axis of the intake servo map [rpm].
constexpr std::array<Choice<15>, 8> kIntakeServoAxes{{
    {"0..3, 5..12, 15, 16, 18..20, 23..26, 28..30, 32, 33, 35, 36, 41..44, 46, 48, 49, 51, 54, "
     "57..59",
     {1000, 2000, 3000, 4000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000, 15000,
      16000}},
    {"13, 14, 38, 39",
     {700, 800, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000}},
    {"21, 37, 40, 56",
     {0, 600, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000}},
    {"4, 22, 31",
     {2500, 2600, 6300, 6400, 15000, 15100, 15200, 15300, 15400, 15500, 15600, 15700, 15800, 15900,
      16000}},
    {"34, 47, 55",
     {1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10500, 12000, 13000, 14000, 15000,
      16000}},
    {"17, 27",
     {300, 400, 4100, 4600, 6500, 7000, 7500, 8300, 9000, 10500, 12000, 13000, 14000, 15000,
      16000}},
    {"45, 53",
     {300, 600, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000}},
    {"50, 52",
     {1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 5500, 6000, 6500, 7000, 8000, 9000}},
}};

// Own axes of code 53: the injection maps A and the IAP map.
constexpr RpmPoints kInjectionAxis53 = {1500, 2000, 3000, 4000, 5000, 5500, 6000, 6500,
                                        7000, 7500, 8000, 8500, 9000, 9500, 10000};
constexpr RpmPoints kIapAxis53 = {1100, 1600, 2000,  3000,  4000,  5000,  6000, 7000,
                                  8000, 9000, 10000, 11000, 12000, 13000, 14000};

static_assert(CoversEveryBikeOnce(kAdvanceAxes, kCodesOf));
static_assert(CoversEveryBikeOnce(kPressureSensors, kCodesOf));
static_assert(CoversEveryBikeOnce(kGearVoltages, kCodesOf));
static_assert(CoversEveryBikeOnce(kTemperatureCurves, kCodesOf));
static_assert(CoversEveryBikeOnce(kIdleSettings, kCodesOf));
static_assert(CoversEveryBikeOnce(kIdleServoRpm, kCodesOf));
static_assert(CoversEveryBikeOnce(kIdleAdvanceRpm, kCodesOf));
static_assert(CoversEveryBikeOnce(kInjectionCorrections, kCodesOf));
static_assert(CoversEveryBikeOnce(kExhaustServoAxes, kCodesOf));
static_assert(CoversEveryBikeOnce(kIntakeServoAxes, kCodesOf));

// The advance axes other bikes borrow, by their row above.
constexpr const RpmPoints& kFirstAxis = kAdvanceAxes[0].values;
constexpr const RpmPoints& kThirdAxis = kAdvanceAxes[2].values;
constexpr const RpmPoints& kFourthAxis = kAdvanceAxes[3].values;

template <class Groups>
const auto& ValuesFor(const Groups& groups, int code) {
    return FindGroup(groups, code)->values;
}

}  // namespace

std::span<const Choice<15>> AdvanceAxes() {
    return kAdvanceAxes;
}
std::span<const Choice<8>> PressureSensors() {
    return kPressureSensors;
}
std::span<const Choice<7>> GearVoltages() {
    return kGearVoltages;
}
std::span<const Choice<18>> TemperatureCurves() {
    return kTemperatureCurves;
}
std::span<const Choice<12>> IdleSettingsTables() {
    return kIdleSettings;
}
std::span<const Choice<9>> IdleServoRpms() {
    return kIdleServoRpm;
}
std::span<const Choice<9>> IdleAdvanceRpms() {
    return kIdleAdvanceRpm;
}
std::span<const Choice<10>> InjectionCorrections() {
    return kInjectionCorrections;
}
std::span<const Choice<15>> ExhaustServoAxes() {
    return kExhaustServoAxes;
}
std::span<const Choice<15>> IntakeServoAxes() {
    return kIntakeServoAxes;
}

}  // namespace kestrin::defaults

namespace kestrin {

std::optional<BikeTables> DefaultBikeTables(int code) {
    using namespace defaults;
    if (!IsBikeCode(code)) return std::nullopt;
    const bool wide = kWideBaseTableCodes.contains(code);

    BikeTables t;
    t.advanceAxis = &ValuesFor(kAdvanceAxes, code);
    t.advance = FindGroup(AdvanceTables(), code)->values;
    t.injectionAxis = code == 53 ? &kInjectionAxis53 : code == 54 ? &kThirdAxis : t.advanceAxis;
    t.iapAxis = code == 53 ? &kIapAxis53 : code == 54 ? &kThirdAxis : t.advanceAxis;
    t.jetBAxis = code == 53   ? &kFirstAxis
                 : code == 54 ? &kThirdAxis
                 : code == 57 ? &kFourthAxis
                              : t.advanceAxis;
    t.positionAxis = code == 53 ? &kFirstAxis : code == 54 ? &kThirdAxis : t.advanceAxis;

    // Code 53 keeps its base tables at its own axes; code 54 has narrow TPS and wide IAP tables.
    const std::span<const std::uint16_t> tpsPoints =
        code == 53           ? std::span<const std::uint16_t>(kInjectionAxis53)
        : wide && code != 54 ? std::span<const std::uint16_t>(kBasePoints15)
                             : std::span<const std::uint16_t>(kBasePoints10);
    const std::span<const std::uint16_t> iapPoints =
        code == 53   ? std::span<const std::uint16_t>(kIapAxis53)
        : code == 54 ? std::span<const std::uint16_t>(kThirdAxis)
        : wide       ? std::span<const std::uint16_t>(kBasePoints15)
                     : std::span<const std::uint16_t>(kBasePoints10);
    t.outer = {FindGroup(OuterBaseTables(), code)->values, tpsPoints};
    t.inner = {FindGroup(InnerBaseTables(), code)->values, tpsPoints};
    t.iap = {FindGroup(IapBaseTables(), code)->values, iapPoints};
    t.iapWideLoads = wide;

    t.jetB = FindGroup(JetBMaps(), code)->values;
    t.position = &ValuesFor(PositionTables(), code);

    const ServoGroup* intake = FindGroup(IntakeServoTables(), code);
    t.intakeServo = {intake->hysteresis, &ValuesFor(kIntakeServoAxes, code), intake->map};
    const ServoGroup* exhaust = FindGroup(ExhaustServoTables(), code);
    t.exhaustServo = {exhaust->hysteresis, &ValuesFor(kExhaustServoAxes, code), exhaust->map};

    t.injectionCorrections = &ValuesFor(kInjectionCorrections, code);
    t.idle = &ValuesFor(kIdleSettings, code);
    t.idleServoRpm = &ValuesFor(kIdleServoRpm, code);
    t.idleAdvanceRpm = &ValuesFor(kIdleAdvanceRpm, code);
    t.gearVoltages = &ValuesFor(kGearVoltages, code);
    t.pressureSensors = &ValuesFor(kPressureSensors, code);
    t.temperatureCurves = &ValuesFor(kTemperatureCurves, code);
    t.smallSettings = {static_cast<std::uint8_t>(rules::kStartInjection.Value(code)),
                       static_cast<std::uint8_t>(rules::kRpmPulses.Value(code)),
                       static_cast<std::uint8_t>(rules::kFallActiveClosed.Value(code)),
                       static_cast<std::uint8_t>(rules::kBlockingInput.Value(code))};
    return t;
}

}  // namespace kestrin

#pragma once
// The default tables of all bikes. Each table names the bike codes that use it; the rules below
// name the codes that take a value other than the usual one.

#include <array>
#include <cstdint>
#include <span>

#include "model/Bikes.h"

namespace kestrin::defaults {

// Values shared by the bikes of `codes`.
template <std::size_t N>
struct Choice {
    CodeSet codes;
    std::array<std::uint16_t, N> values;
};

// A field whose default depends on the bike: the first choice holding the code, else `otherwise`.
template <std::size_t N>
struct PerCode {
    std::span<const Choice<N>> choices;
    std::array<std::uint16_t, N> otherwise;

    constexpr const std::array<std::uint16_t, N>& For(int code) const {
        for (const auto& c : choices)
            if (c.codes.contains(code)) return c.values;
        return otherwise;
    }
    constexpr std::uint16_t Value(int code) const requires(N == 1) { return For(code)[0]; }
};

template <class T>
struct TableGroup {
    CodeSet codes;
    std::span<const T> values;
};

// The codes a table group covers, for the compile-time coverage checks.
inline constexpr auto kCodesOf = [](const auto& g) { return g.codes; };

// Every bike's table holds ten rows of as many values as its RPM points.
consteval bool BaseSizesFit(std::span<const TableGroup<std::uint16_t>> tables, bool iap) {
    for (const auto& g : tables)
        for (int code = 0; code < kBikeCodeCount; ++code) {
            if (!g.codes.contains(code)) continue;
            const bool wide = kWideBaseTableCodes.contains(code) && (iap || code != 54);
            if (g.values.size() != (wide ? 150u : 100u)) return false;
        }
    return true;
}

struct ServoGroup {
    CodeSet codes;
    std::uint16_t hysteresis;            // mV
    std::span<const std::uint16_t> map;  // 15 values by RPM point, or 150 cells
};

// RPM axes, sensors, idle, corrections. Every code is in exactly one choice.
std::span<const Choice<15>> AdvanceAxes();
std::span<const Choice<8>> PressureSensors();
std::span<const Choice<7>> GearVoltages();
std::span<const Choice<18>> TemperatureCurves();
std::span<const Choice<12>> IdleSettingsTables();
std::span<const Choice<9>> IdleServoRpms();
std::span<const Choice<9>> IdleAdvanceRpms();
std::span<const Choice<10>> InjectionCorrections();
std::span<const Choice<15>> ExhaustServoAxes();
std::span<const Choice<15>> IntakeServoAxes();

// The long tables.
std::span<const TableGroup<std::uint8_t>> AdvanceTables();  // 15 values, or 150 by load
std::span<const TableGroup<std::uint8_t>> JetBMaps();       // 150 cells
std::span<const Choice<32>> PositionTables();
std::span<const ServoGroup> IntakeServoTables();
std::span<const ServoGroup> ExhaustServoTables();
std::span<const TableGroup<std::uint16_t>> OuterBaseTables();  // 10 rows of 10 or 15 points
std::span<const TableGroup<std::uint16_t>> InnerBaseTables();
std::span<const TableGroup<std::uint16_t>> IapBaseTables();

// RPM points of the base tables.
inline constexpr std::array<std::uint16_t, 10> kBasePoints10 = {1000, 2000,  3000,  4000,  6000,
                                                                8000, 10000, 12000, 14000, 16000};
inline constexpr std::array<std::uint16_t, 15> kBasePoints15 = {
    1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000, 12000, 13000, 14000, 16000};

// The bike-dependent fields of the defaults, as code lists.
namespace rules {
inline constexpr Choice<1> kAllEqualInjectorsList[] = {{"47, 50, 53, 54, 55, 57", {2}}};
inline constexpr PerCode<1> kInjectorMode{kAllEqualInjectorsList, {1}};

inline constexpr Choice<1> kBlockingList[] = {{"54, 57", {1}}};
inline constexpr PerCode<1> kBlockingInput{kBlockingList, {0}};  // byte 23
inline constexpr Choice<1> kFallOpenList[] = {
    {"9, 10, 14, 15, 17, 18, 20, 23, 26, 27, 29, 34, 35, 37, 39, 40, 41, 42, 45, 47, 49, 51..55, "
     "59",
     {0}}};
inline constexpr PerCode<1> kFallActiveClosed{kFallOpenList, {1}};  // byte 24
inline constexpr Choice<1> kOnePulseList[] = {
    {"6, 11..16, 20, 23..26, 29, 32, 33, 37..41, 44, 45, 49, 50, 52, 53, 58", {1}}};
inline constexpr PerCode<1> kRpmPulses{kOnePulseList, {2}};  // byte 36
inline constexpr Choice<1> kIntakePortList[] = {{"55", {100}}};
inline constexpr PerCode<1> kIntakePortRpm{kIntakePortList, {90}};  // byte 38

inline constexpr Choice<1> kBaseAdvanceList[] = {
    {"4, 11, 12, 22, 31, 32, 33, 39, 42, 59", {10}},
    {"7, 14, 19, 20, 23, 29, 38, 41, 48, 50", {13}},
    {"0, 5, 43, 44, 45, 53, 58", {5}},
    {"2, 3, 6, 21, 28, 46, 56", {11}},
    {"1, 16, 24, 25, 30", {0}},
    {"13, 15, 18, 35", {12}},
    {"17, 27, 51", {7}},
    {"26, 49", {15}},
    {"57", {14}},
};
inline constexpr PerCode<1> kBaseAdvance{kBaseAdvanceList, {8}};  // byte 45
inline constexpr Choice<1> kLobeWidthList[] = {{"33", {40}}, {"44", {60}}};
inline constexpr PerCode<1> kLobeWidth{kLobeWidthList, {50}};  // byte 46

inline constexpr Choice<4> kSwitchOverList[] = {{"53, 57", {3, 5, 30, 40}}};
inline constexpr PerCode<4> kIapSwitchOver{kSwitchOverList, {2, 5, 20, 30}};  // bytes 48..51

inline constexpr Choice<3> kAfterStartList[] = {{"53", {50, 20, 15}}};
inline constexpr PerCode<3> kAfterStart{kAfterStartList, {150, 50, 30}};  // bytes 71..73
inline constexpr Choice<1> kAccelThresholdList[] = {
    {"7, 8, 19, 26, 34, 36, 46, 47, 48, 49, 54, 55", {20}},
    {"50", {22}},
    {"53", {15}},
    {"57", {18}}};
inline constexpr PerCode<1> kAccelThreshold{kAccelThresholdList, {30}};  // byte 90
inline constexpr Choice<1> kAccelSizeList[] = {{"7, 19, 26, 34, 47, 48, 49, 55", {36}},
                                               {"45, 54, 57", {30}},
                                               {"8, 36", {34}},
                                               {"46", {78}},
                                               {"50", {40}},
                                               {"53", {50}}};
inline constexpr PerCode<1> kAccelSize{kAccelSizeList, {84}};  // byte 91
inline constexpr Choice<1> kStartInjectionList[] = {
    {"13, 14, 15, 26, 29, 34, 38, 39, 47, 49, 50, 54, 55", {13}},
    {"8, 12, 23, 36, 42, 45, 59", {12}},
    {"24, 58", {20}},
    {"53", {50}},
    {"57", {15}}};
inline constexpr PerCode<1> kStartInjection{kStartInjectionList, {10}};  // byte 92
inline constexpr Choice<4> kAccelCorrectionList[] = {{"47, 55", {100, 100, 100, 300}},
                                                     {"53", {150, 150, 50, 60}},
                                                     {"54", {100, 100, 50, 300}},
                                                     {"57", {20, 20, 300, 300}}};
inline constexpr PerCode<4> kAccelCorrection{kAccelCorrectionList,
                                             {0, 0, 50, 60}};  // words 166..169

inline constexpr Choice<1> kTps0List[] = {{"2, 3, 4, 5, 21, 22, 28, 31, 46, 56", {50}},
                                          {"17, 18, 27, 35, 38, 42, 51, 59", {66}},
                                          {"34, 47, 55, 57", {69}},
                                          {"7, 19, 48", {103}},
                                          {"8, 36, 43", {62}},
                                          {"1, 30", {34}},
                                          {"9, 10", {108}},
                                          {"24, 58", {48}},
                                          {"0", {65}},
                                          {"39", {64}},
                                          {"45", {58}},
                                          {"50", {118}},
                                          {"53", {59}},
                                          {"54", {107}}};
inline constexpr PerCode<1> kTps0{kTps0List, {110}};  // byte 33
inline constexpr Choice<1> kTps100List[] = {{"2, 3, 4, 5, 21, 22, 28, 31, 46, 56", {192}},
                                            {"17, 18, 27, 35, 42, 51, 59", {139}},
                                            {"8, 36, 57", {147}},
                                            {"34, 47, 55", {158}},
                                            {"1, 30", {223}},
                                            {"9, 10", {169}},
                                            {"24, 58", {198}},
                                            {"26, 49", {195}},
                                            {"0", {153}},
                                            {"38", {156}},
                                            {"39", {167}},
                                            {"43", {144}},
                                            {"45", {140}},
                                            {"53", {162}}};
inline constexpr PerCode<1> kTps100{kTps100List, {180}};  // byte 34

inline constexpr Choice<1> kIntakeServoOnList[] = {
    {"7, 8, 11, 12, 13, 14, 17, 19, 20, 23, 26, 27, 34, 36, 41, 47, 48, 49, 50, 51, 52, 54, 55, 57",
     {1}}};
inline constexpr PerCode<1> kIntakeServoOn{kIntakeServoOnList, {0}};  // byte 59
inline constexpr Choice<1> kIntakePercentList[] = {{"7, 8, 19, 26, 36, 48, 49, 51, 54, 57", {1}}};
inline constexpr PerCode<1> kIntakePercent{kIntakePercentList, {0}};  // byte 63
inline constexpr Choice<1> kStepMotorList[] = {{"7, 19, 26, 36, 45, 48, 49, 53, 54, 57", {1}}};
inline constexpr PerCode<1> kStepMotor{kStepMotorList, {0}};  // byte 66
inline constexpr Choice<1> kIntakeModeList[] = {
    {"7, 8, 19, 26, 34, 36, 47, 48, 49, 50, 51, 52, 54, 55, 57", {0}}};
inline constexpr PerCode<1> kIntakeMode{kIntakeModeList, {1}};  // byte 65: 0 by RPM and TPS
inline constexpr Choice<1> kExhaustServoOnList[] = {
    {"4, 7, 8, 13, 14, 17, 19, 21, 26, 27, 34, 36, 42, 45, 47, 48, 49, 51, 55, 56, 57, 59", {1}}};
inline constexpr PerCode<1> kExhaustServoOn{kExhaustServoOnList, {0}};  // byte 58
inline constexpr Choice<1> kExhaustPercentList[] = {{"8, 19, 36, 48, 51, 57", {1}}};
inline constexpr PerCode<1> kExhaustPercent{kExhaustPercentList, {0}};  // byte 62

inline constexpr Choice<1> kSpeedometerList[] = {{"8, 36", {125}},      {"17, 27, 51", {970}},
                                                 {"34, 47, 55", {869}}, {"48", {286}},
                                                 {"54", {1075}},        {"57", {952}}};
inline constexpr PerCode<1> kSpeedometer{kSpeedometerList, {1000}};  // word 80

inline constexpr Choice<1> kGearDetectionList[] = {
    {"8, 11, 12, 13, 14, 15, 20, 23, 26, 29, 36, 41, 45, 48, 49, 53, 57", {0}}, {"54", {1}}};
inline constexpr PerCode<1> kGearDetection{kGearDetectionList, {3}};  // byte 136
inline constexpr Choice<6> kGearRatioList[] = {{"54", {821, 607, 476, 419, 372, 345}}};
inline constexpr PerCode<6> kGearRatios{kGearRatioList,
                                        {2000, 1000, 666, 500, 400, 333}};  // words 81..86
}  // namespace rules

}  // namespace kestrin::defaults

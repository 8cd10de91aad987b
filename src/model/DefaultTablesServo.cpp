// Default servo tables: hysteresis and map of the intake and exhaust servos. The RPM axes of the
// servos come from the servo axis tables (DefaultTablesSettings.cpp).
//
// Modelled maps open the servo with engine speed along a few set points (by RPM), or with engine
// speed and throttle together from an idle position (by RPM and TPS). Maps in percent run 0..100;
// the others are positions in mV, kept to multiples of 20 because the image stores them / 20.
#include <array>
#include <cstdint>

#include "model/DefaultTables.h"
#include "model/ParameterImage.h"

namespace kestrin::defaults {
namespace {

// clang-format off
// Generic: modelled, by RPM, 1000..4000 mV, hysteresis 100 mV.
constexpr std::uint16_t kIntakeGeneric[] = {
    1000, 1140, 1260, 1400, 2140, 2500, 2860, 3240, 3600, 3660, 3740, 3800, 3860, 3940, 4000,
};
// Suzuki: reference curve, hysteresis 100 mV.
constexpr std::uint16_t kIntakeSuzuki[] = {
    100, 105, 110, 115, 120, 122, 125, 127, 130, 132, 135, 137, 140, 142, 145,
};
// Zx6rr: modelled, by RPM and TPS, opening with both, 8..100 %, hysteresis 50 mV.
constexpr std::uint16_t kIntakeZx6rr[] = {
      8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,   8,
     11,  11,  12,  12,  14,  14,  15,  16,  16,  17,  17,  17,  17,  17,  17,
     13,  13,  14,  16,  18,  19,  20,  21,  22,  23,  23,  23,  23,  23,  23,
     16,  16,  18,  19,  23,  24,  26,  28,  29,  31,  31,  31,  31,  31,  31,
     20,  20,  23,  25,  30,  33,  35,  38,  40,  43,  43,  43,  43,  43,  43,
     24,  24,  27,  30,  37,  40,  43,  46,  49,  53,  53,  53,  53,  53,  53,
     27,  27,  30,  34,  42,  46,  50,  53,  57,  61,  61,  61,  61,  61,  61,
     32,  32,  37,  41,  51,  56,  61,  66,  71,  76,  76,  76,  76,  76,  76,
     36,  36,  42,  48,  59,  65,  71,  77,  83,  88,  88,  88,  88,  88,  88,
     40,  40,  47,  53,  67,  73,  80,  87,  93, 100, 100, 100, 100, 100, 100,
};
// Zx10: modelled, by RPM and TPS, opening with both, 6..100 %, hysteresis 50 mV.
constexpr std::uint16_t kIntakeZx10[] = {
      6,   6,   6,   6,   6,   6,   6,   6,   6,   6,   6,   6,   6,   6,   6,
      9,   9,  10,  10,  12,  13,  13,  14,  15,  15,  15,  15,  15,  15,  15,
     11,  11,  12,  13,  16,  18,  19,  20,  22,  22,  22,  22,  22,  22,  22,
     14,  14,  15,  17,  21,  23,  26,  28,  30,  30,  30,  30,  30,  30,  30,
     19,  19,  20,  23,  29,  32,  36,  39,  42,  42,  42,  42,  42,  42,  42,
     22,  22,  24,  28,  36,  40,  44,  48,  52,  52,  52,  52,  52,  52,  52,
     25,  25,  27,  32,  41,  46,  51,  56,  60,  60,  60,  60,  60,  60,  60,
     30,  30,  33,  39,  51,  57,  63,  69,  75,  75,  75,  75,  75,  75,  75,
     35,  35,  38,  45,  60,  67,  74,  81,  88,  88,  88,  88,  88,  88,  88,
     39,  39,  43,  51,  67,  76,  84,  92, 100, 100, 100, 100, 100, 100, 100,
};
// Gsxr: modelled, by RPM and TPS, opening with both, 7..100 %, hysteresis 50 mV.
constexpr std::uint16_t kIntakeGsxr[] = {
      7,   7,   7,   7,   7,   7,   7,   7,   7,   7,   7,   7,   7,   7,   7,
     10,  10,  11,  11,  13,  14,  14,  15,  16,  16,  16,  16,  16,  16,  16,
     12,  12,  14,  15,  17,  18,  19,  21,  22,  22,  22,  22,  22,  22,  22,
     15,  15,  17,  19,  22,  24,  26,  28,  29,  30,  30,  30,  30,  30,  30,
     19,  19,  22,  25,  30,  33,  36,  38,  41,  42,  42,  42,  42,  42,  42,
     23,  23,  26,  30,  37,  40,  44,  47,  50,  52,  52,  52,  52,  52,  52,
     26,  26,  30,  34,  42,  46,  50,  55,  59,  61,  61,  61,  61,  61,  61,
     31,  31,  36,  41,  52,  57,  62,  68,  73,  75,  75,  75,  75,  75,  75,
     35,  35,  42,  48,  60,  67,  73,  79,  85,  88,  88,  88,  88,  88,  88,
     40,  40,  47,  54,  68,  75,  82,  89,  96, 100, 100, 100, 100, 100, 100,
};
// Fz1: modelled, by RPM and TPS, opening with both, 5..100 %, hysteresis 50 mV.
constexpr std::uint16_t kIntakeFz1[] = {
      5,   5,   5,   5,   5,   5,   5,   5,   5,   5,   5,   5,   5,   5,   5,
      8,   8,   8,   9,  11,  12,  13,  14,  14,  14,  14,  14,  14,  14,  14,
     11,  11,  11,  12,  16,  17,  19,  21,  21,  21,  21,  21,  21,  21,  21,
     13,  13,  13,  16,  21,  24,  26,  29,  29,  29,  29,  29,  29,  29,  29,
     18,  18,  18,  22,  29,  33,  37,  41,  41,  41,  41,  41,  41,  41,  41,
     21,  21,  21,  26,  36,  41,  46,  51,  51,  51,  51,  51,  51,  51,  51,
     24,  24,  24,  30,  42,  48,  54,  60,  60,  60,  60,  60,  60,  60,  60,
     29,  29,  29,  37,  52,  60,  67,  75,  75,  75,  75,  75,  75,  75,  75,
     34,  34,  34,  43,  61,  70,  79,  88,  88,  88,  88,  88,  88,  88,  88,
     38,  38,  38,  49,  69,  79,  90, 100, 100, 100, 100, 100, 100, 100, 100,
};
// Zx12: modelled, by RPM and TPS, opening with both, 10..100 %, hysteresis 50 mV.
constexpr std::uint16_t kIntakeZx12[] = {
     10,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,  10,
     13,  13,  14,  15,  17,  18,  19,  19,  19,  19,  19,  19,  19,  19,  19,
     15,  15,  17,  18,  22,  23,  25,  25,  25,  25,  25,  25,  25,  25,  25,
     18,  18,  20,  23,  28,  30,  33,  33,  33,  33,  33,  33,  33,  33,  33,
     22,  22,  26,  29,  37,  41,  44,  44,  44,  44,  44,  44,  44,  44,  44,
     25,  25,  30,  35,  44,  49,  54,  54,  54,  54,  54,  54,  54,  54,  54,
     28,  28,  34,  39,  51,  56,  62,  62,  62,  62,  62,  62,  62,  62,  62,
     33,  33,  40,  48,  62,  69,  76,  76,  76,  76,  76,  76,  76,  76,  76,
     38,  38,  46,  55,  72,  80,  89,  89,  89,  89,  89,  89,  89,  89,  89,
     42,  42,  51,  61,  80,  90, 100, 100, 100, 100, 100, 100, 100, 100, 100,
};
// Gsxr1000: modelled, by RPM, 1000..4800 mV, hysteresis 100 mV.
constexpr std::uint16_t kIntakeGsxr1000[] = {
    1000, 1040, 1400, 1820, 2240, 2640, 3060, 3480, 3900, 4200, 4500, 4800, 4800, 4800, 4800,
};
// Cbr1000: modelled, by RPM, 800..4800 mV, hysteresis 100 mV.
constexpr std::uint16_t kIntakeCbr1000[] = {
     800,  800, 1300, 1740, 2180, 2620, 3080, 3520, 3960, 4400, 4600, 4800, 4800, 4800, 4800,
};
// Honda: modelled, switched at 2600 and 6400 rpm, mV, hysteresis 100 mV.
constexpr std::uint16_t kIntakeHonda[] = {
    1000, 3000, 3000, 4400, 4400, 4400, 4400, 4400, 4400, 4400, 4400, 4400, 4400, 4400, 4400,
};
// Yamaha: modelled, by RPM and TPS, opening with both, 760..5000 mV, hysteresis 75 mV.
constexpr std::uint16_t kIntakeYamaha[] = {
     760,  760,  760,  760,  760,  760,  760,  760,  760,  760,  760,  760,  760,  760,  760,
     900,  900,  920,  940,  980, 1000, 1020, 1060, 1080, 1120, 1160, 1160, 1160, 1160, 1160,
    1000, 1000, 1020, 1080, 1120, 1180, 1220, 1280, 1320, 1400, 1460, 1460, 1460, 1460, 1460,
    1140, 1140, 1160, 1240, 1320, 1380, 1460, 1540, 1600, 1720, 1820, 1820, 1820, 1820, 1820,
    1320, 1320, 1380, 1500, 1600, 1720, 1820, 1940, 2040, 2200, 2380, 2380, 2380, 2380, 2380,
    1480, 1480, 1560, 1700, 1840, 1980, 2120, 2260, 2400, 2600, 2820, 2820, 2820, 2820, 2820,
    1620, 1620, 1700, 1860, 2040, 2200, 2360, 2540, 2700, 2960, 3200, 3200, 3200, 3200, 3200,
    1860, 1860, 1960, 2180, 2380, 2600, 2820, 3020, 3240, 3560, 3880, 3880, 3880, 3880, 3880,
    2060, 2060, 2180, 2440, 2700, 2940, 3200, 3460, 3700, 4080, 4460, 4460, 4460, 4460, 4460,
    2240, 2240, 2380, 2680, 2960, 3260, 3540, 3840, 4120, 4560, 5000, 5000, 5000, 5000, 5000,
};
// R1: modelled, by RPM, 1000..4800 mV, hysteresis 75 mV.
constexpr std::uint16_t kIntakeR1[] = {
    1000, 1000, 1200, 2400, 3180, 3380, 3580, 3920, 4200, 4800, 4800, 4800, 4800, 4800, 4800,
};
// Triumph: modelled, by RPM, 1000..4800 mV, hysteresis 100 mV.
constexpr std::uint16_t kIntakeTriumph[] = {
    1200, 1000, 1400, 1840, 2260, 2700, 3140, 3560, 4000, 4260, 4540, 4800, 4800, 4800, 4800,
};
// Gsx1400: modelled, by RPM and TPS, opening with both, 1960..5000 mV, hysteresis 75 mV.
constexpr std::uint16_t kIntakeGsx1400[] = {
    1960, 1960, 1960, 1960, 1960, 1960, 1960, 1960, 1960, 1960, 1960, 1960, 1960, 1960, 1960,
    2060, 2060, 2080, 2100, 2120, 2140, 2140, 2160, 2180, 2200, 2220, 2240, 2260, 2260, 2260,
    2140, 2140, 2160, 2200, 2220, 2260, 2280, 2320, 2340, 2380, 2400, 2440, 2460, 2460, 2460,
    2220, 2220, 2280, 2320, 2360, 2400, 2460, 2500, 2540, 2580, 2640, 2680, 2720, 2720, 2720,
    2360, 2360, 2440, 2500, 2580, 2640, 2700, 2780, 2840, 2920, 2980, 3040, 3120, 3120, 3120,
    2480, 2480, 2560, 2660, 2740, 2820, 2920, 3000, 3080, 3180, 3260, 3340, 3440, 3440, 3440,
    2580, 2580, 2680, 2780, 2880, 2980, 3100, 3200, 3300, 3400, 3500, 3620, 3720, 3720, 3720,
    2740, 2740, 2880, 3000, 3140, 3280, 3400, 3540, 3660, 3800, 3940, 4060, 4200, 4200, 4200,
    2900, 2900, 3040, 3200, 3360, 3520, 3680, 3840, 4000, 4140, 4300, 4460, 4620, 4620, 4620,
    3020, 3020, 3200, 3380, 3560, 3740, 3920, 4100, 4280, 4460, 4640, 4820, 5000, 5000, 5000,
};


// Generic: modelled, by RPM, 1200..4000 mV, hysteresis 100 mV.
constexpr std::uint16_t kExhaustGeneric[] = {
    1200, 1340, 1460, 1600, 2320, 2680, 3040, 3400, 3520, 3640, 3760, 3880, 4000, 4000, 4000,
};
// Suzuki: reference curve, hysteresis 100 mV.
constexpr std::uint16_t kExhaustSuzuki[] = {
    100, 105, 110, 115, 120, 122, 125, 127, 130, 132, 135, 137, 140, 142, 145,
};
// Single: modelled, by RPM, 600..4400 mV, hysteresis 75 mV.
constexpr std::uint16_t kExhaustSingle[] = {
     600,  700,  800, 1540, 3000, 3460, 3940, 4400, 4400, 4400, 4400, 4400, 4400, 4400, 4400,
};
// Zx6rr03: modelled, by RPM, 600..4400 mV, hysteresis 100 mV.
constexpr std::uint16_t kExhaustZx6rr03[] = {
     600,  600,  600,  600, 4400, 4400, 4400, 4400, 4400, 4400, 4400, 4400, 4400, 4400, 4400,
};
// Zx10: modelled, by RPM, 5..100 %, hysteresis 50 mV.
constexpr std::uint16_t kExhaustZx10[] = {
      5,   5,   5,  10,  90,  93, 100, 100, 100, 100, 100, 100, 100, 100, 100,
};
// Zx6rr: modelled, by RPM, 0..100 %, hysteresis 50 mV.
constexpr std::uint16_t kExhaustZx6rr[] = {
      0,   4,   5,  20,  85,  88,  94, 100, 100, 100, 100, 100, 100, 100, 100,
};
// Fz1: modelled, by RPM, 0..100 %, hysteresis 50 mV.
constexpr std::uint16_t kExhaustFz1[] = {
      0,   0,   0,  30,  32,  40,  60,  70,  80,  90, 100, 100, 100, 100, 100,
};
// Gsxr1000: modelled, by RPM, 1000..4800 mV, hysteresis 100 mV.
constexpr std::uint16_t kExhaustGsxr1000[] = {
    4000, 1000, 1200, 1600, 2000, 2400, 2800, 3200, 3600, 3940, 4260, 4600, 4800, 4800, 4800,
};
// Sxv: modelled, by RPM, 1000..4200 mV, hysteresis 125 mV.
constexpr std::uint16_t kExhaustSxv[] = {
    1000, 1040, 1400, 1800, 2200, 2600, 3000, 3400, 3560, 3720, 3880, 4040, 4200, 4200, 4200,
};
// Cbr1000: modelled, by RPM, 1000..4600 mV, hysteresis 100 mV.
constexpr std::uint16_t kExhaustCbr1000[] = {
    4000, 4000, 1000, 1520, 2020, 2540, 3060, 3580, 4080, 4600, 4600, 4600, 4600, 4600, 4600,
};
// SuzukiV: modelled, by RPM, 1000..4000 mV, hysteresis 125 mV.
constexpr std::uint16_t kExhaustSuzukiV[] = {
    1000, 1060, 1200, 1600, 2000, 2400, 2800, 3100, 3400, 3700, 4000, 4000, 4000, 4000, 4000,
};
// Honda: modelled, switched at 2600 and 6400 rpm, mV, hysteresis 100 mV.
constexpr std::uint16_t kExhaustHonda[] = {
     700, 4300, 4300, 2400, 2400, 4300, 4300, 4300, 4300, 4300, 4300, 4300, 4300, 4300, 4300,
};
// Yamaha: modelled, by RPM, 1000..4800 mV, hysteresis 75 mV.
constexpr std::uint16_t kExhaustYamaha[] = {
    4000, 4000, 1500, 1000, 1800, 2160, 2500, 3060, 3560, 4600, 4800, 4800, 4800, 4800, 4800,
};
// R1: modelled, by RPM, 1000..4800 mV, hysteresis 75 mV.
constexpr std::uint16_t kExhaustR1[] = {
    4000, 1000, 1000, 2200, 3000, 3220, 3440, 3800, 4120, 4800, 4800, 4800, 4800, 4800, 4800,
};
// Triumph: modelled, by RPM, 1000..4800 mV, hysteresis 100 mV.
constexpr std::uint16_t kExhaustTriumph[] = {
    3000, 1000, 1200, 1700, 2200, 2700, 3200, 3700, 4200, 4700, 4800, 4800, 4800, 4800, 4800,
};

// clang-format on

constexpr std::array<ServoGroup, 14> kIntakeServoTables{{
    {"0..3, 5, 6, 9, 10, 15, 16, 18, 24, 25, 28..30, 32, 33, 35, 42..44, 46, 58, 59", 100,
     kIntakeGeneric},
    {"11, 12, 20, 23, 41", 100, kIntakeSuzuki},
    {"7, 19, 48", 50, kIntakeZx6rr},
    {"8, 36, 57", 50, kIntakeZx10},
    {"26, 49", 50, kIntakeGsxr},
    {"51", 50, kIntakeFz1},
    {"54", 50, kIntakeZx12},
    {"13, 14, 38, 39", 100, kIntakeGsxr1000},
    {"21, 37, 40, 56", 100, kIntakeCbr1000},
    {"4, 22, 31", 100, kIntakeHonda},
    {"34, 47, 55", 75, kIntakeYamaha},
    {"17, 27", 75, kIntakeR1},
    {"45, 53", 100, kIntakeTriumph},
    {"50, 52", 75, kIntakeGsx1400},
}};

constexpr std::array<ServoGroup, 15> kExhaustServoTables{{
    {"0..3, 5, 6, 9, 10, 15, 16, 18, 24, 25, 28..30, 32, 33, 35, 43, 44, 46, 50, 52, 54, 58", 100,
     kExhaustGeneric},
    {"11, 12, 20, 23, 41", 100, kExhaustSuzuki},
    {"42, 59", 75, kExhaustSingle},
    {"7", 100, kExhaustZx6rr03},
    {"8, 36, 57", 50, kExhaustZx10},
    {"19, 48", 50, kExhaustZx6rr},
    {"51", 50, kExhaustFz1},
    {"13, 14, 26, 49", 100, kExhaustGsxr1000},
    {"38, 39", 125, kExhaustSxv},
    {"21, 56", 100, kExhaustCbr1000},
    {"37, 40", 125, kExhaustSuzukiV},
    {"4, 22, 31", 100, kExhaustHonda},
    {"34, 47, 55", 75, kExhaustYamaha},
    {"17, 27", 75, kExhaustR1},
    {"45, 53", 100, kExhaustTriumph},
}};

consteval bool IntakeSizesFit() {
    for (const auto& g : kIntakeServoTables)
        for (int code = 0; code < kBikeCodeCount; ++code)
            if (g.codes.contains(code) &&
                g.map.size() != (rules::kIntakeMode.Value(code) == 0 ? 150u : 15u))
                return false;
    return true;
}
consteval bool ExhaustSizesFit() {
    for (const auto& g : kExhaustServoTables)
        if (g.map.size() != 15u) return false;
    return true;
}
static_assert(CoversEveryBikeOnce(kIntakeServoTables, kCodesOf));
static_assert(CoversEveryBikeOnce(kExhaustServoTables, kCodesOf));
static_assert(IntakeSizesFit());
static_assert(ExhaustSizesFit());

}  // namespace

std::span<const ServoGroup> IntakeServoTables() {
    return kIntakeServoTables;
}
std::span<const ServoGroup> ExhaustServoTables() {
    return kExhaustServoTables;
}

}  // namespace kestrin::defaults

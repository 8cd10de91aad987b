// Default advance tables, injection-B maps and injection-position tables.
//
// Modelled advance curves run through the idle advance at 1000 rpm, rise to near the maximum by
// 3000 rpm, dip a little where the engine fills best, reach the maximum between there and the top
// of the rev range and fall off near the top. Tables by load blend a light-load curve (row 0) into
// a full-load curve (row 9) along the throttle, so advance falls toward high load. Modelled B maps
// give the B injectors a share of a full-load row only from 40 % throttle up.
#include <array>
#include <cstdint>

#include "model/DefaultTables.h"
#include "model/ParameterImage.h"

namespace kestrin::defaults {
namespace {

// clang-format off
// Gsxr600: reference curve.
constexpr std::uint8_t kAdvanceGsxr600[] = {
    16, 30, 38, 35, 39, 40, 40, 40, 39, 39, 39, 37, 34, 34, 34,
};
// Cbr600: modelled, 12 deg at idle, 42 deg at most, 4 deg less at 7000 rpm.
constexpr std::uint8_t kAdvanceCbr600[] = {
    12, 30, 40, 40, 38, 38, 39, 40, 41, 42, 41, 40, 39, 38, 38,
};
// Zx6: modelled, 14 deg at idle, 41 deg at most, 3 deg less at 7500 rpm.
constexpr std::uint8_t kAdvanceZx6[] = {
    14, 30, 39, 39, 38, 38, 38, 39, 40, 41, 40, 39, 38, 37, 37,
};
// R6: modelled, 12 deg at idle, 43 deg at most, 4 deg less at 8000 rpm.
constexpr std::uint8_t kAdvanceR6[] = {
    12, 31, 41, 41, 40, 39, 39, 40, 41, 42, 42, 41, 39, 38, 38,
};
// Single: modelled, 10 deg at idle, 38 deg at most, 2 deg less at 6000 rpm.
constexpr std::uint8_t kAdvanceSingle[] = {
    10, 27, 36, 36, 36, 36, 37, 38, 38, 36, 35, 34, 32, 32, 32,
};
// Cbr900: modelled, 10 deg at idle, 36 deg at most, 4 deg less at 5500 rpm.
constexpr std::uint8_t kAdvanceCbr900[] = {
    10, 26, 34, 33, 32, 32, 33, 34, 35, 36, 34, 33, 32, 32, 32,
};
// Cbr1000: modelled, 12 deg at idle, 38 deg at most, 4 deg less at 6000 rpm.
constexpr std::uint8_t kAdvanceCbr1000[] = {
    12, 28, 36, 35, 35, 34, 34, 35, 36, 37, 38, 37, 35, 34, 34,
};
// Gsxr750: modelled, 14 deg at idle, 40 deg at most, 4 deg less at 7000 rpm.
constexpr std::uint8_t kAdvanceGsxr750[] = {
    14, 30, 38, 38, 37, 37, 36, 36, 37, 38, 39, 39, 38, 37, 36,
};
// Gsxr1000: modelled, 12 deg at idle, 38 deg at most, 3 deg less at 6500 rpm.
constexpr std::uint8_t kAdvanceGsxr1000[] = {
    12, 28, 36, 36, 35, 35, 35, 36, 36, 38, 37, 36, 35, 34, 34,
};
// R1: modelled, 12 deg at idle, 39 deg at most, 4 deg less at 6500 rpm.
constexpr std::uint8_t kAdvanceR1[] = {
    12, 28, 37, 36, 36, 36, 35, 36, 37, 38, 39, 38, 37, 35, 34,
};
// Peugeot: modelled, 8 deg at idle, 32 deg at most, 2 deg less at 5000 rpm.
constexpr std::uint8_t kAdvancePeugeot[] = {
     8, 22, 30, 30, 30, 30, 31, 32, 30, 28, 28, 28, 28, 28, 28,
};
// BigSingle: modelled, 10 deg at idle, 34 deg at most, 3 deg less at 4000 rpm.
constexpr std::uint8_t kAdvanceBigSingle[] = {
    10, 24, 32, 31, 32, 33, 34, 32, 30, 30, 30, 30, 30, 30, 30,
};
// Mille: modelled, 8 deg at idle, 34 deg at most, 3 deg less at 5000 rpm.
constexpr std::uint8_t kAdvanceMille[] = {
     8, 24, 32, 32, 31, 31, 32, 32, 33, 33, 34, 33, 32, 30, 30,
};
// Ducati: modelled, 6 deg at idle, 33 deg at most, 3 deg less at 5500 rpm.
constexpr std::uint8_t kAdvanceDucati[] = {
     6, 22, 31, 31, 30, 30, 31, 31, 32, 32, 33, 32, 31, 30, 30,
};
// Vtr: modelled, 8 deg at idle, 32 deg at most, 2 deg less at 5500 rpm.
constexpr std::uint8_t kAdvanceVtr[] = {
     8, 22, 30, 30, 30, 30, 30, 31, 31, 31, 32, 31, 30, 29, 29,
};
// Zx12: modelled, 12 deg at idle, 37 deg at most, 4 deg less at 5500 rpm.
constexpr std::uint8_t kAdvanceZx12[] = {
    12, 27, 35, 34, 33, 33, 34, 34, 35, 36, 36, 36, 35, 34, 33,
};
// Gsx1300: modelled, 12 deg at idle, 36 deg at most, 4 deg less at 5000 rpm.
constexpr std::uint8_t kAdvanceGsx1300[] = {
    12, 26, 34, 33, 32, 33, 33, 34, 35, 35, 36, 34, 33, 31, 31,
};
// SuzukiV: modelled, 8 deg at idle, 35 deg at most, 3 deg less at 5000 rpm.
constexpr std::uint8_t kAdvanceSuzukiV[] = {
     8, 24, 33, 32, 32, 32, 33, 34, 34, 34, 35, 34, 32, 31, 31,
};
// BigTwin: modelled, 6 deg at idle, 30 deg at most, 2 deg less at 4000 rpm.
constexpr std::uint8_t kAdvanceBigTwin[] = {
     6, 20, 28, 28, 29, 29, 29, 30, 30, 30, 29, 28, 28, 28, 27,
};
// Zx12B: modelled, 12 deg at idle, 36 deg at most, 4 deg less at 5500 rpm.
constexpr std::uint8_t kAdvanceZx12B[] = {
    12, 12, 22, 33, 32, 32, 33, 33, 34, 34, 35, 36, 34, 33, 32,
};
// Zx10: reference rows 0 and 9, rows between by load.
constexpr std::uint8_t kAdvanceZx10[] = {
     0,  5, 25, 38, 36, 38, 38, 38, 38, 38, 38, 38, 38, 38, 38,
     1,  6, 24, 37, 35, 37, 37, 37, 37, 37, 37, 37, 37, 37, 37,
     1,  6, 24, 35, 35, 36, 36, 36, 36, 36, 36, 36, 36, 36, 36,
     2,  7, 23, 33, 33, 35, 35, 35, 35, 35, 35, 35, 35, 35, 35,
     3,  8, 22, 31, 32, 33, 33, 33, 33, 33, 33, 33, 33, 33, 33,
     4,  9, 21, 29, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31,
     4,  9, 21, 28, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31, 31,
     5, 10, 20, 27, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30,
     5, 10, 20, 27, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30,
     5, 10, 20, 27, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30,
};
// Zx10K8: modelled, light load up to 46 deg, full load up to 32 deg.
constexpr std::uint8_t kAdvanceZx10K8[] = {
     4, 29, 44, 44, 43, 43, 43, 44, 45, 46, 45, 44, 43, 42, 42,
     4, 28, 43, 43, 42, 42, 42, 43, 44, 44, 44, 43, 42, 41, 41,
     4, 27, 41, 41, 40, 40, 40, 41, 42, 42, 42, 41, 40, 39, 39,
     5, 26, 38, 38, 37, 37, 37, 38, 39, 40, 39, 38, 37, 36, 36,
     5, 24, 35, 35, 34, 34, 34, 35, 36, 36, 36, 35, 34, 33, 33,
     6, 23, 33, 33, 32, 32, 32, 33, 34, 34, 34, 33, 32, 31, 31,
     6, 23, 31, 31, 31, 31, 31, 31, 32, 33, 33, 32, 31, 30, 30,
     6, 22, 30, 30, 30, 30, 30, 30, 31, 31, 32, 31, 30, 29, 29,
     6, 22, 30, 30, 30, 30, 30, 30, 31, 31, 32, 31, 30, 29, 29,
     6, 22, 30, 30, 30, 30, 30, 30, 31, 31, 32, 31, 30, 29, 29,
};
// Gsxr1000K5: modelled, light load up to 47 deg, full load up to 33 deg.
constexpr std::uint8_t kAdvanceGsxr1000K5[] = {
     6, 31, 45, 45, 44, 44, 45, 46, 47, 46, 45, 44, 43, 43, 43,
     6, 30, 44, 44, 43, 43, 43, 44, 45, 45, 44, 43, 42, 42, 42,
     6, 29, 42, 42, 41, 41, 41, 42, 43, 43, 42, 41, 40, 40, 40,
     7, 28, 39, 39, 38, 38, 39, 40, 41, 40, 39, 38, 37, 37, 37,
     7, 26, 36, 36, 35, 35, 35, 36, 37, 37, 36, 35, 34, 34, 34,
     8, 24, 34, 34, 33, 33, 33, 34, 35, 35, 34, 33, 32, 32, 32,
     8, 24, 32, 32, 32, 31, 32, 33, 34, 34, 33, 32, 31, 31, 31,
     8, 23, 31, 31, 31, 30, 30, 31, 32, 33, 32, 31, 30, 30, 30,
     8, 23, 31, 31, 31, 30, 30, 31, 32, 33, 32, 31, 30, 30, 30,
     8, 23, 31, 31, 31, 30, 30, 31, 32, 33, 32, 31, 30, 30, 30,
};
// R6r: modelled, light load up to 50 deg, full load up to 38 deg.
constexpr std::uint8_t kAdvanceR6r[] = {
     8, 33, 48, 48, 48, 47, 47, 48, 48, 49, 50, 49, 48, 47, 46,
     8, 32, 47, 47, 47, 46, 46, 47, 47, 48, 49, 48, 47, 46, 45,
     8, 32, 45, 45, 45, 44, 44, 45, 45, 46, 47, 46, 45, 44, 43,
     9, 30, 43, 43, 43, 42, 42, 42, 42, 43, 44, 44, 43, 42, 41,
     9, 29, 40, 40, 40, 40, 39, 39, 39, 40, 41, 42, 41, 40, 39,
    10, 28, 38, 38, 38, 38, 37, 37, 37, 38, 39, 40, 39, 38, 37,
    10, 28, 37, 37, 37, 37, 36, 36, 36, 37, 38, 39, 38, 37, 36,
    10, 27, 36, 36, 36, 36, 35, 35, 35, 36, 37, 38, 37, 36, 35,
    10, 27, 36, 36, 36, 36, 35, 35, 35, 36, 37, 38, 37, 36, 35,
    10, 27, 36, 36, 36, 36, 35, 35, 35, 36, 37, 38, 37, 36, 35,
};
// R1K7: modelled, light load up to 46 deg, full load up to 33 deg.
constexpr std::uint8_t kAdvanceR1K7[] = {
     6, 30, 44, 44, 43, 43, 43, 44, 45, 46, 45, 44, 43, 42, 42,
     6, 29, 43, 43, 42, 42, 42, 43, 44, 45, 44, 43, 42, 41, 41,
     6, 28, 41, 41, 40, 40, 40, 41, 42, 43, 42, 41, 40, 39, 39,
     7, 27, 38, 38, 38, 37, 37, 38, 39, 40, 40, 39, 38, 37, 37,
     7, 25, 35, 35, 35, 34, 34, 35, 36, 37, 37, 36, 35, 34, 34,
     8, 24, 33, 33, 33, 32, 32, 33, 34, 35, 35, 34, 33, 32, 32,
     8, 24, 32, 32, 32, 31, 31, 31, 32, 33, 34, 33, 32, 31, 31,
     8, 23, 31, 31, 31, 30, 30, 30, 31, 32, 33, 32, 31, 30, 30,
     8, 23, 31, 31, 31, 30, 30, 30, 31, 32, 33, 32, 31, 30, 30,
     8, 23, 31, 31, 31, 30, 30, 30, 31, 32, 33, 32, 31, 30, 30,
};
// Sxv: modelled, light load up to 44 deg, full load up to 30 deg.
constexpr std::uint8_t kAdvanceSxv[] = {
     6, 29, 42, 42, 41, 42, 42, 44, 43, 42, 41, 40, 40, 40, 40,
     6, 28, 41, 41, 40, 41, 41, 42, 42, 41, 40, 39, 39, 39, 39,
     6, 27, 39, 39, 38, 39, 39, 40, 40, 39, 38, 37, 37, 37, 37,
     7, 26, 36, 36, 35, 36, 36, 38, 37, 36, 35, 34, 34, 34, 34,
     7, 24, 33, 33, 32, 33, 33, 34, 34, 33, 32, 31, 31, 31, 31,
     8, 22, 31, 31, 30, 31, 31, 32, 32, 31, 30, 29, 29, 29, 29,
     8, 22, 29, 29, 29, 29, 29, 31, 31, 30, 29, 28, 28, 28, 28,
     8, 21, 28, 28, 28, 28, 28, 29, 30, 29, 28, 27, 27, 27, 27,
     8, 21, 28, 28, 28, 28, 28, 29, 30, 29, 28, 27, 27, 27, 27,
     8, 21, 28, 28, 28, 28, 28, 29, 30, 29, 28, 27, 27, 27, 27,
};
// Triple675: modelled, light load up to 48 deg, full load up to 34 deg.
constexpr std::uint8_t kAdvanceTriple675[] = {
     8, 32, 46, 46, 45, 45, 45, 45, 46, 47, 48, 47, 46, 45, 44,
     8, 31, 45, 45, 44, 44, 44, 44, 44, 45, 46, 46, 45, 44, 43,
     8, 30, 43, 43, 42, 42, 42, 42, 42, 43, 44, 44, 43, 42, 41,
     9, 29, 40, 40, 39, 39, 39, 39, 40, 41, 42, 41, 40, 39, 38,
     9, 27, 37, 37, 36, 36, 36, 36, 36, 37, 38, 38, 37, 36, 35,
    10, 25, 35, 35, 34, 34, 34, 34, 34, 35, 36, 36, 35, 34, 33,
    10, 25, 33, 33, 33, 33, 32, 32, 33, 34, 35, 35, 34, 33, 32,
    10, 24, 32, 32, 32, 32, 31, 31, 31, 32, 33, 34, 33, 32, 31,
    10, 24, 32, 32, 32, 32, 31, 31, 31, 32, 33, 34, 33, 32, 31,
    10, 24, 32, 32, 32, 32, 31, 31, 31, 32, 33, 34, 33, 32, 31,
};
// Triple1050: modelled, light load up to 45 deg, full load up to 30 deg.
constexpr std::uint8_t kAdvanceTriple1050[] = {
     6,  8, 29, 43, 42, 42, 43, 44, 44, 43, 41, 41, 41, 41, 41,
     6,  8, 28, 41, 41, 41, 41, 42, 43, 41, 40, 40, 40, 40, 40,
     6,  8, 27, 39, 39, 39, 39, 40, 41, 39, 38, 38, 38, 38, 38,
     7,  8, 26, 37, 36, 36, 37, 38, 38, 37, 35, 35, 35, 35, 35,
     7,  9, 24, 33, 33, 33, 33, 34, 35, 33, 32, 32, 32, 32, 32,
     8,  9, 22, 31, 31, 31, 31, 32, 33, 31, 30, 30, 30, 30, 30,
     8,  9, 22, 30, 29, 29, 30, 31, 31, 30, 28, 28, 28, 28, 28,
     8,  9, 21, 28, 28, 28, 28, 29, 30, 28, 27, 27, 27, 27, 27,
     8,  9, 21, 28, 28, 28, 28, 29, 30, 28, 27, 27, 27, 27, 27,
     8,  9, 21, 28, 28, 28, 28, 29, 30, 28, 27, 27, 27, 27, 27,
};


// No B injectors: the B share stays 0.
constexpr std::array<std::uint8_t, kMapCells> kJetBNone{};
// Cbr: reference full-load row, lower rows a share of it, none below 40 %.
constexpr std::uint8_t kJetBCbr[] = {
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  3,  5,  7, 10, 14, 16, 18, 16, 15, 15, 15,
     0,  0,  0,  0,  5, 10, 14, 21, 28, 32, 35, 32, 30, 30, 30,
     0,  0,  0,  0,  8, 14, 20, 30, 40, 45, 50, 46, 42, 42, 42,
     0,  0,  0,  0,  9, 16, 24, 35, 47, 53, 59, 54, 50, 50, 50,
};
// Suzuki: modelled, B share from 5000 rpm, 55 % at 11000 rpm, none below 40 % load.
constexpr std::uint8_t kJetBSuzuki[] = {
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  3,  5,  8, 11, 14, 16, 16, 14, 14, 14, 14,
     0,  0,  0,  0,  5, 11, 17, 22, 28, 33, 31, 29, 29, 29, 29,
     0,  0,  0,  0,  8, 15, 24, 31, 39, 47, 44, 41, 41, 41, 41,
     0,  0,  0,  0,  9, 18, 28, 37, 46, 55, 52, 48, 48, 48, 48,
};
// Kawasaki: modelled, B share from 6000 rpm, 65 % at 12000 rpm, none below 40 % load.
constexpr std::uint8_t kJetBKawasaki[] = {
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  3,  7, 10, 13, 16, 20, 19, 17,
     0,  0,  0,  0,  0,  0,  0,  7, 13, 19, 26, 32, 39, 37, 35,
     0,  0,  0,  0,  0,  0,  0,  9, 19, 27, 37, 46, 55, 53, 49,
     0,  0,  0,  0,  0,  0,  0, 11, 22, 32, 43, 54, 65, 62, 58,
};
// Yamaha: modelled, B share from 7000 rpm, 60 % at 12000 rpm, none below 40 % load.
constexpr std::uint8_t kJetBYamaha[] = {
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  4,  7, 11, 14, 18, 17, 16, 16,
     0,  0,  0,  0,  0,  0,  0,  7, 14, 22, 29, 36, 35, 33, 33,
     0,  0,  0,  0,  0,  0,  0, 10, 20, 31, 41, 51, 49, 47, 47,
     0,  0,  0,  0,  0,  0,  0, 12, 24, 36, 48, 60, 58, 55, 55,
};


constexpr std::array<Choice<32>, 22> kPositionTables{{
    // Mille: modelled, beginning of injection, B as A.
    {"0, 43",
     {0, 0,
      300, 275, 250, 240, 230, 225, 220, 225, 235, 240, 245, 260, 265, 275, 280,
      300, 275, 250, 240, 230, 225, 220, 225, 235, 240, 245, 260, 265, 275, 280}},
    // Sxv: modelled, beginning of injection, B as A.
    {"39",
     {0, 0,
      320, 290, 260, 255, 245, 240, 250, 260, 270, 275, 285, 290, 290, 290, 290,
      320, 290, 260, 255, 245, 240, 250, 260, 270, 275, 285, 290, 290, 290, 290}},
    // Ducati: modelled, beginning of injection, B as A.
    {"1, 30",
     {0, 0,
      310, 285, 260, 250, 240, 235, 230, 235, 240, 240, 245, 255, 260, 265, 270,
      310, 285, 260, 250, 240, 235, 230, 235, 240, 240, 245, 255, 260, 265, 270}},
    // BigTwin: modelled, beginning of injection, B as A.
    {"24, 58",
     {0, 0,
      290, 265, 240, 230, 220, 225, 225, 230, 235, 235, 240, 240, 245, 250, 250,
      290, 265, 240, 230, 220, 225, 225, 230, 235, 235, 240, 240, 245, 250, 250}},
    // Honda4: modelled, end of injection, B 60 deg later above 6000 rpm.
    {"2, 3, 4, 21, 22, 28, 46, 56",
     {2, 2,
      360, 310, 275, 240, 225, 220, 230, 235, 240, 250, 250, 255, 255, 260, 260,
      360, 310, 275, 240, 285, 280, 290, 295, 300, 310, 310, 315, 315, 320, 320}},
    // Vtr: modelled, beginning of injection, B as A.
    {"5",
     {0, 0,
      300, 280, 255, 245, 235, 230, 225, 230, 235, 240, 240, 250, 255, 260, 265,
      300, 280, 255, 245, 235, 230, 225, 230, 235, 240, 240, 250, 255, 260, 265}},
    // Vfr: modelled, end of injection, B as A.
    {"31",
     {2, 2,
      350, 300, 270, 245, 240, 235, 230, 225, 230, 235, 240, 245, 245, 250, 250,
      350, 300, 270, 245, 240, 235, 230, 225, 230, 235, 240, 245, 245, 250, 250}},
    // Single: modelled, centre of injection, B as A.
    {"32, 33, 44",
     {1, 1,
      330, 305, 280, 270, 250, 255, 260, 265, 270, 275, 275, 280, 285, 285, 290,
      330, 305, 280, 270, 250, 255, 260, 265, 270, 275, 275, 280, 285, 285, 290}},
    // Kawasaki6: modelled, end of injection, B as A.
    {"6, 7, 19, 29",
     {2, 2,
      365, 315, 280, 245, 230, 225, 230, 235, 240, 245, 245, 250, 250, 255, 255,
      365, 315, 280, 245, 230, 225, 230, 235, 240, 245, 245, 250, 250, 255, 255}},
    // Zx10: modelled, end of injection, B 50 deg later above 6000 rpm.
    {"8, 36, 57",
     {2, 2,
      355, 305, 270, 240, 235, 230, 225, 220, 230, 235, 240, 250, 255, 255, 260,
      355, 305, 270, 240, 235, 230, 275, 270, 280, 285, 290, 300, 305, 305, 310}},
    // Peugeot: modelled, centre of injection, B as A.
    {"38",
     {1, 1,
      320, 305, 285, 270, 270, 265, 265, 260, 260, 260, 265, 265, 265, 270, 270,
      320, 305, 285, 270, 270, 265, 265, 260, 260, 260, 265, 265, 265, 270, 270}},
    // Type12Fours: reference curve for both positions, end of injection.
    {"9, 11, 12, 13, 15",
     {2, 2,
      370, 320, 240, 240, 220, 215, 215, 225, 240, 245, 250, 245, 240, 240, 240,
      370, 320, 240, 240, 220, 215, 215, 225, 240, 245, 250, 245, 240, 240, 240}},
    // SuzukiV: modelled, beginning of injection, B as A.
    {"16, 25, 37",
     {0, 0,
      305, 280, 255, 245, 235, 230, 225, 230, 235, 240, 240, 250, 255, 260, 265,
      305, 280, 255, 245, 235, 230, 225, 230, 235, 240, 240, 250, 255, 260, 265}},
    // Type14Fours: modelled, end of injection, B 40 deg later above 6000 rpm.
    {"14, 20, 23, 26, 34, 41, 47, 48, 49, 51, 55",
     {2, 2,
      370, 320, 280, 240, 230, 230, 225, 215, 225, 230, 240, 250, 250, 250, 245,
      370, 320, 280, 240, 230, 230, 265, 255, 265, 270, 280, 290, 290, 290, 285}},
    // Sv650: modelled, beginning of injection, B as A.
    {"40",
     {0, 0,
      300, 275, 250, 240, 235, 230, 225, 230, 230, 235, 240, 245, 250, 255, 260,
      300, 275, 250, 240, 235, 230, 225, 230, 230, 235, 240, 245, 250, 255, 260}},
    // Type17Fours: modelled, end of injection, B as A.
    {"10, 17, 27, 54",
     {2, 2,
      360, 310, 280, 245, 235, 230, 230, 225, 220, 225, 225, 230, 240, 245, 245,
      360, 310, 280, 245, 235, 230, 230, 225, 220, 225, 225, 230, 240, 245, 245}},
    // R6: modelled, end of injection, B as A.
    {"18",
     {2, 2,
      375, 325, 290, 250, 235, 230, 220, 230, 235, 240, 250, 250, 255, 260, 260,
      375, 325, 290, 250, 235, 230, 220, 230, 235, 240, 250, 250, 255, 260, 260}},
    // Fazer600: modelled, end of injection, B as A.
    {"35",
     {2, 2,
      360, 315, 280, 245, 235, 230, 225, 230, 235, 240, 245, 245, 250, 250, 250,
      360, 315, 280, 245, 235, 230, 225, 230, 235, 240, 245, 245, 250, 250, 250}},
    // BigSingle: modelled, centre of injection, B as A.
    {"42, 59",
     {1, 1,
      320, 295, 270, 260, 255, 250, 245, 250, 250, 255, 260, 260, 265, 265, 265,
      320, 295, 270, 260, 255, 250, 245, 250, 250, 255, 260, 260, 265, 265, 265}},
    // Triple: modelled, end of injection, B as A.
    {"45, 53",
     {2, 2,
      350, 300, 270, 240, 235, 230, 230, 225, 230, 240, 245, 250, 250, 255, 255,
      350, 300, 270, 240, 235, 230, 230, 225, 230, 240, 245, 250, 250, 255, 255}},
    // Gsx1400: modelled, end of injection, B as A.
    {"50",
     {2, 2,
      355, 305, 270, 240, 230, 230, 225, 220, 225, 225, 230, 235, 240, 240, 245,
      355, 305, 270, 240, 230, 230, 225, 220, 225, 225, 230, 235, 240, 240, 245}},
    // Dl1000: modelled, beginning of injection, B as A.
    {"52",
     {0, 0,
      300, 275, 250, 240, 235, 230, 225, 230, 230, 235, 240, 245, 250, 250, 255,
      300, 275, 250, 240, 235, 230, 225, 230, 230, 235, 240, 245, 250, 250, 255}},
}};
// clang-format on

constexpr std::array<TableGroup<std::uint8_t>, 28> kAdvanceTables{{
    {"11, 20, 41, 49", kAdvanceGsxr600},
    {"2, 3, 28, 46", kAdvanceCbr600},
    {"6, 7, 19, 48", kAdvanceZx6},
    {"18, 35", kAdvanceR6},
    {"32, 33, 44", kAdvanceSingle},
    {"4, 22, 31", kAdvanceCbr900},
    {"21, 56", kAdvanceCbr1000},
    {"12, 23", kAdvanceGsxr750},
    {"13, 14", kAdvanceGsxr1000},
    {"17, 27, 51", kAdvanceR1},
    {"38", kAdvancePeugeot},
    {"42, 59", kAdvanceBigSingle},
    {"0, 43", kAdvanceMille},
    {"1, 30", kAdvanceDucati},
    {"5", kAdvanceVtr},
    {"9, 10", kAdvanceZx12},
    {"15, 29, 50", kAdvanceGsx1300},
    {"16, 25, 37, 40, 52", kAdvanceSuzukiV},
    {"24, 58", kAdvanceBigTwin},
    {"54", kAdvanceZx12B},
    {"8, 36", kAdvanceZx10},
    {"57", kAdvanceZx10K8},
    {"26", kAdvanceGsxr1000K5},
    {"34, 55", kAdvanceR6r},
    {"47", kAdvanceR1K7},
    {"39", kAdvanceSxv},
    {"45", kAdvanceTriple675},
    {"53", kAdvanceTriple1050},
}};

constexpr std::array<TableGroup<std::uint8_t>, 5> kJetBMaps{{
    {"0..2, 4..20, 22..25, 27, 29..35, 37..40, 42..45, 50..54, 58, 59", kJetBNone},
    {"3, 21, 28, 46, 56", kJetBCbr},
    {"41, 49, 26", kJetBSuzuki},
    {"36, 48, 57", kJetBKawasaki},
    {"47, 55", kJetBYamaha},
}};

consteval bool AdvanceSizesFit() {
    for (const auto& g : kAdvanceTables) {
        const bool someByLoad = (g.codes.bits() & kAdvanceByLoadCodes.bits()) != 0;
        const bool allByLoad = (g.codes.bits() & ~kAdvanceByLoadCodes.bits()) == 0;
        if (someByLoad != allByLoad || g.values.size() != (allByLoad ? 150u : 15u)) return false;
    }
    return true;
}
consteval bool JetBSizesFit() {
    for (const auto& g : kJetBMaps)
        if (g.values.size() != static_cast<std::size_t>(kMapCells)) return false;
    return true;
}
static_assert(CoversEveryBikeOnce(kAdvanceTables, kCodesOf));
static_assert(CoversEveryBikeOnce(kJetBMaps, kCodesOf));
static_assert(CoversEveryBikeOnce(kPositionTables, kCodesOf));
static_assert(AdvanceSizesFit());
static_assert(JetBSizesFit());

}  // namespace

std::span<const TableGroup<std::uint8_t>> AdvanceTables() {
    return kAdvanceTables;
}
std::span<const TableGroup<std::uint8_t>> JetBMaps() {
    return kJetBMaps;
}
std::span<const Choice<32>> PositionTables() {
    return kPositionTables;
}

}  // namespace kestrin::defaults

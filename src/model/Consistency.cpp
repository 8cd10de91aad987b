#include "model/Consistency.h"

#include <algorithm>

namespace kestrin {
namespace {

// Strictly rising axis of n bytes within lo..hi: raise to the lowest possible value of each
// point, lower to the highest, then lift every point above its predecessor.
void IncreasingByteAxis(ParameterImage& im, int pos, int lo, int hi, int n) {
    for (int i = 0; i < n; ++i)
        if (im.byte(pos + i) < lo + i) im.setByte(pos + i, static_cast<std::uint8_t>(lo + i));
    for (int i = 0; i < n; ++i) {
        const int top = hi - (n - 1 - i);
        if (im.byte(pos + i) > top) im.setByte(pos + i, static_cast<std::uint8_t>(top));
    }
    for (int i = 1; i < n; ++i)
        if (im.byte(pos + i) <= im.byte(pos + i - 1))
            im.setByte(pos + i, static_cast<std::uint8_t>(im.byte(pos + i - 1) + 1));
}

void IncreasingWordAxis(ParameterImage& im, int k, int lo, int hi, int n) {
    for (int i = 0; i < n; ++i)
        if (im.word(k + i) < lo + i) im.setWord(k + i, static_cast<std::uint16_t>(lo + i));
    for (int i = 0; i < n; ++i) {
        const int top = hi - (n - 1 - i);
        if (im.word(k + i) > top) im.setWord(k + i, static_cast<std::uint16_t>(top));
    }
    for (int i = 1; i < n; ++i)
        if (im.word(k + i) <= im.word(k + i - 1))
            im.setWord(k + i, static_cast<std::uint16_t>(im.word(k + i - 1) + 1));
}

void DecreasingWordAxis(ParameterImage& im, int k, int lo, int hi, int n) {
    for (int i = 0; i < n; ++i) {
        const int bottom = lo + (n - 1 - i);
        if (im.word(k + i) < bottom) im.setWord(k + i, static_cast<std::uint16_t>(bottom));
    }
    for (int i = 0; i < n; ++i)
        if (im.word(k + i) > hi - i) im.setWord(k + i, static_cast<std::uint16_t>(hi - i));
    for (int i = 1; i < n; ++i)
        if (im.word(k + i) >= im.word(k + i - 1))
            im.setWord(k + i, static_cast<std::uint16_t>(im.word(k + i - 1) - 1));
}

void ByteRange(ParameterImage& im, int pos, int lo, int hi, int n) {
    for (int i = 0; i < n; ++i)
        if (im.byte(pos + i) < lo) im.setByte(pos + i, static_cast<std::uint8_t>(lo));
    for (int i = 0; i < n; ++i)
        if (im.byte(pos + i) > hi) im.setByte(pos + i, static_cast<std::uint8_t>(hi));
}

void WordRange(ParameterImage& im, int k, int lo, int hi, int n) {
    for (int i = 0; i < n; ++i)
        if (im.word(k + i) < lo) im.setWord(k + i, static_cast<std::uint16_t>(lo));
    for (int i = 0; i < n; ++i)
        if (im.word(k + i) > hi) im.setWord(k + i, static_cast<std::uint16_t>(hi));
}

void AtMost(ParameterImage& im, int pos, int hi) {
    if (im.byte(pos) > hi) im.setByte(pos, static_cast<std::uint8_t>(hi));
}
void AtLeast(ParameterImage& im, int pos, int lo) {
    if (im.byte(pos) < lo) im.setByte(pos, static_cast<std::uint8_t>(lo));
}
// Byte `pos` at least byte `other`.
void AtLeastByte(ParameterImage& im, int pos, int other) {
    AtLeast(im, pos, im.byte(other));
}

constexpr int kAdvanceFirst = 600;
constexpr int kJetBFirst = 1950;
constexpr std::array kRpmAxes = {465, 480, 495, 510, 525, 540, 555, 405, 435, 585, 570};

// Row positions of the base tables and the load of each map column, in tenths of % or kPa.
constexpr std::array<std::uint16_t, kMapRows> kTpsLoads = {0,   20,  50,  100, 200,
                                                           300, 400, 600, 800, 1000};
constexpr std::array<std::uint16_t, kMapRows> kIapRowsNarrow = {100, 200, 300, 400, 500,
                                                                600, 700, 800, 900, 1000};
constexpr std::array<std::uint16_t, kMapRows> kIapLoads = {300, 500, 600, 700, 750,
                                                           800, 850, 900, 950, 1000};
constexpr std::uint16_t kMinBase = 100;

void ComputeBaseMap(const ParameterImage& image, int axisByte, const BaseInjectionTable& table,
                    std::span<const std::uint16_t, kMapRows> rows,
                    std::span<const std::uint16_t, kMapRows> loads, BaseMap& out) {
    const std::span<const std::uint16_t> p = table.rpmPoints;
    const std::size_t n = p.size();
    if (n < 2 || table.values.size() < kMapRows * n) {
        out.fill(kMinBase);
        return;
    }
    auto t = [&](std::size_t r, std::size_t k) {
        return static_cast<std::uint16_t>(std::min(10u * table.values[r * n + k], 65535u));
    };
    for (int c = 0; c < kMapRows; ++c) {
        const std::uint16_t v = loads[static_cast<std::size_t>(c)];
        std::size_t r = 1;
        while (r < kMapRows - 1 && rows[r] <= v) ++r;
        for (int j = 0; j < kMapColumns; ++j) {
            const auto rpm = static_cast<std::uint16_t>(100 * image.byte(axisByte + j));
            std::size_t k = 1;
            while (k < n - 1 && p[k] <= rpm) ++k;
            const std::uint16_t a = Interpolate(rpm, p[k - 1], p[k], t(r - 1, k - 1), t(r - 1, k));
            const std::uint16_t b = Interpolate(rpm, p[k - 1], p[k], t(r, k - 1), t(r, k));
            const std::uint16_t value = Interpolate(v, rows[r - 1], rows[r], a, b);
            out[static_cast<std::size_t>(ParameterImage::CellIndex(c, j))] =
                std::max(value, kMinBase);
        }
    }
}

}  // namespace

ConsistencyWarnings ConsistencyPass(ParameterImage& im, const ConsistencyFlags& flags,
                                    ProgramIndexes& settings) {
    for (int axis : kRpmAxes) IncreasingByteAxis(im, axis, 3, 250, 15);
    IncreasingWordAxis(im, 192, 0, 1000, 10);
    ByteRange(im, kAdvanceFirst, 0, 60, kMapCells);
    for (const auto& map : kInjectionMaps) WordRange(im, map.firstWord, 0, 30000, kMapCells);
    ByteRange(im, kJetBFirst, 0, 100, kMapCells);
    if (flags.lobeWidthEnabled)
        ByteRange(im, kAdvanceFirst, 0, im.byte(45) + im.byte(46), kMapCells);

    AtMost(im, 33, 250);
    AtMost(im, 34, 250);
    AtMost(im, 92, 50);

    IncreasingByteAxis(im, 67, 0, 250, 4);
    ByteRange(im, 71, 0, 250, 4);

    for (int i = 0; i < 6; ++i) AtLeastByte(im, 114 + i, 108 + i);

    AtMost(im, 99, 100);
    AtMost(im, 100, 100);
    AtLeastByte(im, 100, 99);
    AtLeast(im, 101, 1);
    AtMost(im, 102, 200);
    AtMost(im, 101, 200);
    AtMost(im, 103, 25);
    AtMost(im, 104, 25);
    AtLeastByte(im, 104, 103);
    AtMost(im, 106, 200);
    AtLeast(im, 105, 1);
    AtMost(im, 105, 200);
    AtLeastByte(im, 159, 158);

    AtMost(im, 45, 40);
    AtMost(im, 48, 101);
    AtLeastByte(im, 49, 48);
    AtLeastByte(im, 51, 50);

    const ConsistencyWarnings warnings{im.word(4) == im.word(6), im.word(8) == im.word(10)};

    DecreasingWordAxis(im, 97, 0, 5000, 9);
    DecreasingWordAxis(im, 106, 0, 5000, 9);

    AtMost(im, 78, im.byte(77));
    if (!flags.fixedIdleBike) AtMost(im, 294, im.byte(295));

    const int channelLimit = (flags.coupled || flags.allEqual) ? 1 : im.byte(256);
    AtMost(im, 350, channelLimit);

    if (settings.languageIndex > 3) settings.languageIndex = 0;
    if (settings.portIndex > 20) settings.portIndex = 0;
    if (settings.scanPortIndex > 19) settings.scanPortIndex = 0;

    IncreasingByteAxis(im, 353, 100, 200, 5);
    if (im.byte(352) == 1)
        IncreasingWordAxis(im, 179, 0, 5000, 5);
    else
        DecreasingWordAxis(im, 179, 0, 5000, 5);

    IncreasingByteAxis(im, 368, 100, 200, 2);
    ByteRange(im, 370, 3, 250, 2);
    IncreasingByteAxis(im, 372, 100, 200, 4);
    return warnings;
}

std::uint16_t Interpolate(std::uint16_t x, std::uint16_t x0, std::uint16_t x1, std::uint16_t y0,
                          std::uint16_t y1) {
    if (x <= x0) return y0;
    if (x >= x1) return y1;  // also covers x0 >= x1, so the divisions below never see 0
    if (y0 == y1) return y0;
    const std::uint32_t span = static_cast<std::uint32_t>(x1 - x0);
    if (y0 < y1)
        return static_cast<std::uint16_t>(y0 + static_cast<std::uint32_t>(x - x0) *
                                                   static_cast<std::uint32_t>(y1 - y0) / span);
    return static_cast<std::uint16_t>(y1 + static_cast<std::uint32_t>(x1 - x) *
                                               static_cast<std::uint32_t>(y0 - y1) / span);
}

void ComputeBaseMaps(const ParameterImage& image, const BikeTables& tables, InjectionMapSet& maps) {
    const auto tps = std::span<const std::uint16_t, kMapRows>(kTpsLoads);
    ComputeBaseMap(image, InfoOf(InjectionMap::Jet1A).rpmAxisByte, tables.outer, tps, tps,
                   maps.baseOf(InjectionMap::Jet1A));
    ComputeBaseMap(image, InfoOf(InjectionMap::Jet2A).rpmAxisByte, tables.inner, tps, tps,
                   maps.baseOf(InjectionMap::Jet2A));
    ComputeBaseMap(image, InfoOf(InjectionMap::Jet3A).rpmAxisByte, tables.inner, tps, tps,
                   maps.baseOf(InjectionMap::Jet3A));
    ComputeBaseMap(image, InfoOf(InjectionMap::Jet4A).rpmAxisByte, tables.outer, tps, tps,
                   maps.baseOf(InjectionMap::Jet4A));
    const auto loads = std::span<const std::uint16_t, kMapRows>(kIapLoads);
    const auto rows =
        tables.iapWideLoads ? loads : std::span<const std::uint16_t, kMapRows>(kIapRowsNarrow);
    ComputeBaseMap(image, InfoOf(InjectionMap::Iap).rpmAxisByte, tables.iap, rows, loads,
                   maps.baseOf(InjectionMap::Iap));
}

void StoreInjectionMaps(const InjectionMapSet& maps, ParameterImage& image) {
    for (int m = 0; m < kInjectionMapCount; ++m)
        maps.StoreToImage(static_cast<InjectionMap>(m), image);
}

}  // namespace kestrin

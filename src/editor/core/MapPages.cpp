#include "editor/core/MapPages.h"

#include <algorithm>

namespace kestrin::editor {
namespace {

constexpr int kInj1AAxis = 480;
constexpr std::array<int, 3> kFollowerAxes{495, 510, 525};
constexpr std::array<InjectionMap, 3> kFollowerMaps{InjectionMap::Jet2A, InjectionMap::Jet3A,
                                                    InjectionMap::Jet4A};

std::uint8_t LowByte(int v) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(v) & 0xFFu);
}

}  // namespace

const MapPageInfo* MapPageOf(int page) {
    for (const MapPageInfo& info : kMapPages)
        if (info.page == page) return &info;
    return nullptr;
}

int CellDivisor(const MapPageInfo& info, const ParameterImage& image) {
    if (info.percentFlagByte >= 0 && image.byte(info.percentFlagByte) == 0)
        return kServoStepDivisor;
    return 1;
}

int CellMaximum(const MapPageInfo& info, const ParameterImage& image) {
    if (info.percentFlagByte >= 0 && image.byte(info.percentFlagByte) == 0)
        return kServoStepMaximum;
    return info.cellMaximum;
}

InjectorMode InjectorModeOf(const ParameterImage& image) {
    return {image.byte(47) == 1, image.byte(47) == 2};
}

void StoreRpmAxis(const MapPageInfo& info, const AxisPositions& rpm, ParameterImage& image,
                  InjectorMode mode) {
    const bool inj1A = info.page == 2;
    for (int c = 0; c < kMapColumns; ++c) {
        const int value = rpm[static_cast<std::size_t>(c)] / 100;
        if (inj1A && mode.coupled) {
            const int old = image.byte(kInj1AAxis + c);
            if (value != old)
                for (int axis : kFollowerAxes) {
                    const int shifted = image.byte(axis + c) + (value - old);
                    image.setByte(axis + c, static_cast<std::uint8_t>(
                                                std::clamp(shifted, 0, kCoupledAxisLimit)));
                }
        }
        image.setByte(info.axisByte + c, LowByte(value));
        if (inj1A && mode.allEqual)
            for (int axis : kFollowerAxes) image.setByte(axis + c, LowByte(value));
    }
}

void StoreCells(const MapPageInfo& info, const CellPositions& cells, ParameterImage& image,
                InjectionMapSet& maps, InjectorMode mode) {
    if (!info.words) {
        const int divisor = CellDivisor(info, image);
        for (int i = 0; i < kMapCells; ++i)
            image.setByte(info.dataByte + i, LowByte(cells[static_cast<std::size_t>(i)] / divisor));
        return;
    }
    const auto own = static_cast<InjectionMap>(info.injectionMap);
    PercentMap& percent = maps.percentOf(own);
    if (info.page != 2) {
        for (int i = 0; i < kMapCells; ++i)
            percent[static_cast<std::size_t>(i)] =
                static_cast<std::int16_t>(cells[static_cast<std::size_t>(i)]);
        maps.StoreToImage(own, image);
        return;
    }
    for (int i = 0; i < kMapCells; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const int now = cells[at];
        const int old = percent[at];
        if (mode.coupled && now != old)
            for (InjectionMap m : kFollowerMaps) {
                std::int16_t& p = maps.percentOf(m)[at];
                p = static_cast<std::int16_t>(std::clamp(p + (now - old), 0, kCoupledPercentLimit));
            }
        percent[at] = static_cast<std::int16_t>(now);
    }
    maps.StoreToImage(InjectionMap::Jet1A, image);
    if (mode.coupled)
        for (InjectionMap m : kFollowerMaps) maps.StoreToImage(m, image);
    if (mode.allEqual) {
        const int first = InfoOf(InjectionMap::Jet1A).firstWord;
        for (InjectionMap m : kFollowerMaps)
            for (int i = 0; i < kMapCells; ++i)
                image.setWord(InfoOf(m).firstWord + i, image.word(first + i));
        RefreshCopiedPercents(image, maps);
    }
}

void CopyInj1AOntoOthers(ParameterImage& image) {
    const int first = InfoOf(InjectionMap::Jet1A).firstWord;
    for (std::size_t k = 0; k < kFollowerMaps.size(); ++k) {
        for (int c = 0; c < kMapColumns; ++c)
            image.setByte(kFollowerAxes[k] + c, image.byte(kInj1AAxis + c));
        for (int i = 0; i < kMapCells; ++i)
            image.setWord(InfoOf(kFollowerMaps[k]).firstWord + i, image.word(first + i));
    }
}

void RefreshCopiedPercents(const ParameterImage& image, InjectionMapSet& maps) {
    for (InjectionMap m : kFollowerMaps) maps.LoadFromImage(m, image);
}

void ShownCells(const MapPageInfo& info, const ParameterImage& image, InjectionMapSet& maps,
                CellPositions& out) {
    if (!info.words) {
        const int divisor = CellDivisor(info, image);
        for (int i = 0; i < kMapCells; ++i)
            out[static_cast<std::size_t>(i)] = divisor * image.byte(info.dataByte + i);
        return;
    }
    const auto own = static_cast<InjectionMap>(info.injectionMap);
    maps.LoadFromImage(own, image);
    const PercentMap& percent = maps.percentOf(own);
    for (int i = 0; i < kMapCells; ++i)
        out[static_cast<std::size_t>(i)] = percent[static_cast<std::size_t>(i)];
}

}  // namespace kestrin::editor

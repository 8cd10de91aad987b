#pragma once
// The five injection-time maps are edited as a percentage of a base map computed from the
// bike's tables; the image keeps their product.

#include <array>
#include <cstdint>
#include <string_view>

#include "model/ParameterImage.h"

namespace kestrin {

enum class InjectionMap { Jet1A, Jet2A, Jet3A, Jet4A, Iap };
inline constexpr int kInjectionMapCount = 5;

struct InjectionMapInfo {
    std::string_view section;  // parameter file section of the map
    int firstWord;             // image word of cell 0
    int rpmAxisByte;           // first of the 15 RPM axis bytes
};

inline constexpr std::array<InjectionMapInfo, kInjectionMapCount> kInjectionMaps{{
    {"JET_1A", 375, 480},
    {"JET_2A", 525, 495},
    {"JET_3A", 675, 510},
    {"JET_4A", 825, 525},
    {"IAP", 1050, 555},
}};

constexpr const InjectionMapInfo& InfoOf(InjectionMap m) {
    return kInjectionMaps[static_cast<std::size_t>(m)];
}

using PercentMap = std::array<std::int16_t, kMapCells>;
using BaseMap = std::array<std::uint16_t, kMapCells>;

// image word = (percent * base + 50) / 100, at most 65535; the percent is taken as unsigned
// 16-bit, so a negative percent gives a large product that saturates.
constexpr std::uint16_t WordFromPercent(std::int16_t percent, std::uint16_t base) {
    const std::uint64_t p = static_cast<std::uint16_t>(percent);
    const std::uint64_t w = (p * base + 50) / 100;
    return static_cast<std::uint16_t>(w > 0xFFFF ? 0xFFFF : w);
}

// percent = (word * 1000 / base + 5) / 10, rounded to the nearest whole percent. A base of 0
// never comes from the base-map computation; it is read as 1 so the result stays defined, and
// the result is held to the signed 16-bit range of the percent map.
constexpr std::int16_t PercentFromWord(std::uint16_t word, std::uint16_t base) {
    const std::uint32_t b = base == 0 ? 1u : base;
    const std::uint32_t p = (static_cast<std::uint32_t>(word) * 1000u / b + 5u) / 10u;
    return static_cast<std::int16_t>(p > 32767u ? 32767u : p);
}

// The editor's working copies of the five maps, kept beside the image.
struct InjectionMapSet {
    std::array<PercentMap, kInjectionMapCount> percent{};
    std::array<BaseMap, kInjectionMapCount> base{};

    PercentMap& percentOf(InjectionMap m) { return percent[static_cast<std::size_t>(m)]; }
    const PercentMap& percentOf(InjectionMap m) const {
        return percent[static_cast<std::size_t>(m)];
    }
    BaseMap& baseOf(InjectionMap m) { return base[static_cast<std::size_t>(m)]; }
    const BaseMap& baseOf(InjectionMap m) const { return base[static_cast<std::size_t>(m)]; }

    // Image words of map m from its percent and base maps.
    void StoreToImage(InjectionMap m, ParameterImage& image) const {
        const auto& info = InfoOf(m);
        for (int i = 0; i < kMapCells; ++i)
            image.setWord(info.firstWord + i,
                          WordFromPercent(percentOf(m)[static_cast<std::size_t>(i)],
                                          baseOf(m)[static_cast<std::size_t>(i)]));
    }
    // Percent map m recomputed from the image words and its base map.
    void LoadFromImage(InjectionMap m, const ParameterImage& image) {
        const auto& info = InfoOf(m);
        for (int i = 0; i < kMapCells; ++i)
            percentOf(m)[static_cast<std::size_t>(i)] =
                PercentFromWord(image.word(info.firstWord + i), baseOf(m)[static_cast<std::size_t>(i)]);
    }
};

}  // namespace kestrin

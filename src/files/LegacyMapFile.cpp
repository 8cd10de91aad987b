#include "files/LegacyMapFile.h"

#include <array>

#include "files/ParameterFile.h"
#include "files/Tokenizer.h"
#include "model/Consistency.h"
#include "model/Defaults.h"
#include "model/FieldTable.h"

namespace kestrin {
namespace {

constexpr std::array<std::uint16_t, kMapRows> kDefaultIapLoadAxis{30, 50, 60, 70, 75,
                                                                  80, 85, 90, 95, 100};

// The keys of the older layout and where their values go.
struct LegacyKey {
    std::string_view key;
    int page;
    int axisByte = -1;                       // 15 RPM values into this axis (x 100)
    int copyAxisByte = -1;                   // and copied to this one
    int mapByte = -1;                        // 150 cells of a byte map
    std::array<int, 2> percentMaps{-1, -1};  // 150 percentages into these injection maps
    bool repack = false;  // the image words are to be rebuilt from the percent maps
};

constexpr int Jet(InjectionMap m) {
    return static_cast<int>(m);
}

constexpr LegacyKey kLegacyKeys[] = {
    {"RPM_IGN", kPageAdvance, 465},
    {"IGN", kPageAdvance, -1, -1, 600},
    {"RPM_JET_14A", kPageInj1A, 480, 525},
    {"JET_14A", kPageInj1A, -1, -1, -1, {Jet(InjectionMap::Jet1A), Jet(InjectionMap::Jet4A)}, true},
    {"RPM_JET_23A", kPageInj2A, 495, 510},
    {"JET_23A", kPageInj2A, -1, -1, -1, {Jet(InjectionMap::Jet2A), Jet(InjectionMap::Jet3A)}, true},
    {"RPM_JET_IAP", kPageInjIap, 555},
    {"JET_IAP", kPageInjIap, -1, -1, -1, {Jet(InjectionMap::Iap), -1}},
};

// The sections of the current layout that this reader also takes: the map pages' own.
constexpr std::string_view kCurrentKeys[] = {
    "ADVANCE_MISC", "RPM_ADV",    "ADVANCE", "JET1_MISC",  "RPM_JET_1A", "JET_1A",    "RPM_JET_2A",
    "JET_2A",       "RPM_JET_3A", "JET_3A",  "RPM_JET_4A", "JET_4A",     "RPM_JET_B", "JET_B",
    "IAP_MISC",     "IAP_IAP",    "RPM_IAP", "IAP",        "POSITION_A", "POSITION_B"};

// Map sections whose image words make the percentages read earlier obsolete.
constexpr std::string_view kWordMapKeys[] = {"JET_1A", "JET_2A", "JET_3A", "JET_4A"};

template <class Range>
bool Contains(const Range& range, std::string_view key) {
    for (std::string_view k : range)
        if (k == key) return true;
    return false;
}

const LegacyKey* FindLegacyKey(std::string_view key) {
    for (const LegacyKey& k : kLegacyKeys)
        if (k.key == key) return &k;
    return nullptr;
}

std::uint16_t Low16(std::uint32_t v) {
    return static_cast<std::uint16_t>(v & 0xFFFFu);
}

void ReadLegacySection(const LegacyKey& k, Tokenizer& tokens, ParameterImage& image,
                       InjectionMapSet& maps) {
    if (k.axisByte >= 0) {
        const Conversion axis{100, 0};
        for (int i = 0; i < kMapColumns; ++i) {
            image.setShownByte(k.axisByte + i, Low16(tokens.NextValue()), axis);
            if (k.copyAxisByte >= 0) image.setByte(k.copyAxisByte + i, image.byte(k.axisByte + i));
        }
    } else if (k.mapByte >= 0) {
        for (int i = 0; i < kMapCells; ++i)
            image.setByte(k.mapByte + i, static_cast<std::uint8_t>(tokens.NextValue() & 0xFFu));
    } else {
        for (int i = 0; i < kMapCells; ++i) {
            const auto percent = static_cast<std::int16_t>(tokens.NextValue() & 0xFFu);
            for (int m : k.percentMaps)
                if (m >= 0)
                    maps.percent[static_cast<std::size_t>(m)][static_cast<std::size_t>(i)] =
                        percent;
        }
    }
}

}  // namespace

void ReadLegacyMapFile(std::string_view text, ParameterImage& image, InjectionMapSet& maps,
                       const BikeTables& tables, int pageFilter) {
    // The percentages as the editor last showed them, so that the maps the file does not name
    // keep theirs (and words changed since then survive) when they are stored again at the end.
    RefreshPercentMaps(image, maps, tables);
    for (int n = 41; n <= 44; ++n) image.setByte(n, 100);
    for (int n = 52; n <= 55; ++n) image.setByte(n, 100);
    for (int i = 0; i < kMapRows; ++i)
        image.setWord(192 + i, kDefaultIapLoadAxis[static_cast<std::size_t>(i)]);
    bool repack = true;

    Tokenizer tokens(text);
    int version = kParameterFileVersion;
    for (std::string_view token = tokens.NextToken(); !token.empty(); token = tokens.NextToken()) {
        if (token == "TORVANIC_KEY") {
            const std::uint32_t n = tokens.NextValue();
            if (n < kLegacyMinimumVersion) return;
            if (n <= static_cast<std::uint32_t>(kParameterFileVersion))
                version = static_cast<int>(n);
            continue;
        }
        if (const LegacyKey* k = FindLegacyKey(token)) {
            if (!SectionInFilter(k->page, pageFilter, image)) continue;
            ReadLegacySection(*k, tokens, image, maps);
            if (k->repack) repack = true;
            continue;
        }
        if (!Contains(kCurrentKeys, token)) continue;
        const FileSection* section = FindSection(token);
        if (section == nullptr || !SectionInFilter(section->group, pageFilter, image)) continue;
        ReadSectionValues(token, tokens, image, version);
        if (Contains(kWordMapKeys, token)) repack = false;
    }

    if (repack) {
        ComputeBaseMaps(image, tables, maps);
        StoreInjectionMaps(maps, image);
    }
}

}  // namespace kestrin

#pragma once
// The catalogue of supported bikes and what follows from a bike code alone: the engine type,
// the engine constants that the unit needs and the user never edits, and the bike flags.

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/ParameterImage.h"

namespace kestrin {

inline constexpr int kBikeCodeCount = 60;     // codes 0..59
inline constexpr int kCatalogueSize = 61;     // 60 bikes and the separator
inline constexpr int kUnsupportedIndex = 60;  // the separator: a code outside the catalogue
inline constexpr int kEngineTypeCount = 27;   // engine types 0..26
inline constexpr int kNoCode = -1;

namespace detail {
void InvalidCodeList();  // never defined: reaching it in a constant evaluation stops the build
}

// A set of bike codes, written in the data as a list such as "0, 6, 9..16, 20".
class CodeSet {
public:
    constexpr CodeSet() = default;
    consteval CodeSet(const char* list) : bits_(Parse(list)) {}

    constexpr bool contains(int code) const {
        return code >= 0 && code < 64 && ((bits_ >> code) & 1u) != 0;
    }
    constexpr std::uint64_t bits() const { return bits_; }
    constexpr int size() const { return std::popcount(bits_); }

private:
    static consteval std::uint64_t Parse(std::string_view s) {
        std::uint64_t bits = 0;
        std::size_t i = 0;
        auto skip = [&] {
            while (i < s.size() && (s[i] == ' ' || s[i] == ',')) ++i;
        };
        auto number = [&] {
            if (i >= s.size() || s[i] < '0' || s[i] > '9') detail::InvalidCodeList();
            int v = 0;
            while (i < s.size() && s[i] >= '0' && s[i] <= '9') v = 10 * v + (s[i++] - '0');
            if (v >= kBikeCodeCount) detail::InvalidCodeList();
            return v;
        };
        for (skip(); i < s.size(); skip()) {
            const int first = number();
            int last = first;
            if (s.substr(i, 2) == "..") {
                i += 2;
                last = number();
                if (last < first) detail::InvalidCodeList();
            }
            for (int c = first; c <= last; ++c) bits |= std::uint64_t{1} << c;
        }
        return bits;
    }

    std::uint64_t bits_ = 0;
};

// True when every bike code 0..59 lies in exactly one of the groups' code sets.
template <class Groups, class CodesOf>
consteval bool CoversEveryBikeOnce(const Groups& groups, CodesOf codesOf) {
    std::uint64_t seen = 0;
    for (const auto& g : groups) {
        const std::uint64_t b = CodeSet(codesOf(g)).bits();
        if ((seen & b) != 0) return false;
        seen |= b;
    }
    return seen == (std::uint64_t{1} << kBikeCodeCount) - 1;
}

// The group whose code set holds the code, or nullptr.
template <class Groups>
constexpr const typename Groups::value_type* FindGroup(const Groups& groups, int code) {
    for (const auto& g : groups)
        if (g.codes.contains(code)) return &g;
    return nullptr;
}

struct CatalogueItem {
    std::string_view text;  // shown exactly, blanks included
    int code;               // kNoCode for the separator
};

const std::array<CatalogueItem, kCatalogueSize>& BikeCatalogue();

// The bike code of catalogue item `index`; none for the separator and outside the list.
std::optional<int> BikeCodeOfIndex(int index);
// The catalogue item of a bike code; kUnsupportedIndex for a code outside the catalogue.
int CatalogueIndexOfCode(int code);
constexpr bool IsBikeCode(int code) {
    return code >= 0 && code < kBikeCodeCount;
}

std::optional<int> EngineTypeOfCode(int code);

// Image bytes written from the engine type, in the order of TypeConstants' values.
inline constexpr std::array<int, 20> kTypeConstantBytes = {253, 256, 257, 258, 259, 260, 261,
                                                           262, 263, 264, 265, 266, 267, 268,
                                                           269, 270, 271, 272, 273, 274};
using TypeConstants = std::array<std::uint8_t, kTypeConstantBytes.size()>;
const TypeConstants* ConstantsOfType(int type);

// Image bytes and words written from the bike code.
struct CodeConstants {
    std::uint8_t byte3, byte4, byte5;
    std::uint8_t byte191, byte192, byte193;
    std::uint8_t rpmLimit;  // byte 252: the bike's RPM limit / 100
    std::uint8_t byte254, byte255;
    std::array<std::uint16_t, 9> curve;  // words 115..123, falling
};
const CodeConstants* ConstantsOfCode(int code);

// Writes image bytes 2..5, 191..193, 252..274 and words 115..123 for the code. A code
// outside the catalogue leaves the image untouched and gives false.
bool WriteEngineConstants(ParameterImage& image, int code);

inline constexpr CodeSet kAdvanceByLoadCodes = "8, 26, 34, 36, 39, 45, 47, 53, 55, 57";
inline constexpr CodeSet kWideBaseTableCodes = "8, 26, 34, 36, 39, 45, 47, 53, 54, 55, 57";
inline constexpr CodeSet kFixedIdleCodes = "38";

struct BikeFlags {
    bool advanceByLoad = false;   // the default advance table has one row per load column
    bool wideBaseTables = false;  // base injection tables with 15 RPM points instead of 10
    bool fixedIdleBike = false;   // no idle mode to choose; the shift-light output drives a choke
};
BikeFlags FlagsOfCode(int code);
// The lobe-width parameter exists only for the engine types 7 and 22.
bool LobeWidthEnabledFor(int code);

}  // namespace kestrin

#include "link/UnitInfo.h"

#include <algorithm>
#include <cstdio>

namespace kestrin {

namespace {

// The unit's texts are 8-bit; anything but printable ASCII is shown as '?' so a damaged
// block can never put control characters or broken UTF-8 on the screen.
char Printable(std::uint8_t b) {
    return b >= 0x20 && b < 0x7F ? static_cast<char>(b) : '?';
}

std::string TwoDigits(int v) {
    char buf[3] = {static_cast<char>('0' + (v / 10) % 10), static_cast<char>('0' + v % 10), 0};
    return buf;
}

}  // namespace

const char* MonthText(std::uint8_t code) {
    // The code is the sum of the three letters of the month's English abbreviation, mod 256.
    static constexpr std::array<std::pair<std::uint8_t, const char*>, 12> kMonths{{
        {25, " 1"},
        {13, " 2"},
        {32, " 3"},
        {35, " 4"},
        {39, " 5"},
        {45, " 6"},
        {43, " 7"},
        {29, " 8"},
        {40, " 9"},
        {38, "10"},
        {51, "11"},
        {12, "12"},
    }};
    for (const auto& [c, text] : kMonths)
        if (c == code) return text;
    return "00";
}

void UnitInfo::Set(std::span<const std::uint8_t> data) {
    bytes.fill(0);
    std::copy_n(data.begin(), std::min(data.size(), bytes.size()), bytes.begin());

    if (bytes[16] != 0) {
        unitName.clear();
        for (int i = 16; i <= 45 && bytes[static_cast<std::size_t>(i)] != 0; ++i)
            unitName += Printable(bytes[static_cast<std::size_t>(i)]);
    } else {
        unitName = {Printable(bytes[0]), Printable(bytes[1]), Printable(bytes[2])};
        unitName += TwoDigits(bytes[3]);
    }

    const int day = bytes[4];
    unitDate = day < 10 ? std::string(" ") + static_cast<char>('0' + day) : TwoDigits(day);
    unitDate += std::string(".") + MonthText(bytes[5]) + ".20" + TwoDigits(bytes[6]);
    unitTime = TwoDigits(bytes[7]) + ":" + TwoDigits(bytes[8]);
}

std::string VersionMismatchText(const std::string& message, int unitVersion) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "  PC-%d, IGN-%d", kProtocolVersion, unitVersion);
    return message + buf;
}

}  // namespace kestrin

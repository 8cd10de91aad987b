#pragma once
// The identification block the unit sends for page 0, and the texts shown from it.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "link/Protocol.h"

namespace kestrin {


struct UnitInfo {
    std::array<std::uint8_t, 150> bytes{};
    std::string unitName;  // type code and number, or the unit's own name
    std::string unitDate;  // " 5.11.2008"
    std::string unitTime;  // "09:05"

    std::uint8_t version() const { return bytes[10]; }
    // Takes the 150 data bytes of a page-0 answer and builds the three texts.
    void Set(std::span<const std::uint8_t> data);
};

// The two characters shown for a firmware month code, "00" for an unknown code.
const char* MonthText(std::uint8_t code);

// "Unmatched version ..." followed by "  PC-74, IGN-n".
std::string VersionMismatchText(const std::string& message, int unitVersion);

}  // namespace kestrin

#pragma once
// The command line of kestrin-sim.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sim/unit/SimUnit.h"

namespace kestrin {

struct SimCommandLine {
    SimOptions unit;
    std::string linkPath;    // symbolic link to the pseudo-terminal's device
    std::string memoryFile;  // the unit's 2850 bytes, kept across runs
    std::string logFile;
    bool pacing = true;  // answers take as long as on a 57600-baud line
    bool help = false;
};

// Reads the arguments after the program name; on a fault, `error` says what is wrong.
std::optional<SimCommandLine> ParseSimCommandLine(std::span<const std::string_view> args,
                                                  std::string& error);
std::string_view SimUsage();

}  // namespace kestrin

#include "sim/unit/SimCommandLine.h"

#include <charconv>

namespace kestrin {

namespace {

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// A rate is a share 0..1 or a percentage with a trailing '%'.
bool ParseRate(std::string_view text, double& rate) {
    const bool percent = !text.empty() && text.back() == '%';
    if (percent) text.remove_suffix(1);
    if (!ParseNumber(text, rate)) return false;
    if (percent) rate /= 100;
    return rate >= 0 && rate <= 1;
}

}  // namespace

std::string_view SimUsage() {
    return "Usage: kestrin-sim [options]\n"
           "A substitute engine control unit on a pseudo-terminal.\n"
           "\n"
           "  --link PATH      make PATH a symbolic link to the pseudo-terminal's device\n"
           "  --memory FILE    the unit's 2850 bytes: loaded at start when FILE exists,\n"
           "                   written after every stored page\n"
           "  --version N      protocol version the unit reports (default 74)\n"
           "  --name TEXT      unit name in the identification block (up to 30 characters)\n"
           "  --bad-echo P     the echo of programmed page P (1..19) differs from the page sent\n"
           "  --drop RATE      lose this share of the answers (0..1, or a percentage like 5%)\n"
           "  --corrupt RATE   damage the check byte of this share of the answers\n"
           "  --seed N         seed for --drop, --corrupt and the engine's noise (default 1)\n"
           "  --silent         never answer\n"
           "  --no-pacing      answer at once instead of at the pace of a 57600-baud line\n"
           "  --log FILE       write one line per request and answer to FILE\n"
           "  --help           show this text\n"
           "\n"
           "Runs until it is interrupted or terminated.\n";
}

std::optional<SimCommandLine> ParseSimCommandLine(std::span<const std::string_view> args,
                                                  std::string& error) {
    SimCommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::string_view value;
        bool inlineValue = false;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            inlineValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (inlineValue) return true;
            if (i + 1 >= args.size()) {
                error = std::string(arg) + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        auto bad = [&](std::string_view what) {
            error = std::string(arg) + ": " + std::string(what) + ", not \"" + std::string(value) +
                    "\"";
            return std::nullopt;
        };

        const bool flag =
            arg == "--help" || arg == "-h" || arg == "--silent" || arg == "--no-pacing";
        if (flag && inlineValue) {
            error = std::string(arg) + " takes no value";
            return std::nullopt;
        }
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--silent") {
            line.unit.silent = true;
        } else if (arg == "--no-pacing") {
            line.pacing = false;
        } else if (arg == "--link" || arg == "--memory" || arg == "--log" || arg == "--name") {
            if (!takeValue()) return std::nullopt;
            if (value.empty() && arg != "--name") return bad("a path is needed");
            if (arg == "--link") line.linkPath = value;
            if (arg == "--memory") line.memoryFile = value;
            if (arg == "--log") line.logFile = value;
            if (arg == "--name") {
                if (value.size() > static_cast<std::size_t>(kUnitNameLength))
                    return bad("at most 30 characters");
                line.unit.name = value;
            }
        } else if (arg == "--version") {
            if (!takeValue()) return std::nullopt;
            int v = 0;
            if (!ParseNumber(value, v) || v < 0 || v > 255) return bad("a number 0..255");
            line.unit.protocolVersion = v;
        } else if (arg == "--bad-echo") {
            if (!takeValue()) return std::nullopt;
            int p = 0;
            if (!ParseNumber(value, p) || p < 1 || p > kPageCount) return bad("a page 1..19");
            line.unit.badEchoPage = p;
        } else if (arg == "--drop" || arg == "--corrupt") {
            if (!takeValue()) return std::nullopt;
            double rate = 0;
            if (!ParseRate(value, rate)) return bad("a rate 0..1 or 0%..100%");
            (arg == "--drop" ? line.unit.dropRate : line.unit.corruptRate) = rate;
        } else if (arg == "--seed") {
            if (!takeValue()) return std::nullopt;
            std::uint64_t seed = 0;
            if (!ParseNumber(value, seed)) return bad("a whole number");
            line.unit.seed = seed;
        } else {
            error = "unknown option \"" + std::string(args[i]) + "\"";
            return std::nullopt;
        }
    }
    return line;
}

}  // namespace kestrin

// Short texts for the simulator's log: one line per request and per answer.

#include <cstdio>
#include <string>

#include "sim/unit/SimUnit.h"

namespace kestrin {

namespace {

std::string Hex(std::uint8_t b) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", b);
    return text;
}

int Word(std::span<const std::uint8_t> f, int at) {
    return f[static_cast<std::size_t>(at)] | (f[static_cast<std::size_t>(at + 1)] << 8);
}

std::string CheckNote(std::span<const std::uint8_t> f) {
    return CheckOk(f) ? std::string() : std::string(" (bad check byte)");
}

}  // namespace

std::string DescribeRequest(std::span<const std::uint8_t> r) {
    if (r.size() != static_cast<std::size_t>(kFrameSize))
        return std::to_string(r.size()) + " bytes, not a frame";
    const std::uint8_t command = r[0];
    const int page = PageOfCommand(command);
    std::string text = Hex(command) + " ";
    if (command == kCmdMonitor) {
        text += "monitor request";
        if (r[1] == 1) {
            char tuning[64];
            std::snprintf(tuning, sizeof tuning, ", tuning on: channel %d, target %d.%d A/F", r[12],
                          r[4] / 10, r[4] % 10);
            text += tuning;
        }
        if (r[20] != 0 || r[21] != 0 || r[22] != 0 || r[23] != 0) {
            char tests[48];
            std::snprintf(tests, sizeof tests, ", output tests %02X %02X %02X %02X", r[20], r[21],
                          r[22], r[23]);
            text += tests;
        }
    } else if ((command & kReplyBit) != 0 || page > kPageCount ||
               (command & ~(kCmdRequest | 63)) != 0) {
        text += "unknown command";
    } else {
        text += (command & kCmdRequest) != 0 ? "request " : "program ";
        text += page == 0 ? std::string("identification") : "page " + std::to_string(page);
    }
    return text + CheckNote(r);
}

std::string DescribeAnswer(std::span<const std::uint8_t> a) {
    if (a.size() != static_cast<std::size_t>(kFrameSize))
        return std::to_string(a.size()) + " bytes, not a frame";
    const std::uint8_t reply = a[0];
    std::string text = Hex(reply) + " ";
    if (reply == kMonitorReply) {
        char live[160];
        std::snprintf(live, sizeof live,
                      "monitor: rpm %d, throttle %d.%d %%, gear %d, %d km/h, coolant %d C, "
                      "A/F %d.%d, tuning state %d, saving %d, version %d",
                      Word(a, 48), Word(a, 138) / 10, Word(a, 138) % 10, a[25], Word(a, 116),
                      a[23] - 100, a[29] / 10, a[29] % 10, a[28], Word(a, 148), a[150]);
        text += live;
    } else {
        const int page = PageOfCommand(reply);
        const bool request = (reply & kCmdRequest) != 0;
        if (page == 0) {
            text += "identification, version " + std::to_string(a[1 + 10]);
        } else {
            text += (request ? "page " : "stored page ") + std::to_string(page);
        }
    }
    return text + CheckNote(a);
}

std::string_view OutcomeText(UnitOutcome outcome) {
    switch (outcome) {
        case UnitOutcome::Answered:
            return "answered";
        case UnitOutcome::Dropped:
            return "answer dropped";
        case UnitOutcome::Corrupted:
            return "answer sent with a damaged check byte";
        case UnitOutcome::Silent:
            return "silent, no answer";
        case UnitOutcome::BadRequest:
            return "bad request ignored";
        case UnitOutcome::Unknown:
            return "unknown command ignored";
    }
    return "";
}

}  // namespace kestrin

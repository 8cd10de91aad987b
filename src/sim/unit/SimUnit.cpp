#include "sim/unit/SimUnit.h"

#include <algorithm>

namespace kestrin {

namespace {

constexpr int kPages = kPageCount;  // pages 1..19 hold the memory; page 0 identifies the unit

// The identification block: type code and number, firmware date and time.
constexpr std::string_view kTypeCode = "KMP";
constexpr int kTypeNumber = 7;
constexpr int kFirmwareDay = 14;
constexpr std::string_view kFirmwareMonth = "Mar";
constexpr int kFirmwareYear = 2008;
constexpr int kFirmwareHour = 9;
constexpr int kFirmwareMinute = 30;
constexpr int kIdVersion = 10;
constexpr int kIdName = 16;

// Monitor frame positions the unit itself fills.
constexpr int kMonProgramCount = 76;
constexpr int kMonTest1 = 78;
constexpr int kMonSaving = 148;
constexpr int kMonVersion = 150;

// Monitor request positions.
constexpr int kReqTests = 20;

struct OutputTestRow {
    int requestByte;
    std::uint8_t bit;
    std::string_view name;
};
constexpr std::array<OutputTestRow, 21> kOutputTests{{
    {0, 0x01, "Injector 1A"},
    {0, 0x02, "Injector 2A"},
    {0, 0x04, "Injector 3A"},
    {0, 0x08, "Injector 4A"},
    {0, 0x10, "Injector 1B"},
    {0, 0x20, "Injector 2B"},
    {0, 0x40, "Injector 3B"},
    {0, 0x80, "Injector 4B"},
    {1, 0x01, "Ignition 1"},
    {1, 0x02, "Ignition 2"},
    {1, 0x04, "Ignition 3"},
    {1, 0x08, "Ignition 4"},
    {2, 0x01, "Pilot light"},
    {2, 0x02, "Fuel pump"},
    {2, 0x04, "Cooling"},
    {2, 0x08, "Gas"},
    {2, 0x10, "Rpm"},
    {3, 0x01, "Intake servo plus"},
    {3, 0x02, "Intake servo minus"},
    {3, 0x04, "Exhaust servo plus"},
    {3, 0x08, "Exhaust servo minus"},
}};

// Month code: the sum of the three characters of the English abbreviation, in 8 bits.
constexpr std::uint8_t MonthCode(std::string_view month) {
    unsigned sum = 0;
    for (char c : month) sum += static_cast<unsigned char>(c);
    return static_cast<std::uint8_t>(sum & 0xFF);
}

void PutWord(Frame& f, int at, unsigned value) {
    f[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value & 0xFF);
    f[static_cast<std::size_t>(at + 1)] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

bool Chance(UnitRandom& random, double rate) {
    return random.Fraction() < rate;
}

}  // namespace

std::string_view OutputTestName(int requestByte, std::uint8_t bit) {
    for (const auto& row : kOutputTests)
        if (row.requestByte == requestByte && row.bit == bit) return row.name;
    return {};
}

SimUnit::SimUnit(SimOptions options)
    : options_(std::move(options)), engine_(options_.seed), lineRandom_(options_.seed) {}

void SimUnit::Reseed(std::uint64_t seed) {
    options_.seed = seed;
    lineRandom_ = UnitRandom(seed);
}

bool SimUnit::LoadMemory(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != static_cast<std::size_t>(kImageSize)) return false;
    std::copy(bytes.begin(), bytes.end(), memory_.bytes().begin());
    engine_.CaptureReference(memory_);
    ++memoryRevision_;
    return true;
}

std::array<std::uint8_t, kFrameData> SimUnit::Identification() const {
    std::array<std::uint8_t, kFrameData> id{};
    for (std::size_t i = 0; i < kTypeCode.size(); ++i)
        id[i] = static_cast<std::uint8_t>(kTypeCode[i]);
    id[3] = kTypeNumber;
    id[4] = kFirmwareDay;
    id[5] = MonthCode(kFirmwareMonth);
    id[6] = kFirmwareYear - 2000;
    id[7] = kFirmwareHour;
    id[8] = kFirmwareMinute;
    id[kIdVersion] = static_cast<std::uint8_t>(options_.protocolVersion & 0xFF);
    const std::size_t n = std::min<std::size_t>(options_.name.size(), kUnitNameLength);
    for (std::size_t i = 0; i < n; ++i)
        id[kIdName + i] = static_cast<std::uint8_t>(options_.name[i]);
    return id;
}

Frame SimUnit::MonitorFrame() const {
    Frame f{};
    f[0] = kMonitorReply;
    engine_.FillMonitor(f, memory_);
    PutWord(f, kMonProgramCount, static_cast<unsigned>(programCount_));
    PutWord(f, kMonTest1, static_cast<unsigned>(answered_));
    PutWord(f, kMonTest1 + 2, static_cast<unsigned>(outputTests_.size()));
    PutWord(f, kMonSaving, static_cast<unsigned>(savingCountdown_));
    f[kMonVersion] = static_cast<std::uint8_t>(options_.protocolVersion & 0xFF);
    Seal(f);
    return f;
}

void SimUnit::Advance(int milliseconds) {
    if (milliseconds <= 0) return;
    clockMs_ += static_cast<std::uint64_t>(milliseconds);
    savingCountdown_ = std::max(0, savingCountdown_ - milliseconds);
    engine_.Advance(milliseconds, memory_);
    if (engine_.TakeMemoryChanged()) ++memoryRevision_;
}

void SimUnit::TakeMonitorRequest(std::span<const std::uint8_t> request) {
    engine_.SetTuning(TuningFromRequest(request));
    for (int b = 0; b < 4; ++b) {
        const std::uint8_t bits = request[static_cast<std::size_t>(kReqTests + b)];
        for (int i = 0; i < 8; ++i) {
            const auto bit = static_cast<std::uint8_t>(1u << i);
            if ((bits & bit) == 0) continue;
            outputTests_.push_back({clockMs_, b, bit, OutputTestName(b, bit)});
            engine_.StartOutputTest(b, bit, memory_);
        }
    }
}

std::optional<Frame> SimUnit::Respond(std::span<const std::uint8_t> request) {
    const std::uint8_t command = request[0];
    Frame answer{};
    answer[0] = static_cast<std::uint8_t>(command ^ kReplyBit);

    if (command == kCmdMonitor) {
        TakeMonitorRequest(request);
        return MonitorFrame();
    }
    const int page = PageOfCommand(command);
    if ((command & ~(kCmdRequest | 63)) != 0 || page > kPages) return std::nullopt;

    if (page == 0) {
        const auto id = Identification();
        std::copy(id.begin(), id.end(), answer.begin() + 1);
    } else if ((command & kCmdRequest) != 0) {
        const auto stored = memory_.page(page);
        std::copy(stored.begin(), stored.end(), answer.begin() + 1);
    } else {
        auto stored = memory_.page(page);
        std::copy(request.begin() + 1, request.begin() + 1 + kPageSize, stored.begin());
        if (savingCountdown_ == 0) ++programCount_;
        savingCountdown_ = std::clamp(options_.savingStart, 0, kSavingCountdownStart);
        engine_.CaptureReference(memory_);
        ++memoryRevision_;
        std::copy(stored.begin(), stored.end(), answer.begin() + 1);
        if (page == options_.badEchoPage) answer[1] ^= 0xFF;
    }
    Seal(answer);
    return answer;
}

std::optional<Frame> SimUnit::Answer(std::span<const std::uint8_t> request) {
    if (options_.silent) {
        lastOutcome_ = UnitOutcome::Silent;
        return std::nullopt;
    }
    if (request.size() != static_cast<std::size_t>(kFrameSize) || !CheckOk(request)) {
        lastOutcome_ = UnitOutcome::BadRequest;
        return std::nullopt;
    }
    auto answer = Respond(request);
    if (!answer) {
        lastOutcome_ = UnitOutcome::Unknown;
        return std::nullopt;
    }
    ++answered_;
    // Both draws are made for every answer, so each rate's pattern stays the same whatever
    // the other rate is.
    const bool drop = Chance(lineRandom_, options_.dropRate);
    const bool corrupt = Chance(lineRandom_, options_.corruptRate);
    if (drop) {
        lastOutcome_ = UnitOutcome::Dropped;
        return std::nullopt;
    }
    if (corrupt) {
        (*answer)[kFrameSize - 1] ^= 0x55;
        lastOutcome_ = UnitOutcome::Corrupted;
        return answer;
    }
    lastOutcome_ = UnitOutcome::Answered;
    return answer;
}

}  // namespace kestrin

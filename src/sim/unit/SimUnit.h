#pragma once
// The substitute engine control unit: takes one 152-byte request, gives zero or one 152-byte
// answer, as the real unit does. Shared by the in-process fake line of the tests and by
// kestrin-sim. Time only moves through Advance(), so every run can be repeated exactly.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/Frame.h"
#include "model/ParameterImage.h"
#include "sim/unit/EngineModel.h"
#include "sim/unit/UnitRandom.h"

namespace kestrin {

inline constexpr int kUnitProtocolVersion = 74;
inline constexpr int kSavingCountdownStart = 5782;  // the most the unit ever reports
inline constexpr int kUnitNameLength = 30;

struct SimOptions {
    int protocolVersion = kUnitProtocolVersion;
    std::string name;        // shown instead of the type code when not empty (30 characters)
    int badEchoPage = 0;     // 1..19: the echo of that programmed page differs; 0: none
    double dropRate = 0;     // share of answers lost, 0..1
    double corruptRate = 0;  // share of answers whose check byte is damaged, 0..1
    std::uint64_t seed = 1;
    bool silent = false;                      // never answers
    int savingStart = kSavingCountdownStart;  // countdown after a stored page; 0 disables it
};

// What happened to the last request.
enum class UnitOutcome {
    Answered,
    Dropped,     // answered, but the answer was lost on the line
    Corrupted,   // answered with a damaged check byte
    Silent,      // the unit is silent
    BadRequest,  // wrong length or check byte: ignored
    Unknown,     // a command the unit does not know: ignored
};

// An output-test request the unit received.
struct OutputTestNote {
    std::uint64_t atMs;
    int requestByte;   // 0..3 (monitor request bytes 20..23)
    std::uint8_t bit;  // bit value
    std::string_view name;
};

// The outputs of the four test request bytes, by bit; an empty name marks an unused bit.
std::string_view OutputTestName(int requestByte, std::uint8_t bit);

class SimUnit {
public:
    explicit SimUnit(SimOptions options = {});

    // One request in, zero or one answer out.
    std::optional<Frame> Answer(std::span<const std::uint8_t> request);
    // Moves the unit's clock: engine, tuning, saving countdown, output tests.
    void Advance(int milliseconds);

    // Options may be changed between requests; the seed takes effect through Reseed().
    SimOptions& options() { return options_; }
    const SimOptions& options() const { return options_; }
    void Reseed(std::uint64_t seed);

    // The unit's 19 pages.
    const ParameterImage& memory() const { return memory_; }
    ParameterImage& memory() { return memory_; }
    // Replaces the memory; false (and nothing changed) unless exactly 2850 bytes are given.
    bool LoadMemory(std::span<const std::uint8_t> bytes);
    // Counts every change of the memory (stored pages and tuning corrections).
    std::uint64_t memoryRevision() const { return memoryRevision_; }

    // The identification block answered for page 0.
    std::array<std::uint8_t, kFrameData> Identification() const;
    Frame MonitorFrame() const;

    int savingCountdown() const { return savingCountdown_; }
    int programCount() const { return programCount_; }
    std::uint64_t clockMs() const { return clockMs_; }
    UnitOutcome lastOutcome() const { return lastOutcome_; }
    const std::vector<OutputTestNote>& outputTests() const { return outputTests_; }

    EngineModel& engine() { return engine_; }
    const EngineModel& engine() const { return engine_; }

private:
    std::optional<Frame> Respond(std::span<const std::uint8_t> request);
    void TakeMonitorRequest(std::span<const std::uint8_t> request);

    SimOptions options_;
    ParameterImage memory_;
    EngineModel engine_;
    UnitRandom lineRandom_;
    std::uint64_t clockMs_ = 0;
    std::uint64_t memoryRevision_ = 0;
    int savingCountdown_ = 0;
    int programCount_ = 0;
    int answered_ = 0;
    UnitOutcome lastOutcome_ = UnitOutcome::Answered;
    std::vector<OutputTestNote> outputTests_;
};

// One line of text for the simulator's log.
std::string DescribeRequest(std::span<const std::uint8_t> request);
std::string DescribeAnswer(std::span<const std::uint8_t> answer);
std::string_view OutcomeText(UnitOutcome outcome);

}  // namespace kestrin

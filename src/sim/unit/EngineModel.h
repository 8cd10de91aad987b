#pragma once
// A small engine and motorcycle behind the substitute unit: a repeating ride (idle, pull away
// through the gears, cruise, coast to a stop), warming temperatures, a lambda reading that
// follows the stored injection maps, and the unit's own tuning of those maps.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "link/Frame.h"
#include "model/InjectionMaps.h"
#include "model/ParameterImage.h"
#include "sim/unit/UnitRandom.h"

namespace kestrin {

// Tuning state codes the unit reports in monitor byte 28.
enum TuneState : std::uint8_t {
    TuneRpmZero = 0,
    TuneNoMap = 1,
    TuneOff = 2,
    TuneAccelTooBig = 3,
    TuneBlendedMaps = 4,
    TuneNotInPoint = 5,
    TuneLambdaError = 6,
    TuneRpmLow = 7,
    TuneRpmHigh = 8,
    TuneLoadLow = 9,
    TuneLoadHigh = 10,
    TuneAdding = 11,
    TuneDecrease = 12,
    TuneOk = 13,
    TuneCoupled = 14,
};

// Tuning settings as the program sends them in every monitor request.
struct TuningSettings {
    bool on = false;
    int mode = 1;            // 0: only close to a map point, 1: wherever the engine runs
    int targetAf = 145;      // A/F x 10
    int hysteresis = 3;      // A/F x 10
    int rpmTolerance = 200;  // rpm
    int loadTolerance = 3;   // % throttle, or kPa on the pressure map
    int stepMs = 200;        // time between two corrections
    int stepPercent = 1;     // size of one correction
    int channel = 1;         // cylinder whose map and exhaust are tuned, 1..4
    int maxAccPercent = 10;  // no tuning while the acceleration enrichment is larger
};

// Reads the tuning bytes of a monitor request (data bytes 1..13).
TuningSettings TuningFromRequest(std::span<const std::uint8_t> request);

// The operating point and what the unit derives from it, for tests and the log.
struct EngineState {
    std::uint64_t powerMs = 0;    // since the unit was switched on
    std::uint64_t runningMs = 0;  // since the engine started
    double throttle = 0;          // per mille
    double speed = 0;             // km/h
    double rpm = 0;
    int gear = 0;
    double coolant = 20;  // deg C
    double air = 22;      // deg C
    double iapKpa = 98.5;
    double airFuel = 200;  // A/F x 10, as the sensor reads it
    double accEnrich = 0;  // 0.1 %
    bool fan = false;
    int shiftCutMs = 0;
    int share = 0;  // percent of the injection taken from the throttle maps
    int tuneState = TuneOff;
    int tunedMap = -1;  // InjectionMap index of the map being tuned, -1 none
    int tunedCell = -1;
    double exhaustServo = 0;  // mV
    double intakeServo = 0;   // mV
    int rpmNoise = 0;
    int pressureNoise = 0;
};

class EngineModel {
public:
    explicit EngineModel(std::uint64_t seed);

    // Moves the model on; tuning corrections are written into `memory`.
    void Advance(int milliseconds, ParameterImage& memory);
    void SetTuning(const TuningSettings& settings) { tuning_ = settings; }
    const TuningSettings& tuning() const { return tuning_; }

    // Drives one output for a while (pilot light, fan, nitrous valve, injector, servo step).
    void StartOutputTest(int requestByte, std::uint8_t bit, const ParameterImage& memory);

    // The fuel the engine really needs is taken from the first non-zero maps it sees.
    void CaptureReference(const ParameterImage& memory);

    // Holds the throttle at a fixed position instead of the ride, e.g. for steady tuning.
    void HoldThrottle(std::optional<int> permille) { heldThrottle_ = permille; }

    // Fills monitor bytes 1..147 (live values); the caller adds the rest.
    void FillMonitor(Frame& frame, const ParameterImage& memory) const;

    const EngineState& state() const { return state_; }
    // True once after tuning changed a map cell.
    bool TakeMemoryChanged();

    bool Running() const;
    // True while the output of request byte `requestByte`, bit value `bit` is being tested.
    bool Testing(int requestByte, std::uint8_t bit) const;

private:
    void Step(int dt, ParameterImage& memory);
    void StepRide(double dt, const ParameterImage& memory);
    void StepLambda(double dt, const ParameterImage& memory);
    void StepTuning(int dt, ParameterImage& memory);
    int LambdaFor(int cylinder, const ParameterImage& memory);

    EngineState state_;
    TuningSettings tuning_;
    UnitRandom random_;
    std::optional<int> heldThrottle_;
    int pendingMs_ = 0;
    int tuneTimerMs_ = 0;
    bool memoryChanged_ = false;
    std::array<std::array<std::uint16_t, kMapCells>, kInjectionMapCount> reference_{};
    // Time left of each output test, by request byte and bit.
    std::array<std::array<int, 8>, 4> testMs_{};
};

}  // namespace kestrin

#include "sim/unit/EngineModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kestrin {

namespace {

constexpr int kStepMs = 10;
constexpr std::uint64_t kCrankAtMs = 1000;  // key on, engine still
constexpr std::uint64_t kStartAtMs = 2000;  // cranking until then
constexpr std::uint64_t kLambdaWarmMs = 10000;
constexpr int kTestPulseMs = 1000;
constexpr double kAmbientKpa = 98.5;
constexpr double kStoichAf = 147;  // what the engine burns at exactly the fuel it needs

// Unit memory fields the model reads.
constexpr int kIgnLimiter = 29, kJetLimiter = 30, kRetardLimiter = 31;
constexpr int kTps0 = 33, kTps100 = 34, kCoolingTemp = 35;
constexpr int kAdvanceCorr = 41, kJetMode = 47;
constexpr int kShareTpsMin = 48, kShareTpsMax = 49, kShareRpmMin = 50, kShareRpmMax = 51;
constexpr int kIapCorr = 52;
constexpr int kServoExOn = 58, kServoInOn = 59, kServoExPercent = 62, kServoInPercent = 63;
constexpr int kChokeTime = 67, kChokeCorr = 71;
constexpr int kCoolantJetCorr = 80, kAirJetCorr = 85, kCoolantAdvCorr = 93;
constexpr int kNitrousOn = 98, kPilotFirst = 108, kPilotSecond = 114;
constexpr int kGearCount = 137, kGearVoltWord = 70, kGearRatioWord = 81;
constexpr int kApsWord = 3, kIapsWord = 7, kCoolantSensorWord = 97, kAirSensorWord = 106;
constexpr int kCylinders = 256, kIdleMode = 290;
constexpr int kLambdaAf = 353, kLambdaMvWord = 179, kTestServoTime = 377, kIapLoadWord = 192;
constexpr int kPositionA = 405, kPositionB = 435;
constexpr int kAdvanceMap = 600, kAdvanceAxis = 465, kJetBMap = 1950, kJetBAxis = 540;
constexpr int kServoExMap = 2400, kServoExAxis = 570, kServoInMap = 2550, kServoInAxis = 585;

// The ride: throttle in per mille over one lap of 60 s, starting at idle.
struct RideKey {
    int atMs;
    int throttle;
};
constexpr std::array<RideKey, 15> kRide{{{0, 0},
                                         {8000, 0},
                                         {9000, 250},
                                         {12000, 450},
                                         {16000, 800},
                                         {19000, 1000},
                                         {21000, 1000},
                                         {22000, 300},
                                         {30000, 350},
                                         {32000, 150},
                                         {40000, 600},
                                         {44000, 600},
                                         {45000, 0},
                                         {59000, 0},
                                         {60000, 0}}};

constexpr std::array<int, kMapRows> kThrottlePoints{0, 2, 5, 10, 20, 30, 40, 60, 80, 100};
constexpr std::array<int, kMapRows> kFallbackIapPoints{30, 50, 60, 70, 75, 80, 85, 90, 95, 100};
constexpr std::array<int, kMapColumns> kFallbackRpmAxis{
    800, 1200, 1600, 2000, 2500, 3000, 3500, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 11000};
constexpr std::array<int, 6> kFallbackGearRatio{2000, 1000, 666, 500, 400, 333};
constexpr std::array<int, 5> kCorrectionTemps{-10, 20, 50, 80, 110};
constexpr std::array<int, 9> kSensorTemps{-20, 0, 20, 40, 60, 80, 100, 120, 140};

// Monitor frame positions written here.
constexpr int kFlagsA = 1, kFlagsB = 2, kFlagsC = 3, kFlagsD = 4;
constexpr int kAdvance = 10, kJetA = 14, kJetB = 18, kCoolant = 23, kAir = 24, kGear = 25;
constexpr int kShare = 26, kPilot = 27, kTuneState = 28, kAirFuel = 29;

int Clamp(int v, int lo, int hi) {
    return std::min(std::max(v, lo), hi);
}
int Round(double v) {
    return static_cast<int>(std::lround(v));
}

void PutWord(Frame& f, int at, int value) {
    const int v = Clamp(value, 0, 0xFFFF);
    f[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(v & 0xFF);
    f[static_cast<std::size_t>(at + 1)] = static_cast<std::uint8_t>(v >> 8);
}
void PutByte(Frame& f, int at, int value) {
    f[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(Clamp(value, 0, 255));
}

// Piecewise linear through (xs, ys); ends are held. Segments that do not rise are skipped.
template <std::size_t N>
double Interpolate(const std::array<int, N>& xs, const std::array<int, N>& ys, double x) {
    if (x <= xs[0]) return ys[0];
    for (std::size_t i = 0; i + 1 < N; ++i) {
        if (xs[i + 1] <= xs[i]) continue;
        if (x <= xs[i + 1]) return ys[i] + (x - xs[i]) * (ys[i + 1] - ys[i]) / (xs[i + 1] - xs[i]);
    }
    return ys[N - 1];
}

template <std::size_t N>
int Nearest(const std::array<int, N>& points, double value) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < N; ++i)
        if (std::abs(points[i] - value) < std::abs(points[best] - value)) best = i;
    return static_cast<int>(best);
}

std::array<int, kMapColumns> RpmAxis(const ParameterImage& m, int firstByte) {
    std::array<int, kMapColumns> axis{};
    bool any = false;
    for (int i = 0; i < kMapColumns; ++i) {
        axis[static_cast<std::size_t>(i)] = 100 * m.byte(firstByte + i);
        any = any || axis[static_cast<std::size_t>(i)] != 0;
    }
    return any ? axis : kFallbackRpmAxis;
}

std::array<int, kMapRows> IapPoints(const ParameterImage& m) {
    std::array<int, kMapRows> points{};
    bool any = false;
    for (int i = 0; i < kMapRows; ++i) {
        points[static_cast<std::size_t>(i)] = m.word(kIapLoadWord + i);
        any = any || points[static_cast<std::size_t>(i)] != 0;
    }
    return any ? points : kFallbackIapPoints;
}

template <std::size_t N>
std::array<int, N> Bytes(const ParameterImage& m, int first) {
    std::array<int, N> v{};
    for (std::size_t i = 0; i < N; ++i) v[i] = m.byte(first + static_cast<int>(i));
    return v;
}
template <std::size_t N>
std::array<int, N> Words(const ParameterImage& m, int first) {
    std::array<int, N> v{};
    for (std::size_t i = 0; i < N; ++i) v[i] = m.word(first + static_cast<int>(i));
    return v;
}
template <std::size_t N>
bool AllZero(const std::array<int, N>& v) {
    return std::all_of(v.begin(), v.end(), [](int x) { return x == 0; });
}

int Cylinders(const ParameterImage& m) {
    const int n = m.byte(kCylinders);
    return n >= 1 && n <= 4 ? n : 4;
}

int IgnitionLimit(const ParameterImage& m) {
    const int limit = 100 * m.byte(kIgnLimiter);
    return limit >= 3000 ? limit : 13000;
}

// Linear sensor given as (pressure 1, voltage 1, pressure 2, voltage 2).
int PressureMv(const ParameterImage& m, int word, double kpa) {
    const int p1 = m.word(word), v1 = m.word(word + 1), p2 = m.word(word + 2),
              v2 = m.word(word + 3);
    if (p2 == p1) return Round(400 + (kpa - 20) * 50);
    return Round(v1 + (kpa - p1) * (v2 - v1) / (p2 - p1));
}

int TemperatureMv(const ParameterImage& m, int word, double celsius) {
    const auto mv = Words<9>(m, word);
    if (AllZero(mv)) return Round(4500 - 25 * celsius);
    return Round(Interpolate(kSensorTemps, mv, celsius));
}

// Share of the injection taken from the throttle maps, from the switch-over settings.
int ThrottleShare(const ParameterImage& m, double throttlePercent, double rpm) {
    auto part = [](double v, int lo, int hi) {
        if (hi <= lo) return v >= lo ? 100 : 0;
        if (v <= lo) return 0;
        if (v >= hi) return 100;
        return static_cast<int>((v - lo) * 100 / (hi - lo));
    };
    return std::max(part(throttlePercent, m.byte(kShareTpsMin), m.byte(kShareTpsMax)),
                    part(rpm, 100 * m.byte(kShareRpmMin), 100 * m.byte(kShareRpmMax)));
}

// How far the engine's real need lies from the first map it was given: a smooth +-7 %.
double Deviation(int map, int cell) {
    const int load = cell / kMapColumns, rpm = cell % kMapColumns;
    return 0.07 * std::sin(0.9 * rpm + 1.3 * map + 0.4) * std::cos(0.55 * load + 0.2 * map);
}

int RideThrottle(std::uint64_t runningMs) {
    const int t = static_cast<int>(runningMs % static_cast<std::uint64_t>(kRide.back().atMs));
    for (std::size_t i = 0; i + 1 < kRide.size(); ++i) {
        const auto& a = kRide[i];
        const auto& b = kRide[i + 1];
        if (t < b.atMs)
            return a.throttle + (t - a.atMs) * (b.throttle - a.throttle) / (b.atMs - a.atMs);
    }
    return 0;
}

int GearRatio(const ParameterImage& m, int gear) {
    const int g = Clamp(gear, 1, 6);
    const int r = m.word(kGearRatioWord + g - 1);
    return r > 0 ? r : kFallbackGearRatio[static_cast<std::size_t>(g - 1)];
}

double IdleRpm(double coolant) {
    return coolant >= 60 ? 1250 : 1250 + (60 - std::max(coolant, 20.0)) * 350 / 40;
}

}  // namespace

TuningSettings TuningFromRequest(std::span<const std::uint8_t> r) {
    TuningSettings t;
    if (r.size() < kFrameSize) return t;
    t.on = r[1] == 1;
    t.mode = r[2];
    t.targetAf = r[4] != 0 ? r[4] : 145;
    t.hysteresis = r[6];
    t.rpmTolerance = 10 * r[7];
    t.loadTolerance = r[8];
    t.stepMs = std::max(10, 10 * r[9]);
    t.stepPercent = std::max<int>(1, r[10]);
    t.channel = Clamp(r[12], 1, 4);
    t.maxAccPercent = r[13];
    return t;
}

EngineModel::EngineModel(std::uint64_t seed) : random_(seed ^ 0x6B657374726E21ull) {}

bool EngineModel::Running() const {
    return state_.powerMs >= kStartAtMs;
}

bool EngineModel::Testing(int requestByte, std::uint8_t bit) const {
    if (requestByte < 0 || requestByte > 3) return false;
    for (int b = 0; b < 8; ++b)
        if ((bit >> b) & 1)
            return testMs_[static_cast<std::size_t>(requestByte)][static_cast<std::size_t>(b)] > 0;
    return false;
}

bool EngineModel::TakeMemoryChanged() {
    const bool changed = memoryChanged_;
    memoryChanged_ = false;
    return changed;
}

void EngineModel::CaptureReference(const ParameterImage& memory) {
    for (int m = 0; m < kInjectionMapCount; ++m) {
        auto& ref = reference_[static_cast<std::size_t>(m)];
        const int first = kInjectionMaps[static_cast<std::size_t>(m)].firstWord;
        for (int c = 0; c < kMapCells; ++c)
            if (ref[static_cast<std::size_t>(c)] == 0)
                ref[static_cast<std::size_t>(c)] = memory.word(first + c);
    }
}

void EngineModel::StartOutputTest(int requestByte, std::uint8_t bit, const ParameterImage& m) {
    if (requestByte < 0 || requestByte > 3) return;
    const int servoMs = m.byte(kTestServoTime) != 0 ? 10 * m.byte(kTestServoTime) : 500;
    for (int b = 0; b < 8; ++b)
        if ((bit >> b) & 1)
            testMs_[static_cast<std::size_t>(requestByte)][static_cast<std::size_t>(b)] =
                requestByte == 3 ? servoMs : kTestPulseMs;
}

void EngineModel::Advance(int milliseconds, ParameterImage& memory) {
    if (milliseconds <= 0) return;
    pendingMs_ += milliseconds;
    while (pendingMs_ >= kStepMs) {
        pendingMs_ -= kStepMs;
        Step(kStepMs, memory);
    }
}

void EngineModel::Step(int dt, ParameterImage& memory) {
    state_.powerMs += static_cast<std::uint64_t>(dt);
    state_.rpmNoise = random_.Jitter(15);
    state_.pressureNoise = random_.Jitter(2);
    for (auto& row : testMs_)
        for (auto& ms : row) ms = std::max(0, ms - dt);

    if (state_.powerMs < kCrankAtMs) {
        state_.rpm = 0;
    } else if (state_.powerMs < kStartAtMs) {
        state_.rpm = 250;
    } else {
        state_.runningMs += static_cast<std::uint64_t>(dt);
        StepRide(dt, memory);
    }
    const bool running = Running();
    state_.iapKpa =
        running ? kAmbientKpa * (0.28 + 0.70 * std::sqrt(state_.throttle / 1000.0)) : kAmbientKpa;
    state_.share = ThrottleShare(memory, state_.throttle / 10, state_.rpm);

    // Temperatures: the coolant warms to its thermostat, more at standstill; the fan cuts in.
    const int fanOn = memory.byte(kCoolingTemp) >= 50 && memory.byte(kCoolingTemp) <= 130
                          ? memory.byte(kCoolingTemp)
                          : 98;
    if (state_.coolant >= fanOn) state_.fan = true;
    if (state_.coolant <= fanOn - 5) state_.fan = false;
    const double coolantTarget = !running     ? state_.air
                                 : state_.fan ? 80
                                              : (state_.speed < 20 ? 104 : 86);
    state_.coolant += (coolantTarget - state_.coolant) * dt / (running ? 60000.0 : 300000.0);
    const double airTarget = 23 + (running && state_.speed < 20 ? 9 : 2);
    state_.air += (airTarget - state_.air) * dt / 30000.0;

    // Servos move toward their map positions at 5 V/s.
    auto servoTarget = [&](int on, int map, int axis, int percentFlag, int testByteBit) {
        if (memory.byte(on) == 0) return 0.0;
        const int r = Nearest(RpmAxis(memory, axis), state_.rpm);
        const int l = Nearest(kThrottlePoints, state_.throttle / 10);
        const int v = memory.byteCell(map, l, r);
        double mv = memory.byte(percentFlag) != 0 ? 500 + 40.0 * v : 20.0 * v;
        if (testMs_[3][static_cast<std::size_t>(testByteBit)] > 0) mv += 500;
        if (testMs_[3][static_cast<std::size_t>(testByteBit + 1)] > 0) mv -= 500;
        return std::clamp(mv, 0.0, 5000.0);
    };
    auto move = [dt](double& value, double target) {
        const double step = 5.0 * dt;
        value += std::clamp(target - value, -step, step);
    };
    move(state_.intakeServo,
         servoTarget(kServoInOn, kServoInMap, kServoInAxis, kServoInPercent, 0));
    move(state_.exhaustServo,
         servoTarget(kServoExOn, kServoExMap, kServoExAxis, kServoExPercent, 2));

    StepLambda(dt, memory);
    StepTuning(dt, memory);
}

void EngineModel::StepRide(double dt, const ParameterImage& m) {
    auto& s = state_;
    const double target =
        heldThrottle_ ? std::clamp(*heldThrottle_, 0, 1000) : RideThrottle(s.runningMs);
    const double previous = s.throttle;
    const double slew = 800 * dt / 1000;
    s.throttle += std::clamp(target - s.throttle, -slew, slew);
    const double rate = (s.throttle - previous) * 1000 / dt;  // per mille per second
    s.accEnrich = std::max(std::max(0.0, rate) / 4, s.accEnrich * std::exp(-dt / 300));

    const double vTarget = s.throttle * 0.24;
    const double tau = vTarget > s.speed ? 5000 : (s.throttle < 50 ? 3000 : 8000);
    s.speed += (vTarget - s.speed) * dt / tau;
    if (s.speed < 0.3 && vTarget < 0.3) s.speed = 0;

    const int limit = IgnitionLimit(m);
    // Short shifts at part throttle, up to 9500 rpm at full throttle.
    const double shiftUp = std::min(4000 + s.throttle * 5.5, limit - 800.0);
    const int gears = m.byte(kGearCount) >= 1 && m.byte(kGearCount) <= 6 ? m.byte(kGearCount) : 6;
    auto fromSpeed = [&](int gear) { return s.speed * GearRatio(m, gear) / 10; };
    s.shiftCutMs = std::max(0, s.shiftCutMs - static_cast<int>(dt));
    if (s.gear == 0) {
        if (s.throttle >= 50 || s.speed >= 3) s.gear = 1;
    } else if (s.speed < 3 && s.throttle < 50) {
        s.gear = 0;
    } else if (s.gear < gears && fromSpeed(s.gear) > shiftUp) {
        ++s.gear;
        s.shiftCutMs = 60;
    } else if (s.gear > 1 && fromSpeed(s.gear) < 3000) {
        --s.gear;
    }

    const double idle = IdleRpm(s.coolant);
    double rpmTarget =
        s.gear == 0 ? idle + s.throttle * 6
                    : std::max(fromSpeed(s.gear), idle + (s.speed < 20 ? s.throttle * 4 : 0));
    rpmTarget = std::min<double>(rpmTarget, limit);
    s.rpm += (rpmTarget - s.rpm) * std::min(1.0, dt / 80);
}

int EngineModel::LambdaFor(int cylinder, const ParameterImage& m) {
    const auto& s = state_;
    const int tpsLoad = Nearest(kThrottlePoints, s.throttle / 10);
    const int iapLoad = Nearest(IapPoints(m), s.iapKpa);
    const auto& jet = kInjectionMaps[static_cast<std::size_t>(cylinder)];
    const auto& iap = InfoOf(InjectionMap::Iap);
    const int jetCell =
        ParameterImage::CellIndex(tpsLoad, Nearest(RpmAxis(m, jet.rpmAxisByte), s.rpm));
    const int iapCell =
        ParameterImage::CellIndex(iapLoad, Nearest(RpmAxis(m, iap.rpmAxisByte), s.rpm));
    const int corr = m.byte(kIapCorr + cylinder) != 0 ? m.byte(kIapCorr + cylinder) : 100;

    auto need = [&](int map, int first, int cell) {
        auto& ref = reference_[static_cast<std::size_t>(map)][static_cast<std::size_t>(cell)];
        if (ref == 0) ref = m.word(first + cell);
        return ref * (1 + Deviation(map, cell));
    };
    const double deliveredJet = m.word(jet.firstWord + jetCell);
    const double deliveredIap = m.word(iap.firstWord + iapCell) * corr / 100.0;
    const double needJet = need(cylinder, jet.firstWord, jetCell);
    const double needIap =
        need(static_cast<int>(InjectionMap::Iap), iap.firstWord, iapCell) * corr / 100.0;
    const double delivered =
        (s.share * deliveredJet + (100 - s.share) * deliveredIap) / 100 * (1 + s.accEnrich / 1000);
    const double needed = (s.share * needJet + (100 - s.share) * needIap) / 100;
    if (delivered <= 0 || needed <= 0) return 200;
    return std::clamp(Round(kStoichAf * needed / delivered), 100, 200);
}

void EngineModel::StepLambda(double dt, const ParameterImage& memory) {
    const int cylinder = Clamp(tuning_.channel, 1, Cylinders(memory)) - 1;
    const double target = Running() ? LambdaFor(cylinder, memory) + 0.5 * random_.Jitter(1) : 200;
    state_.airFuel += (target - state_.airFuel) * std::min(1.0, dt / 150);
}

void EngineModel::StepTuning(int dt, ParameterImage& memory) {
    auto& s = state_;
    tuneTimerMs_ = std::min(tuneTimerMs_ + dt, tuning_.stepMs);
    s.tunedMap = -1;
    s.tunedCell = -1;
    auto report = [&](int code) { s.tuneState = code; };
    if (!tuning_.on) return report(TuneOff);
    if (s.rpm < 50 || !Running()) return report(TuneRpmZero);
    if (s.runningMs < kLambdaWarmMs) return report(TuneLambdaError);
    if (s.accEnrich > 10.0 * tuning_.maxAccPercent) return report(TuneAccelTooBig);
    if (s.share > 0 && s.share < 100) return report(TuneBlendedMaps);

    const int cylinder = Clamp(tuning_.channel, 1, Cylinders(memory)) - 1;
    const int map = s.share >= 50 ? cylinder : static_cast<int>(InjectionMap::Iap);
    const auto& info = kInjectionMaps[static_cast<std::size_t>(map)];
    const auto axis = RpmAxis(memory, info.rpmAxisByte);
    const auto loads =
        map == static_cast<int>(InjectionMap::Iap) ? IapPoints(memory) : kThrottlePoints;
    const double load = map == static_cast<int>(InjectionMap::Iap) ? s.iapKpa : s.throttle / 10;
    const auto [rpmMin, rpmMax] = std::minmax_element(axis.begin(), axis.end());
    const auto [loadMin, loadMax] = std::minmax_element(loads.begin(), loads.end());
    if (s.rpm < *rpmMin - tuning_.rpmTolerance) return report(TuneRpmLow);
    if (s.rpm > *rpmMax + tuning_.rpmTolerance) return report(TuneRpmHigh);
    if (load < *loadMin - tuning_.loadTolerance) return report(TuneLoadLow);
    if (load > *loadMax + tuning_.loadTolerance) return report(TuneLoadHigh);

    const int r = Nearest(axis, s.rpm);
    const int l = Nearest(loads, load);
    const int cell = ParameterImage::CellIndex(l, r);
    s.tunedMap = map;
    s.tunedCell = cell;
    if (memory.word(info.firstWord + cell) == 0) return report(TuneNoMap);
    if (tuning_.mode == 0 &&
        (std::abs(s.rpm - axis[static_cast<std::size_t>(r)]) > tuning_.rpmTolerance ||
         std::abs(load - loads[static_cast<std::size_t>(l)]) > tuning_.loadTolerance))
        return report(TuneNotInPoint);

    const double error = s.airFuel - tuning_.targetAf;
    if (std::abs(error) <= tuning_.hysteresis) return report(TuneOk);
    const bool lean = error > 0;
    report(lean ? TuneAdding : TuneDecrease);
    if (tuneTimerMs_ < tuning_.stepMs) return;
    tuneTimerMs_ = 0;

    // Coupled and all-equal injectors share one correction across the A maps.
    std::array<int, 4> maps{map, -1, -1, -1};
    if (map != static_cast<int>(InjectionMap::Iap) && memory.byte(kJetMode) != 0)
        for (int c = 0; c < Cylinders(memory); ++c) maps[static_cast<std::size_t>(c)] = c;
    for (int target : maps) {
        if (target < 0) continue;
        const int word = kInjectionMaps[static_cast<std::size_t>(target)].firstWord + cell;
        const int w = memory.word(word);
        const int delta = std::max(1, w * tuning_.stepPercent / 100);
        memory.setWord(word,
                       static_cast<std::uint16_t>(Clamp(lean ? w + delta : w - delta, 0, 0xFFFF)));
    }
    memoryChanged_ = true;
}

void EngineModel::FillMonitor(Frame& f, const ParameterImage& m) const {
    const auto& s = state_;
    const bool running = Running();
    const int rpm = s.rpm > 0 ? std::max(0, Round(s.rpm) + s.rpmNoise) : 0;
    const int n = Cylinders(m);
    const double tpsPercent = s.throttle / 10;
    const int tpsLoad = Nearest(kThrottlePoints, tpsPercent);
    const int iapLoad = Nearest(IapPoints(m), s.iapKpa);

    // Flags: active-low inputs read 1 while open; the clutch master cuts on each upshift.
    const bool shiftCut = s.shiftCutMs > 0;
    PutByte(f, kFlagsA, 0x01 | 0x04 | 0x10 | (shiftCut ? 0x80 : 0x40));
    const int ignLimit = IgnitionLimit(m);
    int flagsB = 0x01 | 0x02 | 0x40 | 0x80;
    if (rpm >= ignLimit - 100) flagsB |= 0x04;
    if (m.byte(kJetLimiter) != 0 && rpm >= 100 * m.byte(kJetLimiter)) flagsB |= 0x08;
    if (m.byte(kRetardLimiter) != 0 && rpm >= 100 * m.byte(kRetardLimiter)) flagsB |= 0x10;
    PutByte(f, kFlagsB, flagsB);
    const bool nitrous =
        (m.byte(kNitrousOn) != 0 && s.throttle >= 950 && rpm > 3000) || testMs_[2][3] > 0;
    int flagsC = (nitrous ? 0x02 : 0) | (s.fan || testMs_[2][2] > 0 ? 0x10 : 0);
    if (rpm > 0) flagsC |= 0x20 | 0x40;
    PutByte(f, kFlagsC, flagsC);
    PutByte(f, kFlagsD, m.byte(kIdleMode) == 1 ? 0x10 : 0);

    // Advance and injection of each cylinder from its map cell.
    const auto advCorr = Bytes<5>(m, kCoolantAdvCorr);
    const double coolantAdv =
        AllZero(advCorr) ? 0 : Interpolate(kCorrectionTemps, advCorr, s.coolant) - 100;
    const int advCell = ParameterImage::CellIndex(tpsLoad, Nearest(RpmAxis(m, kAdvanceAxis), rpm));
    const int bCell = ParameterImage::CellIndex(tpsLoad, Nearest(RpmAxis(m, kJetBAxis), rpm));
    const auto& iap = InfoOf(InjectionMap::Iap);
    const int iapCell =
        ParameterImage::CellIndex(iapLoad, Nearest(RpmAxis(m, iap.rpmAxisByte), rpm));
    for (int c = 0; c < n; ++c) {
        const int corr = m.byte(kAdvanceCorr + c) != 0 ? m.byte(kAdvanceCorr + c) - 100 : 0;
        const int advance = m.byte(kAdvanceMap + advCell) + corr + Round(coolantAdv);
        PutByte(f, kAdvance + c, running ? Clamp(advance, 0, 99) : 0);

        const auto& jet = kInjectionMaps[static_cast<std::size_t>(c)];
        const int jetCell =
            ParameterImage::CellIndex(tpsLoad, Nearest(RpmAxis(m, jet.rpmAxisByte), rpm));
        const int iapPct = m.byte(kIapCorr + c) != 0 ? m.byte(kIapCorr + c) : 100;
        const double us = (s.share * m.word(jet.firstWord + jetCell) +
                           (100 - s.share) * m.word(iap.firstWord + iapCell) * iapPct / 100.0) /
                          100 * (1 + s.accEnrich / 1000);
        const int a = running ? Round(us / 100) : 0;
        const bool testA = (testMs_[0][static_cast<std::size_t>(c)]) > 0;
        const bool testB = (testMs_[0][static_cast<std::size_t>(c + 4)]) > 0;
        PutByte(f, kJetA + c, testA ? 50 : a);
        PutByte(f, kJetB + c, testB ? 50 : a * m.byte(kJetBMap + bCell) / 100);
    }

    PutByte(f, kCoolant, Round(s.coolant) + 100);
    PutByte(f, kAir, Round(s.air) + 100);
    PutByte(f, kGear, s.gear);
    PutByte(f, kShare, s.share);
    const int gi = Clamp(s.gear - 1, 0, 5);
    const int first = 100 * m.byte(kPilotFirst + gi), second = 100 * m.byte(kPilotSecond + gi);
    int pilot = 0;
    if (first > 0 && rpm >= first) pilot = 2;
    if (second > first && rpm >= second) pilot = 1;
    if (testMs_[2][0] > 0) pilot = 2;
    PutByte(f, kPilot, pilot);
    PutByte(f, kTuneState, s.tuneState);
    const bool lambdaReady = running && s.runningMs >= kLambdaWarmMs;
    PutByte(f, kAirFuel, lambdaReady ? Round(s.airFuel) : 0);

    // Words.
    const int supply = !running ? (s.powerMs >= kCrankAtMs ? 10500 : 12600)
                                : 14100 - (s.fan ? 250 : 0) + 2 * s.rpmNoise;
    const double apKpa = kAmbientKpa + s.pressureNoise / 10.0;
    const int tps0 = 10 * m.byte(kTps0), tps100 = 10 * m.byte(kTps100) + 2500;
    const bool tpsValid = tps100 > tps0 && m.byte(kTps100) != 0;
    const auto lambdaAf = Bytes<5>(m, kLambdaAf);
    const auto lambdaMv = Words<5>(m, kLambdaMvWord);
    int lambdaMvValue = 0;
    if (lambdaReady)
        lambdaMvValue = AllZero(lambdaMv) ? Round((s.airFuel - 100) * 50)
                                          : Round(Interpolate(lambdaAf, lambdaMv, s.airFuel));
    PutWord(f, 48, rpm);
    PutWord(f, 50, PressureMv(m, kApsWord, apKpa));
    PutWord(f, 52, Round(apKpa * 10));
    PutWord(f, 54, PressureMv(m, kIapsWord, s.iapKpa));
    PutWord(
        f, 56,
        tpsValid ? Round(tps0 + s.throttle * (tps100 - tps0) / 1000) : Round(500 + s.throttle * 4));
    PutWord(f, 58, lambdaMvValue);
    PutWord(f, 60, TemperatureMv(m, kCoolantSensorWord, s.coolant));
    PutWord(f, 62, TemperatureMv(m, kAirSensorWord, s.air));
    PutWord(f, 64, supply);
    PutWord(f, 66, Round(s.exhaustServo));
    PutWord(f, 68, Round(s.exhaustServo));
    PutWord(f, 70, Round(s.intakeServo));
    PutWord(f, 72, Round(s.intakeServo));
    PutWord(f, 74, 2500);
    PutWord(f, 94, static_cast<int>(std::min<std::uint64_t>(s.runningMs / 100, 0xFFFF)));

    auto position = [&](int first) {
        const auto rpms = Bytes<15>(m, first);
        std::array<int, 15> axis{};
        for (std::size_t i = 0; i < axis.size(); ++i) axis[i] = 100 * rpms[i];
        return 5 *
               m.byte(first + kMapColumns + Nearest(AllZero(axis) ? kFallbackRpmAxis : axis, rpm));
    };
    PutWord(f, 96, position(kPositionA));
    PutWord(f, 98, position(kPositionB));

    const auto coolantJet = Bytes<5>(m, kCoolantJetCorr);
    const auto airJet = Bytes<5>(m, kAirJetCorr);
    PutWord(f, 100, Round(10 * Interpolate(kCorrectionTemps, coolantJet, s.coolant)));
    PutWord(f, 102, Round(10 * Interpolate(kCorrectionTemps, airJet, s.air)));
    PutWord(f, 104, 1000);
    const auto chokeTimes = Bytes<4>(m, kChokeTime);
    const auto chokeCorr = Bytes<4>(m, kChokeCorr);
    std::array<int, 4> chokeMs{};
    std::array<int, 4> chokePercent{};
    for (std::size_t i = 0; i < 4; ++i) {
        chokeMs[i] = 1000 * chokeTimes[i];
        chokePercent[i] = chokeCorr[i] + 100;
    }
    const bool afterStart =
        running && !AllZero(chokeTimes) && static_cast<double>(s.runningMs) <= chokeMs[3];
    PutWord(f, 106,
            afterStart
                ? Round(10 * Interpolate(chokeMs, chokePercent, static_cast<double>(s.runningMs)))
                : 1000);
    PutWord(f, 108, Clamp(1000 + (14000 - supply) / 8, 900, 1500));
    PutWord(f, 110, 1000 + Round(10 * coolantAdv));
    PutWord(f, 112, 1000);
    PutWord(f, 114, 1000);
    const int speed = Round(s.speed);
    PutWord(f, 116, speed);
    const int gearMv = m.word(kGearVoltWord + Clamp(s.gear, 0, 6));
    PutWord(f, 118, gearMv != 0 ? gearMv : 400 + 600 * s.gear);
    PutWord(f, 120, speed > 0 ? rpm * 10 / speed : 0);
    for (int g = 1; g <= 6; ++g) PutWord(f, 120 + 2 * g, GearRatio(m, g));
    const double idle = IdleRpm(s.coolant);
    const bool idling = running && s.throttle < 20;
    PutWord(f, 134, 1000 + (idling ? Clamp(Round((idle - rpm) / 2), -100, 100) : 0));
    PutWord(f, 136, Round(s.iapKpa));
    PutWord(f, 138, Round(s.throttle));
    PutWord(f, 140, Round(s.accEnrich));
    PutWord(
        f, 142,
        m.byte(kIdleMode) >= 2 ? Clamp(80 + (idling ? Round((idle - rpm) / 20) : 0), 0, 255) : 0);
}

}  // namespace kestrin

#pragma once
// The default tables of one bike, as chosen from the shared tables by its code. Views only: the
// data live in static tables for the whole run.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace kestrin {

using RpmPoints = std::array<std::uint16_t, 15>;  // rpm, ascending

// Ten load rows of injection times (× 10 in the image's unit), one value per RPM point.
struct BaseInjectionTable {
    std::span<const std::uint16_t> values;     // row r, point k at r * rpmPoints.size() + k
    std::span<const std::uint16_t> rpmPoints;  // 10 or 15 points
};

struct ServoDefaults {
    std::uint16_t hysteresis = 0;  // mV
    const RpmPoints* axis = nullptr;
    std::span<const std::uint16_t> map;  // 15 values (one per RPM point) or 150 cells
};

struct BikeTables {
    const RpmPoints* advanceAxis = nullptr;
    std::span<const std::uint8_t> advance;  // 15 values, or 10 rows of 15 when by load
    const RpmPoints* injectionAxis = nullptr;
    const RpmPoints* iapAxis = nullptr;
    const RpmPoints* jetBAxis = nullptr;
    const RpmPoints* positionAxis = nullptr;

    BaseInjectionTable outer;  // maps 1A and 4A
    BaseInjectionTable inner;  // maps 2A and 3A
    BaseInjectionTable iap;
    bool iapWideLoads = false;  // IAP rows at 30..100 kPa instead of 10..100 kPa

    std::span<const std::uint8_t> jetB;  // 150 cells
    // Bytes 56 and 57, then the angles of positions A and B in degrees.
    const std::array<std::uint16_t, 32>* position = nullptr;
    ServoDefaults intakeServo;
    ServoDefaults exhaustServo;
    const std::array<std::uint16_t, 10>* injectionCorrections = nullptr;  // bytes 80..89
    // Shown values of bytes 290..296, word 165 and bytes 317..320.
    const std::array<std::uint16_t, 12>* idle = nullptr;
    const std::array<std::uint16_t, 9>* idleServoRpm = nullptr;        // words 149..157
    const std::array<std::uint16_t, 9>* idleAdvanceRpm = nullptr;      // bytes 321..329, shown
    const std::array<std::uint16_t, 7>* gearVoltages = nullptr;        // words 70..76
    const std::array<std::uint16_t, 8>* pressureSensors = nullptr;     // words 3..10
    const std::array<std::uint16_t, 18>* temperatureCurves = nullptr;  // words 97..114
    std::array<std::uint8_t, 4> smallSettings{};                       // bytes 92, 36, 24, 23

    // Every table chosen; only such a set is used to write defaults.
    bool complete() const {
        return advanceAxis && advance.size() >= 15 && injectionAxis && iapAxis && jetBAxis &&
               positionAxis && !outer.values.empty() && !inner.values.empty() &&
               !iap.values.empty() && jetB.size() == 150 && position && intakeServo.axis &&
               intakeServo.map.size() >= 15 && exhaustServo.axis && exhaustServo.map.size() >= 15 &&
               injectionCorrections && idle && idleServoRpm && idleAdvanceRpm && gearVoltages &&
               pressureSensors && temperatureCurves;
    }
};

// The tables of a bike code; none for a code outside the catalogue.
std::optional<BikeTables> DefaultBikeTables(int code);

}  // namespace kestrin

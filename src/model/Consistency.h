#pragma once
// Keeping the image usable: the pass that brings every limited field back into range and every
// axis into strict order, and the base maps that the injection maps are edited against.

#include <cstdint>

#include "model/BikeTables.h"
#include "model/InjectionMaps.h"
#include "model/ParameterImage.h"

namespace kestrin {

struct ConsistencyFlags {
    bool lobeWidthEnabled = false;  // advance limited to base advance + lobe width
    bool fixedIdleBike = false;     // the idle step pulse is not limited by the step period
    bool coupled = false;           // injector mode 1 (image byte 47)
    bool allEqual = false;          // injector mode 2
};

// The program settings that the pass keeps in range along with the image.
struct ProgramIndexes {
    int languageIndex = 0;  // 0..3
    int portIndex = 0;      // 0..20
    int scanPortIndex = 0;  // 0..19
};

// Fields the pass does not change but the editor marks: a sensor whose two calibration
// voltages are equal cannot give a pressure.
struct ConsistencyWarnings {
    bool apsVoltagesEqual = false;   // words 4 and 6
    bool iapsVoltagesEqual = false;  // words 8 and 10
};

ConsistencyWarnings ConsistencyPass(ParameterImage& image, const ConsistencyFlags& flags,
                                    ProgramIndexes& settings);

// Linear interpolation on unsigned 16-bit values, truncating toward the smaller end value;
// outside x0..x1 the nearer end value.
std::uint16_t Interpolate(std::uint16_t x, std::uint16_t x0, std::uint16_t x1, std::uint16_t y0,
                          std::uint16_t y1);

// The five base maps from the bike's base injection tables at the maps' current RPM axes. A
// table that is missing or too short gives base values of 100, never 0.
void ComputeBaseMaps(const ParameterImage& image, const BikeTables& tables, InjectionMapSet& maps);

// Image words of all five injection maps from their percent and base maps.
void StoreInjectionMaps(const InjectionMapSet& maps, ParameterImage& image);

}  // namespace kestrin

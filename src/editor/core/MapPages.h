#pragma once
// The nine map pages as data, and the arithmetic that turns the map editor's positions into
// image bytes and words and back: RPM axes, byte cells, percent cells over base maps, and the
// coupled and all-equal injector modes that carry Inj-1A edits over to Inj-2A..4A.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "model/InjectionMaps.h"
#include "model/ParameterImage.h"

namespace kestrin::editor {

inline constexpr int kNoInjectionMap = -1;
inline constexpr int kLoadAxisWord = 192;  // IAP load axis: ten intake pressures, kPa

struct MapPageInfo {
    int page;
    std::string_view caption;  // tab caption the sheet is created with
    int axisByte;              // first of the 15 RPM axis bytes (RPM / 100)
    int dataByte;              // first image byte of the 150 cells
    bool words;                // cells are image words (percent pages) instead of bytes
    int injectionMap;          // percent map index 0..4, or kNoInjectionMap
    int cellMaximum;
    int percentFlagByte;  // servo pages: cells in percent when this byte is set, else x 20 steps
    bool ownLoadAxis;     // rows are the editable IAP load axis instead of throttle points
};

inline constexpr std::array<MapPageInfo, 9> kMapPages{{
    {1, "Advance", 465, 600, false, kNoInjectionMap, 60, -1, false},
    {2, "Inj-1A", 480, 750, true, 0, 32000, -1, false},
    {3, "Inj-2A", 495, 1050, true, 1, 32000, -1, false},
    {4, "Inj-3A", 510, 1350, true, 2, 32000, -1, false},
    {5, "Inj-4A", 525, 1650, true, 3, 32000, -1, false},
    {6, "Inj-B", 540, 1950, false, kNoInjectionMap, 100, -1, false},
    {7, "Inj-IAP", 555, 2100, true, 4, 32000, -1, true},
    {11, "Intake Servo", 585, 2550, false, kNoInjectionMap, 100, 63, false},
    {12, "Exhaust Servo", 570, 2400, false, kNoInjectionMap, 100, 62, false},
}};

// The servo maps in raw steps: one step shows as 20 mV, up to 250 steps.
inline constexpr int kServoStepDivisor = 20;
inline constexpr int kServoStepMaximum = 5000;

const MapPageInfo* MapPageOf(int page);
inline bool IsMapPage(int page) {
    return MapPageOf(page) != nullptr;
}

// Cells are shown as divisor x stored byte; the divisor is 1 except on servo pages in steps.
int CellDivisor(const MapPageInfo& info, const ParameterImage& image);
int CellMaximum(const MapPageInfo& info, const ParameterImage& image);
inline int CellStep(const MapPageInfo& info, const ParameterImage& image) {
    return CellDivisor(info, image);
}

// Image byte 47: 0 separate, 1 coupled (Inj-1A edits shift 2A..4A), 2 all equal (1=2=3=4).
struct InjectorMode {
    bool coupled = false;
    bool allEqual = false;
};
InjectorMode InjectorModeOf(const ParameterImage& image);

// Axis bytes of Inj-2A..4A that a coupled Inj-1A axis change shifts stay inside the axis byte
// range; the consistency pass then restores the strict order.
inline constexpr int kCoupledAxisLimit = 250;
// Coupled percent changes keep each carried cell within 0..1000 %.
inline constexpr int kCoupledPercentLimit = 1000;

using AxisPositions = std::array<int, kMapColumns>;
using CellPositions = std::array<int, kMapCells>;

// RPM axis positions (300..25000) into the page's axis bytes; on Inj-1A the coupled and
// all-equal modes carry the change to the axes of Inj-2A..4A.
void StoreRpmAxis(const MapPageInfo& info, const AxisPositions& rpm, ParameterImage& image,
                  InjectorMode mode);

// Cell positions into the image: byte cells divided by the cell divisor, percent cells into the
// page's percent map and from there, over its base map, into the image words. Inj-1A carries
// coupled changes to 2A..4A and copies itself onto them in all-equal mode.
void StoreCells(const MapPageInfo& info, const CellPositions& cells, ParameterImage& image,
                InjectionMapSet& maps, InjectorMode mode);

// All-equal mode re-established from Inj-1A: the axis and the words of 1A copied onto 2A..4A.
// Their percent maps follow with RefreshCopiedPercents once the base maps match the new axes.
void CopyInj1AOntoOthers(ParameterImage& image);
void RefreshCopiedPercents(const ParameterImage& image, InjectionMapSet& maps);

// Positions shown for the page's cells: divisor x byte, or the percent of word over base (which
// also updates the page's percent map).
void ShownCells(const MapPageInfo& info, const ParameterImage& image, InjectionMapSet& maps,
                CellPositions& out);

}  // namespace kestrin::editor

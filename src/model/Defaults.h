#pragma once
// The defaults of the chosen bike, and the logic of the commands that load them: New, New for the
// active page and picking another bike. The window's slots only pass in their questions and the
// steps that belong to the widgets.

#include <functional>

#include "lang/Messages.h"
#include "model/BikeTables.h"
#include "model/Bikes.h"
#include "model/Consistency.h"
#include "model/InjectionMaps.h"
#include "model/ParameterImage.h"

namespace kestrin {

inline constexpr int kAllPages = -1;  // the filter of LoadDefaults for every page

// What the main form keeps about the bike outside the image; rebuilt by SelectBikeTables.
struct BikeSelection {
    BikeTables tables;
    BikeFlags flags;
    bool lobeWidthEnabled = false;  // set only when the user picks a bike; false at start
};

// The flags of the consistency pass for the current image and bike.
ConsistencyFlags ConsistencyFlagsOf(const ParameterImage& image, const BikeSelection& bike);

// Chooses the tables and flags of the bike in image byte 0 and writes its engine constants. For a
// code outside the catalogue nothing changes and the result is false.
bool SelectBikeTables(ParameterImage& image, BikeSelection& bike);

// Writes the defaults of the bike in image byte 0 into the image and the percent maps, for every
// page (kAllPages) or for page `filter` 0..18 only, and recomputes the base maps and the injection
// map words. For a code outside the catalogue nothing changes and the result is false.
bool LoadDefaults(int filter, ParameterImage& image, InjectionMapSet& maps, BikeSelection& bike);

// Lambda sensor curve of type 0 ("Standard") or any other type ("Uego"): bytes 353..357, words
// 179..183.
void LoadLambdaCurve(ParameterImage& image, int type);

// For an image that arrived whole (backup file, read from the unit): select the bike's tables,
// compute the base maps and derive the percent maps from the image words.
void ApplyBikeTables(ParameterImage& image, InjectionMapSet& maps, BikeSelection& bike);

// Percent maps recomputed from the image words against base maps of the current tables and axes.
void RefreshPercentMaps(const ParameterImage& image, InjectionMapSet& maps,
                        const BikeTables& tables);

// The steps of the bike commands that belong to the window. Empty hooks are skipped; an empty
// question counts as No.
struct BikeCommandHooks {
    std::function<bool(MsgId)> ask;         // Yes/No/Cancel question: true only for Yes
    std::function<void()> clearFileStatus;  // hide LabelHlaseni and CGaugeProgram, clear LabelFile2
    std::function<void()> valueChanged;     // consistency pass, refresh twice, undo snapshot
    std::function<void()> refillMessages;   // message slots of the current language again
};

// New: with `shownIndex` the catalogue item shown by ComboBoxBike. True when defaults were loaded.
bool CommandNew(int shownIndex, ParameterImage& image, InjectionMapSet& maps, BikeSelection& bike,
                const BikeCommandHooks& hooks);

// New for the active page `activePage` (0..18).
bool CommandNewActPage(int shownIndex, int activePage, ParameterImage& image, InjectionMapSet& maps,
                       BikeSelection& bike, const BikeCommandHooks& hooks);

// The user picked catalogue item `index`. Whatever the answer to New, the engine constants and
// base maps follow the new bike and the injection maps keep their percentages.
void CommandBikeChange(int index, ParameterImage& image, InjectionMapSet& maps, BikeSelection& bike,
                       const BikeCommandHooks& hooks);

// The catalogue item that shows image byte 0; for a code outside the catalogue the separator,
// announced through `message` with MsgBikeNotSupported.
int BikeIndexToShow(const ParameterImage& image, const std::function<void(MsgId)>& message);

}  // namespace kestrin

#pragma once
// Parameter files of the older layout held only the maps, under other key words, with the
// injection maps as percentages. This reader takes such a file, or the map sections of a current
// file, into the map part of the image and the percent maps. It never touches the settings
// sections, the bike code or the note. Text handling is that of ParameterFile.h (8-bit bytes,
// CR LF or LF).

#include <string_view>

#include "model/BikeTables.h"
#include "model/InjectionMaps.h"
#include "model/ParameterImage.h"

namespace kestrin {

// Files whose version key gives a number below this are not read past the key.
inline constexpr int kLegacyMinimumVersion = 35;

// Reads `text` under pageFilter (kReadAllPages, or the page the last "for actual page" command
// left). First the percent maps are taken from the image words against the base maps of
// `tables`, and the cylinder corrections of the advance and IAP maps and the IAP load axis are
// reset. When the file brought injection maps as percentages (and no current map section of
// image words followed), the base maps are recomputed at the axes then in the image and all five
// injection maps stored from the percent maps.
void ReadLegacyMapFile(std::string_view text, ParameterImage& image, InjectionMapSet& maps,
                       const BikeTables& tables, int pageFilter);

}  // namespace kestrin

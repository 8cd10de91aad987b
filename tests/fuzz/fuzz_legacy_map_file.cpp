// Any bytes through the legacy map reader: no crash, no sanitizer report, no access outside the
// image; the settings sections, the bike code and the note are never touched.
//
// Input: one control byte choosing the page filter and the injector coupling, then the file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/LegacyMapFile.h"
#include "files/ParameterFile.h"

using namespace kestrin;

namespace {

struct Model {
    ParameterImage image;
    InjectionMapSet maps;
    BikeSelection bike;
};

const Model& StartUp() {
    static const Model model = [] {
        Model m;
        m.image.setByte(0, 11);
        LoadDefaults(kAllPages, m.image, m.maps, m.bike);
        return m;
    }();
    return model;
}

// Bytes that no section of the older layout or of the map pages can reach.
bool Untouchable(int n) {
    const Field* field = FieldAt(n);
    switch (field->page) {
        case kPageAdvance:
        case kPageInj1A:
        case kPageInj2A:
        case kPageInj3A:
        case kPageInj4A:
        case kPageInjB:
        case kPageInjIap:
        case kPagePoloha:
            return false;
        default:
            return true;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int filter = (data[0] & 0x1F) % (kEditorPageCount + 1) - 1;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    Model m = StartUp();
    m.image.setByte(47, static_cast<std::uint8_t>(data[0] >> 6));
    const ParameterImage before = m.image;
    ReadLegacyMapFile(text, m.image, m.maps, m.bike.tables, filter);
    for (int n = 0; n < kImageSize; ++n)
        if (Untouchable(n) && m.image.byte(n) != before.byte(n)) abort();
    return 0;
}

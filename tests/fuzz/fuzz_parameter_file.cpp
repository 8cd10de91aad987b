// Any bytes through the parameter file reader: no crash, no sanitizer report, no access outside
// the image; a rejected file leaves the image alone, and whatever image a file leaves behind is
// written and read back to the same text.
//
// Input: one control byte, then the file's bytes. Bits 0..6 of the control byte choose the page
// filter (all, or pages 0..18 and one beyond); bit 7 asks for the write-and-read-back check,
// which costs a whole file each way and so runs for half the inputs only.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

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

// Notes whose text the reader cannot give back as it stands: leading blanks or empty lines (the
// scan skips them) and line-break bytes inside a line.
bool NoteSurvivesTheFile(const ParameterImage& image) {
    bool any = false;
    for (int n = 2700; n < 2850; ++n) {
        const std::uint8_t b = image.byte(n);
        if (b == '\r' || b == '\n') return false;
        any = any || b != 0;
    }
    return !any ||
           !(image.byte(2700) == 0 || Tokenizer::IsBlank(static_cast<char>(image.byte(2700))));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int filter = (data[0] & 0x7F) % (kEditorPageCount + 2) - 1;
    const bool roundTrip = (data[0] & 0x80) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    Model m = StartUp();
    const int version = ReadParameterFile(text, m.image, m.maps, m.bike, filter, {});
    bool accepted = version == 0;
    for (int v : kReadableFileVersions) accepted = accepted || v == version;
    if (!accepted) abort();
    if (version == 0 && !(m.image == StartUp().image)) abort();

    if (!roundTrip || !NoteSurvivesTheFile(m.image)) return 0;
    const VersionStrings versions{"unit", "date", "time", "Jan  1 2024", "00:00:00"};
    const std::string written = WriteParameterFile(m.image, versions);
    Model again = m;
    if (ReadParameterFile(written, again.image, again.maps, again.bike, kReadAllPages, {}) !=
        kParameterFileVersion)
        abort();
    if (WriteParameterFile(again.image, versions) != written) abort();
    return 0;
}

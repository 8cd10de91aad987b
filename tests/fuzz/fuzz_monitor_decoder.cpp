// Any frame and any image through the monitor decoder: no crash, no sanitizer report, and a
// rejected frame never changes what the monitor shows.
//
// Input: one control byte, then the 152 frame bytes, then image bytes from image byte 0 on.
// Control bit 0 makes the frame a sealed monitor frame so that most runs get past the check;
// bits 1..2 pick the options, bits 3..4 the language.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "lang/Messages.h"
#include "link/MonitorDecoder.h"

using namespace kestrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t control = data[0];
    ++data;
    --size;

    Frame frame{};
    const std::size_t frameBytes = std::min<std::size_t>(size, kFrameSize);
    std::copy_n(data, frameBytes, frame.begin());
    if (control & 1) {
        frame[0] = kMonitorReply;
        Seal(frame);
    }

    ParameterImage image;
    const std::size_t imageBytes = std::min<std::size_t>(size - frameBytes, kImageSize);
    std::copy_n(data + frameBytes, imageBytes, image.bytes().begin());

    static MessageSlots msgs[kLanguageCount];
    static bool applied = false;
    if (!applied) {
        for (int i = 0; i < kLanguageCount; ++i) msgs[i].Apply(i);
        applied = true;
    }

    MonitorOptions opts;
    opts.extendedView = (control & 2) != 0;
    opts.nitrousEnabled = (control & 4) != 0;
    const MessageSlots& m = msgs[(control >> 3) & 3];

    // Twice, so the second pass starts from a decoded state (the duty reads the stored speed).
    MonitorResult result;
    for (int pass = 0; pass < 2; ++pass) {
        const MonitorResult before = result;
        if (!DecodeMonitorFrame(frame, image, m, opts, result) && !(result == before)) abort();
    }
    for (const auto& g : result.gauges)
        if (g.Shown() < g.minimum || g.Shown() > g.maximum) abort();
    return 0;
}

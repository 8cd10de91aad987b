// Any bytes as replies in any link state: the reply handler and the receive step must never
// crash or touch memory outside the image and the buffers.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "link/LinkLoop.h"
#include "sim/unit/FakeUnitLine.h"

using namespace kestrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    ParameterImage image;
    for (int i = 0; i < kImageSize; ++i) image.setByte(i, data[static_cast<std::size_t>(i) % size]);
    FakeUnitLine line;
    line.SetNoAnswer(true);  // every byte the handler sees comes from the input
    line.Open(1);
    MessageSlots messages;
    LinkHost host;
    LinkLoop loop(image, line, messages, host);
    loop.linkMode = data[0] % 5;
    loop.commandByte = data[1];
    loop.tuneFrameState = data[2] % 3;
    loop.tuningOn = data[3] & 1;
    for (int p = 0; p < 20; ++p)
        loop.pageFlags[static_cast<std::size_t>(p)] = (data[4] >> (p % 8)) & 1;
    loop.verifyAfterProgram = data[5] & 1;
    loop.savingCountdown = static_cast<std::uint16_t>(data[6] * 40);
    const bool seal = data[7] & 1;

    // The rest arrives in frames; each is optionally given a correct check byte so the
    // handler's deeper paths are reached.
    std::size_t pos = 8;
    while (pos < size) {
        Frame f{};
        const std::size_t n = std::min<std::size_t>(kFrameSize, size - pos);
        std::copy_n(data + pos, n, f.begin());
        pos += n;
        if (seal) Seal(f);
        loop.HandleReply(f);
        line.InjectBytes(f);
        loop.Tick();
    }
    return 0;
}

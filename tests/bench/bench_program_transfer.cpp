// Times a full Program with verify against kestrin-sim pacing its answers as a 57600-baud line
// does, and prints it beside what the line itself allows. It prints; it never fails.
#include <QCoreApplication>
#include <cstdio>

#include "../e2e/SimProcess.h"

using namespace kestrin;
using namespace std::chrono;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // 20 pages programmed and 19 verified, each a 152-byte request and a 152-byte answer of
    // 10 bits a byte.
    const double lineSeconds = 39.0 * 2 * 152 * 10 / 57600.0;
    constexpr int kRuns = 3;
    double best = 1e9, total = 0;
    int ok = 0;
    for (int run = 0; run < kRuns; ++run) {
        e2e::SimProcess sim({});
        if (!sim.ready()) {
            std::printf("kestrin-sim did not start\n");
            return 0;
        }
        e2e::LinkUnderTest link(sim.link(), milliseconds(55));
        for (int i = 0; i < kImageSize; ++i) link.image.setByte(i, static_cast<std::uint8_t>(i));
        const auto start = steady_clock::now();
        link.loop.MenuProgram();
        link.RunTransfer();
        const double s = duration<double>(steady_clock::now() - start).count();
        ok += link.EndsOk() ? 1 : 0;
        best = std::min(best, s);
        total += s;
    }
    std::printf("Program with verify, 39 exchanges at 57600 baud with 55 ms ticks:\n");
    std::printf("  best %.2f s, mean %.2f s over %d runs (%d ended OK)\n", best, total / kRuns,
                kRuns, ok);
    std::printf("  the line's limit: 39 x 2 x 152 bytes x 10 bits / 57600 baud = %.2f s\n",
                lineSeconds);
    return 0;
}

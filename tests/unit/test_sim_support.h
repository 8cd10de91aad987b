#pragma once
// Frames and a plausible unit memory for the substitute-unit tests.

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "link/Frame.h"
#include "model/InjectionMaps.h"
#include "model/ParameterImage.h"

namespace kestrin::simtest {

// A sealed frame: command byte and data bytes given as (position, value) pairs.
inline Frame MakeFrame(std::uint8_t command,
                       std::initializer_list<std::pair<int, std::uint8_t>> bytes = {}) {
    Frame f{};
    f[0] = command;
    for (const auto& [at, v] : bytes) f[static_cast<std::size_t>(at)] = v;
    Seal(f);
    return f;
}

inline Frame PageFrame(std::uint8_t command, std::uint8_t seed) {
    Frame f{};
    f[0] = command;
    for (int i = 1; i <= kFrameData; ++i)
        f[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(seed + 7 * i);
    Seal(f);
    return f;
}

inline int Word(const Frame& f, int at) {
    return f[static_cast<std::size_t>(at)] | (f[static_cast<std::size_t>(at + 1)] << 8);
}

// Monitor request with tuning on: channel 1, the target A/F x 10, hysteresis 0.3, 200 rpm and
// 3 % tolerance, a 1 % step every 200 ms, 10 % acceleration limit.
inline Frame TuningRequest(std::uint8_t mode = 1, std::uint8_t target = 145) {
    return MakeFrame(kCmdMonitor, {{1, 1},
                                   {2, mode},
                                   {4, target},
                                   {6, 3},
                                   {7, 20},
                                   {8, 3},
                                   {9, 20},
                                   {10, 1},
                                   {12, 1},
                                   {13, 10}});
}

// Memory of a four-cylinder bike: RPM axes 1000..15000, 3.0 ms on the throttle maps, 2.5 ms
// on the pressure map, switch-over at 2..5 % and 2000..3000 rpm, 14000 rpm limit.
inline ParameterImage PlausibleMemory(std::uint8_t jetMode = 0) {
    ParameterImage m;
    m.setByte(256, 4);
    m.setByte(29, 140);
    m.setByte(30, 143);
    m.setByte(31, 143);
    m.setByte(35, 100);
    m.setByte(47, jetMode);
    m.setByte(48, 2);
    m.setByte(49, 5);
    m.setByte(50, 20);
    m.setByte(51, 30);
    for (int c = 0; c < 4; ++c) {
        m.setByte(41 + c, 100);
        m.setByte(52 + c, 100);
    }
    for (int axis = 465; axis < 600; axis += kMapColumns)
        for (int i = 0; i < kMapColumns; ++i)
            m.setByte(axis + i, static_cast<std::uint8_t>(10 + 10 * i));
    const int iapLoads[kMapRows] = {30, 50, 60, 70, 75, 80, 85, 90, 95, 100};
    for (int i = 0; i < kMapRows; ++i) m.setWord(192 + i, static_cast<std::uint16_t>(iapLoads[i]));
    for (int i = 0; i < kMapCells; ++i) {
        m.setByte(600 + i, 30);
        m.setByte(1950 + i, 50);
    }
    for (int map = 0; map < kInjectionMapCount; ++map)
        for (int i = 0; i < kMapCells; ++i)
            m.setWord(kInjectionMaps[static_cast<std::size_t>(map)].firstWord + i,
                      map == static_cast<int>(InjectionMap::Iap) ? 2500 : 3000);
    return m;
}

}  // namespace kestrin::simtest

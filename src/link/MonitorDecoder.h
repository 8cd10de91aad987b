#pragma once
// The live monitor: turns each monitor frame from the unit into the text, colour and visibility
// of every monitor label and gauge, and into the live values that the editor, the tuning and
// the link loop read. The window only copies the result into its controls.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "lang/Messages.h"
#include "link/Frame.h"
#include "model/ParameterImage.h"

#include "link/Protocol.h"

namespace kestrin {


// The monitor labels, named as the window names its controls.
#define KESTRIN_MONITOR_LABELS(X) \
    X(LabelMonFallIn)             \
    X(LabelMonFallOut)            \
    X(LabelMonBlock2In)           \
    X(LabelMonBlock2Out)          \
    X(LabelMonStartLimiterIn)     \
    X(LabelMonStartLimiterOut)    \
    X(LabelMonClutchIn)           \
    X(LabelMonClutchOut)          \
    X(LabelMonRpmLambdaIn)        \
    X(LabelMonIgnLimiter)         \
    X(LabelMonJetLimiter)         \
    X(LabelMonRetardLimiter)      \
    X(LabelClazeniMon)            \
    X(LabelMonRpmLambdaOut)       \
    X(LabelMonServoIntake)        \
    X(LabelMonServoExhaust)       \
    X(LabelN2oEnable)             \
    X(LabelVersion)               \
    X(LabelSnimacCkps)            \
    X(LabelSnimacCmps)            \
    X(LabelEeDataErr)             \
    X(LabelMon_Ign1)              \
    X(LabelMon_Ign2)              \
    X(LabelMon_Ign3)              \
    X(LabelMon_Ign4)              \
    X(LabelMon_Ign)               \
    X(LabelMon_Jet_1A)            \
    X(LabelMon_Jet_2A)            \
    X(LabelMon_Jet_3A)            \
    X(LabelMon_Jet_4A)            \
    X(LabelMon_Jet_A)             \
    X(LabelMon_Jet_1B)            \
    X(LabelMon_Jet_2B)            \
    X(LabelMon_Jet_3B)            \
    X(LabelMon_Jet_4B)            \
    X(LabelMon_Jet_B)             \
    X(LabelMaxInjProcent)         \
    X(LabelGear)                  \
    X(LabelDleTpsProcent)         \
    X(LabelMonPilotLight)         \
    X(LabelLadeniMsg)             \
    X(LabelRpm)                   \
    X(LabelTlak)                  \
    X(LabelPodtlak)               \
    X(LabelTpsMon)                \
    X(LabelLambda)                \
    X(LabelVoda)                  \
    X(LabelVzduch)                \
    X(LabelNapeti)                \
    X(LabelMonPotenc)             \
    X(LabelPocetProgramovani)     \
    X(LabelTest1)                 \
    X(LabelTest2)                 \
    X(LabelTest3)                 \
    X(LabelTest4)                 \
    X(LabelTest5)                 \
    X(LabelTest6)                 \
    X(LabelTest7)                 \
    X(LabelTest8)                 \
    X(LabelMon_PolohaA)           \
    X(LabelMon_PolohaB)           \
    X(LabelKorVodaJet)            \
    X(LabelKorVzduch)             \
    X(LabelKorTlak)               \
    X(LabelKorSytic)              \
    X(LabelKorNapeti)             \
    X(LabelKorVodaIgn)            \
    X(LabelKorPotencIgn)          \
    X(LabelKorPotencJet)          \
    X(LabelMonSpeed)              \
    X(LabelMonGearNapeti)         \
    X(LabelMonPomerRpmSpeed)      \
    X(LabelMonPomerRpmSpeedAuto1) \
    X(LabelMonPomerRpmSpeedAuto2) \
    X(LabelMonPomerRpmSpeedAuto3) \
    X(LabelMonPomerRpmSpeedAuto4) \
    X(LabelMonPomerRpmSpeedAuto5) \
    X(LabelMonPomerRpmSpeedAuto6) \
    X(LabelIdleKorAdv)            \
    X(LabelKorAccJet)             \
    X(LabelMonServoPosition)

#define KESTRIN_MONITOR_GAUGES(X) \
    X(CGaugeRpm)                  \
    X(CGaugeTps)                  \
    X(CGaugeLambda)               \
    X(CGaugeVoda)                 \
    X(CGaugeDuty)

#define KESTRIN_MONITOR_ENUM_ITEM(name) name,
enum class MonitorLabelId : std::uint8_t { KESTRIN_MONITOR_LABELS(KESTRIN_MONITOR_ENUM_ITEM) };
enum class MonitorGaugeId : std::uint8_t { KESTRIN_MONITOR_GAUGES(KESTRIN_MONITOR_ENUM_ITEM) };
#undef KESTRIN_MONITOR_ENUM_ITEM

#define KESTRIN_MONITOR_COUNT_ITEM(name) +1
inline constexpr int kMonitorLabelCount = 0 KESTRIN_MONITOR_LABELS(KESTRIN_MONITOR_COUNT_ITEM);
inline constexpr int kMonitorGaugeCount = 0 KESTRIN_MONITOR_GAUGES(KESTRIN_MONITOR_COUNT_ITEM);
#undef KESTRIN_MONITOR_COUNT_ITEM

// Control names in id order, and the way back from a name (nullopt for an unknown name).
std::span<const std::string_view> MonitorLabelNames();
std::span<const std::string_view> MonitorGaugeNames();
std::string_view MonitorLabelName(MonitorLabelId id);
std::string_view MonitorGaugeName(MonitorGaugeId id);
std::optional<MonitorLabelId> MonitorLabelByName(std::string_view name);
std::optional<MonitorGaugeId> MonitorGaugeByName(std::string_view name);

// The colours the monitor uses; ButtonFace is the normal label background.
enum class MonitorColour : std::uint8_t {
    ButtonFace,
    Lime,
    Yellow,
    Red,
    Fuchsia,
    Aqua,
    White,
    Blue
};

// One label as the decoder last wrote it. The *Set flags say what the latest decoded frame
// wrote; a property it did not write keeps whatever the window shows (a language's placeholder
// text, the test labels' visibility, and so on).
struct MonitorLabel {
    std::string text;  // UTF-8
    MonitorColour colour = MonitorColour::ButtonFace;
    bool visible = true;
    bool textSet = false;
    bool colourSet = false;
    bool visibleSet = false;

    friend bool operator==(const MonitorLabel&, const MonitorLabel&) = default;
};

// A bar gauge. `progress` is the value as computed, which may lie outside minimum..maximum on
// odd frames; Shown() is what the bar displays.
struct MonitorGauge {
    int progress = 0;
    int minimum = 0;
    int maximum = 100;
    MonitorColour foreColour = MonitorColour::Blue;
    bool progressSet = false;
    bool colourSet = false;

    int Shown() const {
        return progress < minimum ? minimum : (progress > maximum ? maximum : progress);
    }

    friend bool operator==(const MonitorGauge&, const MonitorGauge&) = default;
};

// What the rest of the program reads from the latest monitor frame. All are 0 before the first
// frame and keep their values between frames.
struct MonitorLiveValues {
    int rpm = 0;             // engine speed
    int tps = 0;             // throttle position, 0.1 %
    int tpsVoltage = 0;      // mV
    int iap = 0;             // intake pressure, kPa
    int coolant = 0;         // coolant temperature + 100; 180 while its sensor has failed
    int air = 0;             // air temperature + 100
    int gear = 0;            // engaged gear
    int tpsShare = 0;        // share of injection from the throttle map, percent
    int tuningState = 0;     // tuning state code
    int airFuel = 0;         // air/fuel ratio, 0.1 A/F
    int lambdaVoltage = 0;   // mV
    int gearVoltage = 0;     // mV
    int speedRatio = 0;      // engine speed / road speed, 0.1
    int timeSinceStart = 0;  // 0.1 s
    int savingCountdown = 0;
    int unitVersion = 0;  // the unit's protocol version

    bool tpsError = false;        // bit 4.0
    bool iapError = false;        // bit 4.1
    bool apError = false;         // bit 4.2
    bool outputTestLock = false;  // bit 4.3
    bool ignLimiter = false;      // bit 2.2
    bool jetLimiter = false;      // bit 2.3
    bool retardLimiter = false;   // bit 2.4
    bool baseAdvance = false;     // bit 3.3
    bool statusBit = false;       // bit 3.0
    bool tpsShareAbove0 = false;
    bool tpsShareBelow100 = false;

    friend bool operator==(const MonitorLiveValues&, const MonitorLiveValues&) = default;
};

// The window state the decoder reads.
struct MonitorOptions {
    bool extendedView = false;    // CheckBoxExtMonitor: sensor voltages beside the values
    bool nitrousEnabled = false;  // CheckBoxGas: LabelN2oEnable is shown
};

// Everything the monitor shows and stores; it is both the decoder's input (the previous
// frame's state) and its output.
struct MonitorResult {
    std::array<MonitorLabel, kMonitorLabelCount> labels{};
    std::array<MonitorGauge, kMonitorGaugeCount> gauges{};
    MonitorLiveValues live;
    int framesDecoded = 0;

    MonitorLabel& label(MonitorLabelId id) { return labels[static_cast<std::size_t>(id)]; }
    const MonitorLabel& label(MonitorLabelId id) const {
        return labels[static_cast<std::size_t>(id)];
    }
    MonitorGauge& gauge(MonitorGaugeId id) { return gauges[static_cast<std::size_t>(id)]; }
    const MonitorGauge& gauge(MonitorGaugeId id) const {
        return gauges[static_cast<std::size_t>(id)];
    }
    // By control name; nullptr when the name is not a monitor control.
    const MonitorLabel* label(std::string_view name) const;
    const MonitorGauge* gauge(std::string_view name) const;

    friend bool operator==(const MonitorResult&, const MonitorResult&) = default;
};

// Decodes one monitor frame into `result`. A frame that is not a monitor frame (byte 0 other
// than 0xB0) or fails its check byte changes nothing and gives false; the caller then leaves
// the connection watchdog running.
[[nodiscard]] bool DecodeMonitorFrame(const Frame& frame, const ParameterImage& image,
                                      const MessageSlots& msgs, const MonitorOptions& opts,
                                      MonitorResult& result);

}  // namespace kestrin

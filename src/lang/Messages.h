#pragma once
// The message slots: every text that the program shows in a message box, the status line or
// a composed label, in the language currently selected.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrin {

// 0 English, 1 German, 2 French, 3 Czech; anything else is treated as English.
inline constexpr int kLanguageCount = 4;
enum Language : std::uint8_t { English = 0, German = 1, French = 2, Czech = 3 };

// Slots in the order of the message table (the order in which they are filled).
enum MsgId : int {
    MsgComOpenError,
    MsgProgramError,
    MsgVerifyError,
    MsgReadError,
    MsgProgramming,
    MsgVersionMismatch,
    MsgVerifying,
    MsgReading,
    MsgSaving,
    MsgAdvance,
    MsgProgramCount,
    MsgBlocking,
    MsgStartLimiter,
    MsgIgnLimiter,
    MsgJetLimiter,
    MsgRetardLimiter,
    MsgYes,
    MsgNo,
    MsgTwinkle,
    MsgPickupCkps,
    MsgPickupCmps,
    MsgRunning,
    MsgNoSignal,
    MsgInjectionTime,
    MsgMaxInjection,
    MsgPosition,
    MsgExhaustServo,
    MsgIntakeServo,
    MsgPotentiometer,
    MsgFallSensor,
    MsgCooling,
    MsgGear,
    MsgSpeed,
    MsgGearShiftLight,
    MsgChoke,
    MsgClutchMaster,
    MsgTacho,
    MsgLambda,
    MsgTachoLambda,
    MsgInjByTps,
    MsgCoolant,
    MsgIdle,
    MsgGearVoltage,
    MsgStepServoPosition,
    MsgAskDefaults,
    MsgAskDefaultsPage,
    MsgBikeNotSupported,
    MsgIgnOlderVersion,
    MsgIgnVersionError,
    MsgFileOpenError,
    MsgManualFile,
    MsgManualOpenError,
    MsgPrintDate,
    MsgBaseAdvance,
    MsgIapToTp,
    MsgHysteresis,
    MsgLobeWidth,
    MsgCylinderCorrection,
    MsgTpsMin,
    MsgTpsMax,
    MsgRpmMin,
    MsgRpmMax,
    MsgPeriod,
    MsgExcitation,
    MsgIntakeServoEnabled,
    MsgIntakeServoDisabled,
    MsgDesiredRpm,
    MsgServoStartPosition,
    MsgTpsMinSteps,
    MsgMinPosition,
    MsgTuneRpmZero,
    MsgTuneCoupled,
    MsgTuneNoLoad,
    MsgTuneOff,
    MsgTuneAccel,
    MsgTuneBothMaps,
    MsgTuneNotInPoint,
    MsgTuneLambdaError,
    MsgTuneRpmLow,
    MsgTuneRpmHigh,
    MsgTuneLoadLow,
    MsgTuneLoadHigh,
    MsgTuneAdding,
    MsgTuneDecrease,
    MsgTuneOk,
    MsgCount
};

// One row of the message table: the slot's name and its four texts (UTF-8).
struct MessageRow {
    MsgId id;
    std::string_view name;
    std::array<std::string_view, kLanguageCount> text;
};

// The whole table, in slot order.
const std::array<MessageRow, MsgCount>& MessageTable();

// The slots of one language, filled in table order; composed slots are built from their parts.
class MessageSlots {
public:
    MessageSlots() { Apply(English); }
    void Apply(int languageIndex);

    const std::string& operator[](MsgId id) const { return slots_[static_cast<std::size_t>(id)]; }
    const std::string& text(MsgId id) const { return (*this)[id]; }
    int language() const { return language_; }

private:
    std::array<std::string, MsgCount> slots_;
    int language_ = English;
};

}  // namespace kestrin

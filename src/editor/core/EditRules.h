#pragma once
// Configuration switches that rewrite other fields of the image: the idle control type and the
// servo map's percent switch change the unit in which the idle servo curve and the servo map
// are held.

#include "model/ParameterImage.h"

namespace kestrin::editor {

inline constexpr int kIdleModeByte = 290;
inline constexpr int kIdleIntakeServo = 1;  // idle control by the intake servo
inline constexpr int kIdleServoFirstWord = 149;
inline constexpr int kIdleServoPoints = 9;
inline constexpr int kIntakePercentByte = 63;
inline constexpr int kExhaustPercentByte = 62;
inline constexpr int kPercentPerStepFactor = 50;

// The idle servo curve is held in percent of the intake servo while the idle control uses that
// servo in percent, and in steps otherwise: leaving mode 1 multiplies by 50, entering it
// divides by 50 (only with the intake servo in percent). Products stop at 65535.
void ConvertIdleServoCurve(ParameterImage& image, int oldMode, int newMode);

// "Procent" switched on servo page 11 (intake) or 12 (exhaust): when the state differs from
// the page's percent byte, the byte follows and the 150 map bytes are converted between raw
// steps (x 20 mV) and percent; on page 11 with idle mode 1 the idle curve follows too. Results
// stop at 255 and 65535 instead of wrapping. False when nothing changed.
bool SwitchServoPercent(ParameterImage& image, int page, bool percent);

}  // namespace kestrin::editor

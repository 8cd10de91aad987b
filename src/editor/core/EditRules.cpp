#include "editor/core/EditRules.h"

#include <algorithm>

namespace kestrin::editor {
namespace {

constexpr int kIntakeMapFirst = 2550;
constexpr int kExhaustMapFirst = 2400;

void ScaleIdleCurve(ParameterImage& image, bool multiply) {
    for (int i = 0; i < kIdleServoPoints; ++i) {
        const int k = kIdleServoFirstWord + i;
        const long long w = image.word(k);
        const long long v = multiply ? w * kPercentPerStepFactor : w / kPercentPerStepFactor;
        image.setWord(k, static_cast<std::uint16_t>(std::min<long long>(v, 0xFFFF)));
    }
}

}  // namespace

void ConvertIdleServoCurve(ParameterImage& image, int oldMode, int newMode) {
    if (image.byte(kIntakePercentByte) == 0) return;
    if (oldMode == kIdleIntakeServo) ScaleIdleCurve(image, true);
    if (newMode == kIdleIntakeServo) ScaleIdleCurve(image, false);
}

bool SwitchServoPercent(ParameterImage& image, int page, bool percent) {
    if (page != 11 && page != 12) return false;
    const int flag = page == 11 ? kIntakePercentByte : kExhaustPercentByte;
    if ((image.byte(flag) != 0) == percent) return false;
    image.setByte(flag, percent ? 1 : 0);
    const int first = page == 11 ? kIntakeMapFirst : kExhaustMapFirst;
    for (int i = 0; i < kMapCells; ++i) {
        const int b = image.byte(first + i);
        const int v = percent ? (2 * b + 2) / 5 : (5 * b) / 2;
        image.setByte(first + i, static_cast<std::uint8_t>(std::min(v, 255)));
    }
    if (page == 11 && image.byte(kIdleModeByte) == kIdleIntakeServo)
        ScaleIdleCurve(image, !percent);
    return true;
}

}  // namespace kestrin::editor

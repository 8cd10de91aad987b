#include "link/MonitorDecoder.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <iterator>
#include <utility>

namespace kestrin {

namespace {

using L = MonitorLabelId;
using G = MonitorGaugeId;
using C = MonitorColour;

#define KESTRIN_MONITOR_NAME_ITEM(name) std::string_view{#name},
constexpr std::array<std::string_view, kMonitorLabelCount> kLabelNames{
    KESTRIN_MONITOR_LABELS(KESTRIN_MONITOR_NAME_ITEM)};
constexpr std::array<std::string_view, kMonitorGaugeCount> kGaugeNames{
    KESTRIN_MONITOR_GAUGES(KESTRIN_MONITOR_NAME_ITEM)};
#undef KESTRIN_MONITOR_NAME_ITEM

// Image bytes the decoder reads.
constexpr int kImgBikeCode = 0;
constexpr int kImgRpmGaugeScale = 29;
constexpr int kImgExhaustServoOn = 58;
constexpr int kImgIntakeServoOn = 59;
constexpr int kImgLambdaBarStart = 372;
constexpr int kImgLambdaBarEnd = 375;
constexpr int kImgCylinders = 256;
constexpr int kChokeBike = 38;

constexpr int kMaxCylinders = 4;
constexpr int kCoolantErrorStored = 180;
constexpr int kAirErrorShown = 50;

// Switch inputs and outputs: prefix " - " YES/NO, coloured while YES.
struct SwitchRow {
    L label;
    MsgId prefix;
    int byte;
    int bit;
    bool yesWhenSet;
    C colour;
};

constexpr SwitchRow kSwitchRows[] = {
    {L::LabelMonFallIn, MsgFallSensor, 1, 0, false, C::Fuchsia},
    {L::LabelMonFallOut, MsgFallSensor, 1, 1, true, C::Red},
    {L::LabelMonBlock2In, MsgBlocking, 1, 2, false, C::Aqua},
    {L::LabelMonBlock2Out, MsgBlocking, 1, 3, true, C::Red},
    {L::LabelMonStartLimiterIn, MsgStartLimiter, 1, 4, false, C::Fuchsia},
    {L::LabelMonStartLimiterOut, MsgStartLimiter, 1, 5, true, C::Fuchsia},
    {L::LabelMonClutchIn, MsgClutchMaster, 1, 6, false, C::Lime},
    {L::LabelMonClutchOut, MsgClutchMaster, 1, 7, true, C::Red},
    {L::LabelMonRpmLambdaIn, MsgTachoLambda, 2, 0, false, C::Aqua},
    {L::LabelMonIgnLimiter, MsgIgnLimiter, 2, 2, true, C::Fuchsia},
    {L::LabelMonJetLimiter, MsgJetLimiter, 2, 3, true, C::Fuchsia},
    {L::LabelMonRetardLimiter, MsgRetardLimiter, 2, 4, true, C::Fuchsia},
    {L::LabelClazeniMon, MsgCooling, 3, 4, true, C::White},
};

// Tuning state codes 0..14 in code order; higher codes leave the text as it is.
constexpr MsgId kTuningMessages[] = {
    MsgTuneRpmZero,    MsgTuneNoLoad,      MsgTuneOff,      MsgTuneAccel,   MsgTuneBothMaps,
    MsgTuneNotInPoint, MsgTuneLambdaError, MsgTuneRpmLow,   MsgTuneRpmHigh, MsgTuneLoadLow,
    MsgTuneLoadHigh,   MsgTuneAdding,      MsgTuneDecrease, MsgTuneOk,      MsgTuneCoupled,
};

struct TuningColour {
    int code;
    C colour;
};
constexpr TuningColour kTuningColours[] = {{11, C::Aqua}, {12, C::Yellow}, {13, C::Lime}};

// How a correction word becomes the shown number.
enum class Scale : std::uint8_t {
    Tenths,                // word × 0.1
    TenthsLess100,         // word × 0.1 − 100
    Less1000,              // word − 1000, whole number
    ThousandOffsetTenths,  // (word − 1000) × 0.1
    Whole,                 // word
};

// A label showing one word of the frame: optional message prefix, then the format.
struct WordRow {
    L label;
    int byte;
    Scale scale;
    std::optional<MsgId> prefix;
    const char* format;
};

constexpr WordRow kWordRows[] = {
    {L::LabelMonPotenc, 74, Scale::Whole, MsgPotentiometer, " = %d mV"},
    {L::LabelTest1, 78, Scale::Whole, std::nullopt, "Test1= %d"},
    {L::LabelTest2, 80, Scale::Whole, std::nullopt, "Test2= %d"},
    {L::LabelTest3, 82, Scale::Whole, std::nullopt, "Test3= %d "},
    {L::LabelTest4, 84, Scale::Whole, std::nullopt, "Test4=%d"},
    {L::LabelTest5, 86, Scale::Whole, std::nullopt, "Test5= %d"},
    {L::LabelTest6, 88, Scale::Whole, std::nullopt, "Test6= %d"},
    {L::LabelTest7, 90, Scale::Whole, std::nullopt, "Test7= %d"},
    {L::LabelTest8, 92, Scale::Whole, std::nullopt, "Test8= %d"},
    {L::LabelMon_PolohaA, 96, Scale::Whole, MsgPosition, " A = %d °"},
    {L::LabelMon_PolohaB, 98, Scale::Whole, MsgPosition, " B = %d °"},
    {L::LabelKorVodaJet, 100, Scale::Tenths, std::nullopt, "TW correction = %4.1f %%"},
    {L::LabelKorVzduch, 102, Scale::Tenths, std::nullopt, "AT correction = %4.1f %%"},
    {L::LabelKorTlak, 104, Scale::Tenths, std::nullopt, "AP correction = %4.1f %%"},
    {L::LabelKorSytic, 106, Scale::Tenths, std::nullopt, "Starting corr. = %4.1f %%"},
    {L::LabelKorNapeti, 108, Scale::Less1000, std::nullopt, "U correction = %d us"},
    {L::LabelKorVodaIgn, 110, Scale::TenthsLess100, std::nullopt, "TW correction = %4.1f °"},
    {L::LabelKorPotencIgn, 112, Scale::TenthsLess100, std::nullopt, "Potent. correction = %4.1f °"},
    {L::LabelKorPotencJet, 114, Scale::Tenths, std::nullopt, "Potent. correction = %4.1f %%"},
    {L::LabelMonSpeed, 116, Scale::Whole, MsgSpeed, " = %d [km/h]"},
    {L::LabelMonGearNapeti, 118, Scale::Whole, MsgGearVoltage, " = %d mV"},
    {L::LabelMonPomerRpmSpeed, 120, Scale::Tenths, std::nullopt, "Rpm/Speed = %4.1f "},
    {L::LabelMonPomerRpmSpeedAuto1, 122, Scale::Tenths, std::nullopt, "%4.1f "},
    {L::LabelMonPomerRpmSpeedAuto2, 124, Scale::Tenths, std::nullopt, "%4.1f "},
    {L::LabelMonPomerRpmSpeedAuto3, 126, Scale::Tenths, std::nullopt, "%4.1f "},
    {L::LabelMonPomerRpmSpeedAuto4, 128, Scale::Tenths, std::nullopt, "%4.1f "},
    {L::LabelMonPomerRpmSpeedAuto5, 130, Scale::Tenths, std::nullopt, "%4.1f "},
    {L::LabelMonPomerRpmSpeedAuto6, 132, Scale::Tenths, std::nullopt, "%4.1f "},
    {L::LabelIdleKorAdv, 134, Scale::ThousandOffsetTenths, std::nullopt,
     "Idle correction = %4.1f °"},
    {L::LabelKorAccJet, 140, Scale::Tenths, std::nullopt, "Acc. corr = %4.1f %%"},
    {L::LabelMonServoPosition, 142, Scale::Whole, MsgStepServoPosition, " = %d"},
};

// The per-cylinder labels of advance and injection, cylinder 1 first.
constexpr L kIgnLabels[] = {L::LabelMon_Ign1, L::LabelMon_Ign2, L::LabelMon_Ign3, L::LabelMon_Ign4};
constexpr L kJetALabels[] = {L::LabelMon_Jet_1A, L::LabelMon_Jet_2A, L::LabelMon_Jet_3A,
                             L::LabelMon_Jet_4A};
constexpr L kJetBLabels[] = {L::LabelMon_Jet_1B, L::LabelMon_Jet_2B, L::LabelMon_Jet_3B,
                             L::LabelMon_Jet_4B};
constexpr int kIgnFirst = 10;
constexpr int kJetAFirst = 14;
constexpr int kJetBFirst = 18;

__attribute__((format(printf, 1, 2))) std::string Printf(const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) return {};
    return std::string(buffer, static_cast<std::size_t>(std::min<int>(n, sizeof buffer - 1)));
}

// Formats of the tables are fixed strings with one number; they are only known at run time.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
std::string FormatInt(const char* format, int value) {
    char buffer[128];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    return n < 0 ? std::string{} : std::string(buffer);
}
std::string FormatReal(const char* format, double value) {
    char buffer[128];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    return n < 0 ? std::string{} : std::string(buffer);
}
#pragma GCC diagnostic pop

int Word(const Frame& f, int byte) {
    return f[static_cast<std::size_t>(byte)] | (f[static_cast<std::size_t>(byte) + 1] << 8);
}
bool Bit(const Frame& f, int byte, int bit) {
    return ((f[static_cast<std::size_t>(byte)] >> bit) & 1) != 0;
}
int Byte(const Frame& f, int byte) {
    return f[static_cast<std::size_t>(byte)];
}

// Writes into one label and marks what was written.
class LabelWriter {
public:
    explicit LabelWriter(MonitorLabel& l) : l_(l) {}
    LabelWriter& Text(std::string text) {
        l_.text = std::move(text);
        l_.textSet = true;
        return *this;
    }
    LabelWriter& Colour(C colour) {
        l_.colour = colour;
        l_.colourSet = true;
        return *this;
    }
    LabelWriter& Visible(bool visible) {
        l_.visible = visible;
        l_.visibleSet = true;
        return *this;
    }

private:
    MonitorLabel& l_;
};

class Decoder {
public:
    Decoder(const Frame& f, const ParameterImage& img, const MessageSlots& msgs,
            const MonitorOptions& opts, MonitorResult& r)
        : f_(f), img_(img), msgs_(msgs), opts_(opts), r_(r) {}

    void Run() {
        for (auto& l : r_.labels) l.textSet = l.colourSet = l.visibleSet = false;
        for (auto& g : r_.gauges) g.progressSet = g.colourSet = false;
        Switches();
        StatusLabels();
        Advance();
        Injection();
        StoredAndSmall();
        EngineSpeed();
        Pressures();
        Throttle();
        Lambda();
        Temperatures();
        Supply();
        Servos();
        WordLabels();
        StoreLive();
        ++r_.framesDecoded;
    }

private:
    LabelWriter Label(L id) { return LabelWriter(r_.label(id)); }
    const std::string& Msg(MsgId id) const { return msgs_[id]; }
    std::string YesNo(bool yes) const { return Msg(yes ? MsgYes : MsgNo); }
    void Gauge(G id, int progress) {
        auto& g = r_.gauge(id);
        g.progress = progress;
        g.progressSet = true;
    }
    void GaugeColour(G id, C colour) {
        auto& g = r_.gauge(id);
        g.foreColour = colour;
        g.colourSet = true;
    }
    int Cylinders() const { return img_.byte(kImgCylinders); }
    int ShownCylinders() const { return std::min(Cylinders(), kMaxCylinders); }

    void Switches() {
        for (const auto& row : kSwitchRows) {
            const bool yes = Bit(f_, row.byte, row.bit) == row.yesWhenSet;
            Label(row.label)
                .Text(Msg(row.prefix) + " - " + YesNo(yes))
                .Colour(yes ? row.colour : C::ButtonFace);
        }
    }

    void StatusLabels() {
        const bool tacho = Bit(f_, 2, 1);
        Label(L::LabelMonRpmLambdaOut)
            .Text(Msg(MsgTachoLambda) + " - " + Msg(tacho ? MsgTacho : MsgLambda))
            .Colour(tacho ? C::ButtonFace : C::Aqua);

        const bool intakeFault = !Bit(f_, 2, 7) && img_.byte(kImgIntakeServoOn) != 0;
        const bool exhaustFault = !Bit(f_, 2, 6) && img_.byte(kImgExhaustServoOn) != 0;
        Label(L::LabelMonServoIntake).Colour(intakeFault ? C::Red : C::ButtonFace);
        Label(L::LabelMonServoExhaust).Colour(exhaustFault ? C::Red : C::ButtonFace);

        const bool n2o = Bit(f_, 3, 1);
        Label(L::LabelN2oEnable)
            .Visible(opts_.nitrousEnabled)
            .Text("N2O  - " + YesNo(n2o))
            .Colour(n2o ? C::Lime : C::ButtonFace);

        const int version = Byte(f_, 150);
        const std::string versions = Printf("  PC-%d, IGN-%d", kProtocolVersion, version);
        if (version == kProtocolVersion)
            Label(L::LabelVersion).Text(versions.substr(2)).Colour(C::White);
        else
            Label(L::LabelVersion).Text(Msg(MsgVersionMismatch) + versions).Colour(C::Red);

        const bool ckps = Bit(f_, 3, 5);
        const bool cmps = Bit(f_, 3, 6);
        Label(L::LabelSnimacCkps)
            .Text(Msg(MsgPickupCkps) + " - " + Msg(ckps ? MsgRunning : MsgNoSignal))
            .Colour(ckps ? C::Lime : C::ButtonFace);
        Label(L::LabelSnimacCmps)
            .Text(Msg(MsgPickupCmps) + " - " + Msg(cmps ? MsgRunning : MsgNoSignal))
            .Colour(cmps ? C::Lime : C::ButtonFace);

        Label(L::LabelEeDataErr).Visible(Bit(f_, 3, 7));
    }

    // A cylinder count of 0 shows cylinder 1's value as the average; more than four cylinders
    // sum the four the frame carries.
    int Average(int first, int scale) const {
        const int n = Cylinders();
        if (n == 0) return Byte(f_, first) * scale;
        int sum = 0;
        for (int i = 0; i < ShownCylinders(); ++i) sum += Byte(f_, first + i);
        return sum * scale / n;
    }

    void Advance() {
        const bool base = Bit(f_, 3, 3);
        const std::string& advance = Msg(MsgAdvance);
        for (int i = 0; i < kMaxCylinders; ++i) {
            const bool shown = i == 0 || Cylinders() > i;
            const L id = kIgnLabels[i];
            if (i > 0) Label(id).Visible(shown);
            if (!shown) continue;
            Label(id).Text(
                base ? Printf("%s %d= BASE", advance.c_str(), i + 1)
                     : Printf("%s %d= %2d °", advance.c_str(), i + 1, Byte(f_, kIgnFirst + i)));
        }
        Label(L::LabelMon_Ign)
            .Text(base ? advance + " = BASE"
                       : Printf("%s = %2d °", advance.c_str(), Average(kIgnFirst, 1)));
    }

    void Injection() {
        const std::string& jet = Msg(MsgInjectionTime);
        int maxJet = Byte(f_, kJetAFirst);
        for (int i = 0; i < kMaxCylinders; ++i) {
            const bool shown = i == 0 || Cylinders() > i;
            if (i > 0) {
                Label(kJetALabels[i]).Visible(shown);
                Label(kJetBLabels[i]).Visible(shown);
            }
            const int a = Byte(f_, kJetAFirst + i);
            const int b = Byte(f_, kJetBFirst + i);
            if (shown) {
                Label(kJetALabels[i]).Text(Printf("%s %dA = %d us", jet.c_str(), i + 1, a * 100));
                maxJet = std::max(maxJet, a);
            }
            Label(kJetBLabels[i]).Text(Printf("%s %dB = %d us", jet.c_str(), i + 1, b * 100));
            maxJet = std::max(maxJet, b);
        }
        Label(L::LabelMon_Jet_A)
            .Text(Printf("%s A = %d us", jet.c_str(), Average(kJetAFirst, 100)));
        int sumB = 0;
        for (int i = 0; i < kMaxCylinders; ++i) sumB += Byte(f_, kJetBFirst + i);
        Label(L::LabelMon_Jet_B)
            .Text(Printf("%s B = %d us", jet.c_str(), sumB * 100 / kMaxCylinders));

        // The speed of the previous frame: this frame's speed is stored later in the pass.
        const int duty = r_.live.rpm * maxJet / 12000;
        Label(L::LabelMaxInjProcent)
            .Text(Printf("%s = %d [%%]", Msg(MsgMaxInjection).c_str(), duty));
        GaugeColour(G::CGaugeDuty, duty > 100 ? C::Yellow : C::Blue);
        Gauge(G::CGaugeDuty, duty);
    }

    void StoredAndSmall() {
        Label(L::LabelGear).Text(Printf("%s = %d ", Msg(MsgGear).c_str(), Byte(f_, 25)));
        Label(L::LabelDleTpsProcent)
            .Text(Printf("%s = %2d %%", Msg(MsgInjByTps).c_str(), Byte(f_, 26)));

        const int light = Byte(f_, 27);
        const MsgId lightName =
            img_.byte(kImgBikeCode) == kChokeBike ? MsgChoke : MsgGearShiftLight;
        const MsgId state = light == 0 ? MsgNo : (light == 2 ? MsgYes : MsgTwinkle);
        Label(L::LabelMonPilotLight)
            .Text(Msg(lightName) + " - " + Msg(state))
            .Colour(light != 0 ? C::Fuchsia : C::ButtonFace);

        const int code = Byte(f_, 28);
        if (code < static_cast<int>(std::size(kTuningMessages)))
            Label(L::LabelLadeniMsg).Text(Msg(kTuningMessages[code]));
        C colour = C::Fuchsia;
        for (const auto& t : kTuningColours)
            if (t.code == code) colour = t.colour;
        Label(L::LabelLadeniMsg).Colour(colour);
    }

    void EngineSpeed() {
        const int rpm = Word(f_, 48);
        Label(L::LabelRpm).Text(Printf("RPM = %d ", rpm));
        const int scale = img_.byte(kImgRpmGaugeScale);
        if (scale != 0) Gauge(G::CGaugeRpm, rpm / scale);
        const int limiters = Bit(f_, 2, 2) + Bit(f_, 2, 3) + Bit(f_, 2, 4);
        Label(L::LabelRpm)
            .Colour(limiters == 0 ? C::ButtonFace : (limiters == 3 ? C::Red : C::Fuchsia));
    }

    void Pressures() {
        const double ap = Word(f_, 52) * 0.1;
        Label(L::LabelTlak)
            .Colour(Bit(f_, 4, 2) ? C::Red : C::ButtonFace)
            .Text(opts_.extendedView ? Printf("AP = %4.1f kPa= %d mV", ap, Word(f_, 50))
                                     : Printf("AP = %4.1f kPa", ap));

        const int iap = Word(f_, 136);
        const int iapMv = Word(f_, 54);
        if (Bit(f_, 4, 1))
            Label(L::LabelPodtlak)
                .Colour(C::Red)
                .Text(opts_.extendedView ? Printf("IAP = error = %d [mV]", iapMv)
                                         : std::string("IAP = error"));
        else
            Label(L::LabelPodtlak)
                .Colour(C::ButtonFace)
                .Text(opts_.extendedView ? Printf("IA P= %d [kPa] = %d [mV]", iap, iapMv)
                                         : Printf("IAP = %d [kPa]", iap));
    }

    void Throttle() {
        const int tps = Word(f_, 138);
        const int mv = Word(f_, 56);
        if (Bit(f_, 4, 0)) {
            Label(L::LabelTpsMon).Colour(C::Red).Text(Printf("TP = error = %d mV", mv));
            Gauge(G::CGaugeTps, 0);
            return;
        }
        Label(L::LabelTpsMon)
            .Colour(C::ButtonFace)
            .Text(opts_.extendedView ? Printf("TP = %4.1f %%=%d mV", tps * 0.1, mv)
                                     : Printf("TP = %4.1f %%", tps * 0.1));
        Gauge(G::CGaugeTps, tps / 10);
    }

    // A bar whose start equals its end has no inside; a ratio on it shows the empty bar.
    static int LambdaPosition(int ratio, int start, int end) {
        if (ratio < start) return 0;
        if (ratio > end) return 100;
        if (end == start) return 0;
        return (ratio - start) * 100 / (end - start);
    }

    void Lambda() {
        const int ratio = Byte(f_, 29);
        const int mv = Word(f_, 58);
        Label(L::LabelLambda)
            .Text(opts_.extendedView ? Printf("LAMBDA = %4.1f [A/F] = %d mV", ratio * 0.1, mv)
                                     : Printf("LAMBDA = %4.1f [A/F]", ratio * 0.1));
        Gauge(G::CGaugeLambda,
              LambdaPosition(ratio, img_.byte(kImgLambdaBarStart), img_.byte(kImgLambdaBarEnd)));
    }

    void Temperatures() {
        const char* coolant = Msg(MsgCoolant).c_str();
        const int t = Byte(f_, 23);
        const int coolantMv = Word(f_, 60);
        coolantStored_ = t;
        if (t == 0) {
            coolantStored_ = kCoolantErrorStored;
            GaugeColour(G::CGaugeVoda, C::Red);
            Label(L::LabelVoda)
                .Colour(C::Red)
                .Text(opts_.extendedView ? Printf("%s = error = %d mV", coolant, coolantMv)
                                         : Printf("%s = error", coolant));
        } else {
            const bool hot = t >= 200;
            GaugeColour(G::CGaugeVoda, hot ? C::Yellow : C::Aqua);
            Label(L::LabelVoda)
                .Colour(hot ? C::Yellow : C::ButtonFace)
                .Text(opts_.extendedView ? Printf("%s = %d °C= %d mV", coolant, t - 100, coolantMv)
                                         : Printf("%s= %d °C", coolant, t - 100));
        }
        Gauge(G::CGaugeVoda, coolantStored_ - 100);

        const int a = Byte(f_, 24);
        const int airShown = a == 0 ? kAirErrorShown : a - 100;
        Label(L::LabelVzduch)
            .Colour(a == 0 ? C::Red : C::ButtonFace)
            .Text(opts_.extendedView ? Printf("AT = %d °C= %d mV", airShown, Word(f_, 62))
                                     : Printf("AT = %d °C", airShown));
    }

    void Supply() {
        const int u = Word(f_, 64);
        C colour = C::ButtonFace;
        if (u >= 17999 || u <= 7000)
            colour = C::Red;
        else if (u >= 14999 || u <= 11000)
            colour = C::Yellow;
        Label(L::LabelNapeti).Colour(colour).Text(Printf("U = %4.1f V", u * 0.001));
    }

    void Servos() {
        const char* intake = Msg(MsgIntakeServo).c_str();
        if (Bit(f_, 4, 4))
            Label(L::LabelMonServoIntake)
                .Text(Printf("%s = %d mV/ %s ", intake, Word(f_, 70), Msg(MsgIdle).c_str()));
        else
            Label(L::LabelMonServoIntake)
                .Text(Printf("%s = %d / %d mV", intake, Word(f_, 70), Word(f_, 72)));
        Label(L::LabelMonServoExhaust)
            .Text(Printf("%s = %d / %d mV", Msg(MsgExhaustServo).c_str(), Word(f_, 66),
                         Word(f_, 68)));
        Label(L::LabelPocetProgramovani).Text(Msg(MsgProgramCount) + std::to_string(Word(f_, 76)));
    }

    void WordLabels() {
        for (const auto& row : kWordRows) {
            const int w = Word(f_, row.byte);
            std::string text = row.prefix ? Msg(*row.prefix) : std::string{};
            switch (row.scale) {
                case Scale::Whole:
                    text += FormatInt(row.format, w);
                    break;
                case Scale::Less1000:
                    text += FormatInt(row.format, w - 1000);
                    break;
                case Scale::Tenths:
                    text += FormatReal(row.format, w * 0.1);
                    break;
                case Scale::TenthsLess100:
                    text += FormatReal(row.format, w * 0.1 - 100);
                    break;
                case Scale::ThousandOffsetTenths:
                    text += FormatReal(row.format, (w - 1000) * 0.1);
                    break;
            }
            Label(row.label).Text(std::move(text));
        }
    }

    void StoreLive() {
        auto& v = r_.live;
        v.rpm = Word(f_, 48);
        v.tps = Word(f_, 138);
        v.tpsVoltage = Word(f_, 56);
        v.iap = Word(f_, 136);
        v.coolant = coolantStored_;
        v.air = Byte(f_, 24);
        v.gear = Byte(f_, 25);
        v.tpsShare = Byte(f_, 26);
        v.tuningState = Byte(f_, 28);
        v.airFuel = Byte(f_, 29);
        v.lambdaVoltage = Word(f_, 58);
        v.gearVoltage = Word(f_, 118);
        v.speedRatio = Word(f_, 120);
        v.timeSinceStart = Word(f_, 94);
        v.savingCountdown = Word(f_, 148);
        v.unitVersion = Byte(f_, 150);

        v.tpsError = Bit(f_, 4, 0);
        v.iapError = Bit(f_, 4, 1);
        v.apError = Bit(f_, 4, 2);
        v.outputTestLock = Bit(f_, 4, 3);
        v.ignLimiter = Bit(f_, 2, 2);
        v.jetLimiter = Bit(f_, 2, 3);
        v.retardLimiter = Bit(f_, 2, 4);
        v.baseAdvance = Bit(f_, 3, 3);
        v.statusBit = Bit(f_, 3, 0);
        v.tpsShareAbove0 = !v.statusBit && v.tpsShare > 0;
        v.tpsShareBelow100 = !v.statusBit && v.tpsShare < 100;
    }

    const Frame& f_;
    const ParameterImage& img_;
    const MessageSlots& msgs_;
    const MonitorOptions& opts_;
    MonitorResult& r_;
    int coolantStored_ = 0;
};

}  // namespace

std::span<const std::string_view> MonitorLabelNames() {
    return kLabelNames;
}
std::span<const std::string_view> MonitorGaugeNames() {
    return kGaugeNames;
}

std::string_view MonitorLabelName(MonitorLabelId id) {
    return kLabelNames[static_cast<std::size_t>(id)];
}
std::string_view MonitorGaugeName(MonitorGaugeId id) {
    return kGaugeNames[static_cast<std::size_t>(id)];
}

std::optional<MonitorLabelId> MonitorLabelByName(std::string_view name) {
    const auto it = std::find(kLabelNames.begin(), kLabelNames.end(), name);
    if (it == kLabelNames.end()) return std::nullopt;
    return static_cast<MonitorLabelId>(it - kLabelNames.begin());
}
std::optional<MonitorGaugeId> MonitorGaugeByName(std::string_view name) {
    const auto it = std::find(kGaugeNames.begin(), kGaugeNames.end(), name);
    if (it == kGaugeNames.end()) return std::nullopt;
    return static_cast<MonitorGaugeId>(it - kGaugeNames.begin());
}

const MonitorLabel* MonitorResult::label(std::string_view name) const {
    const auto id = MonitorLabelByName(name);
    return id ? &label(*id) : nullptr;
}
const MonitorGauge* MonitorResult::gauge(std::string_view name) const {
    const auto id = MonitorGaugeByName(name);
    return id ? &gauge(*id) : nullptr;
}

bool DecodeMonitorFrame(const Frame& frame, const ParameterImage& image, const MessageSlots& msgs,
                        const MonitorOptions& opts, MonitorResult& result) {
    if (frame[0] != kMonitorReply || !CheckOk(frame)) return false;
    Decoder(frame, image, msgs, opts, result).Run();
    return true;
}

}  // namespace kestrin

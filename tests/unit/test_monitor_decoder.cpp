// The live monitor decoder: frames in, label texts, colours, visibility, gauges and live values
// out.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "link/MonitorDecoder.h"

namespace kestrin {
namespace {

using L = MonitorLabelId;
using G = MonitorGaugeId;
using C = MonitorColour;

// A monitor frame with the matching version and every value zero; setters return the builder.
class FrameBuilder {
public:
    FrameBuilder() {
        f_.fill(0);
        f_[0] = kMonitorReply;
        f_[150] = kProtocolVersion;
    }
    FrameBuilder& Byte(int i, int v) {
        f_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v);
        return *this;
    }
    FrameBuilder& Word(int i, int v) {
        Byte(i, v & 0xFF);
        return Byte(i + 1, (v >> 8) & 0xFF);
    }
    FrameBuilder& Bit(int byte, int bit, bool on = true) {
        auto& b = f_[static_cast<std::size_t>(byte)];
        b = static_cast<std::uint8_t>(on ? (b | (1 << bit)) : (b & ~(1 << bit)));
        return *this;
    }
    Frame Sealed() const {
        Frame f = f_;
        Seal(f);
        return f;
    }

private:
    Frame f_;
};

using FrameSetup = std::function<void(FrameBuilder&)>;

class MonitorDecoderTest : public ::testing::Test {
protected:
    MonitorDecoderTest() {
        image.setByte(256, 4);  // cylinders
        image.setByte(372, 100);
        image.setByte(375, 200);
    }

    void Decode(const FrameBuilder& b) {
        ASSERT_TRUE(DecodeMonitorFrame(b.Sealed(), image, msgs, opts, result));
    }
    void Decode(const FrameSetup& setup) {
        FrameBuilder b;
        setup(b);
        Decode(b);
    }
    const MonitorLabel& Label(L id) const { return result.label(id); }
    const MonitorGauge& Gauge(G id) const { return result.gauge(id); }

    ParameterImage image;
    MessageSlots msgs;
    MonitorOptions opts;
    MonitorResult result;
};

TEST_F(MonitorDecoderTest, RejectedFramesChangeNothing) {
    Decode([](FrameBuilder& b) { b.Word(48, 3000).Byte(28, 11).Byte(23, 185); });
    const MonitorResult before = result;

    Frame badCheck = FrameBuilder().Word(48, 9000).Sealed();
    badCheck[151] ^= 0x01;
    Frame notMonitor = FrameBuilder().Word(48, 9000).Byte(0, 0xC1).Sealed();
    Frame damaged = FrameBuilder().Word(48, 9000).Sealed();
    damaged[60] ^= 0x40;

    for (const Frame& f : {badCheck, notMonitor, damaged}) {
        EXPECT_FALSE(DecodeMonitorFrame(f, image, msgs, opts, result));
        EXPECT_EQ(result, before);
    }
}

TEST_F(MonitorDecoderTest, FlagsSayWhatTheLatestFrameWrote) {
    Decode([](FrameBuilder& b) { b.Byte(28, 11); });
    EXPECT_TRUE(Label(L::LabelLadeniMsg).textSet);
    EXPECT_FALSE(Label(L::LabelTest1).visibleSet);      // the test flag file decides
    EXPECT_FALSE(Label(L::LabelVersion).visibleSet);    // the watchdog decides
    EXPECT_FALSE(Label(L::LabelMon_Jet_1A).colourSet);  // never coloured
    EXPECT_FALSE(Label(L::LabelEeDataErr).textSet);     // caption from the language

    Decode([](FrameBuilder& b) { b.Byte(28, 20); });
    EXPECT_FALSE(Label(L::LabelLadeniMsg).textSet);
    EXPECT_TRUE(Label(L::LabelLadeniMsg).colourSet);
}

// Per cylinder count: which of the cylinder 2..4 labels show, and the averages.
struct CylinderCase {
    int cylinders;
    std::array<int, 4> advance;  // frame bytes 10..13
    std::array<int, 8> jets;     // frame bytes 14..21
    int previousRpm;
    std::string ign;
    std::string jetA;
    std::string jetB;
    std::string maxInj;
};

const CylinderCase kCylinderCases[] = {
    {2,
     {20, 25, 99, 99},
     {40, 42, 0, 0, 30, 30, 0, 0},
     6000,
     "Advance = 22 °",
     "Injection time A = 4100 us",
     "Injection time B = 1500 us",
     "Max injection = 21 [%]"},
    {1,
     {7, 99, 99, 99},
     {40, 90, 90, 90, 10, 0, 0, 0},
     6000,
     "Advance =  7 °",
     "Injection time A = 4000 us",
     "Injection time B = 250 us",
     "Max injection = 20 [%]"},
    {3,
     {10, 11, 13, 99},
     {10, 20, 31, 99, 0, 0, 0, 0},
     12000,
     "Advance = 11 °",
     "Injection time A = 2033 us",
     "Injection time B = 0 us",
     "Max injection = 31 [%]"},
    {4,
     {10, 20, 30, 41},
     {10, 20, 30, 41, 1, 2, 3, 5},
     1200,
     "Advance = 25 °",
     "Injection time A = 2525 us",
     "Injection time B = 275 us",
     "Max injection = 4 [%]"},
    // No cylinder count: cylinder 1 stands for the average instead of a division by zero.
    {0,
     {17, 30, 30, 30},
     {33, 90, 90, 90, 0, 0, 0, 50},
     12000,
     "Advance = 17 °",
     "Injection time A = 3300 us",
     "Injection time B = 1250 us",
     "Max injection = 50 [%]"},
    // More cylinders than the frame carries: the four are summed, divided by the count.
    {5,
     {50, 50, 50, 50},
     {50, 50, 50, 50, 0, 0, 0, 0},
     0,
     "Advance = 40 °",
     "Injection time A = 4000 us",
     "Injection time B = 0 us",
     "Max injection = 0 [%]"},
};

TEST_F(MonitorDecoderTest, CylinderCountDrivesVisibilityAndAverages) {
    const L perCylinder[3][3] = {
        {L::LabelMon_Ign2, L::LabelMon_Jet_2A, L::LabelMon_Jet_2B},
        {L::LabelMon_Ign3, L::LabelMon_Jet_3A, L::LabelMon_Jet_3B},
        {L::LabelMon_Ign4, L::LabelMon_Jet_4A, L::LabelMon_Jet_4B},
    };
    for (const auto& c : kCylinderCases) {
        SCOPED_TRACE(c.cylinders);
        result = MonitorResult{};
        image.setByte(256, static_cast<std::uint8_t>(c.cylinders));
        Decode([&](FrameBuilder& b) { b.Word(48, c.previousRpm); });
        Decode([&](FrameBuilder& b) {
            for (int i = 0; i < 4; ++i) b.Byte(10 + i, c.advance[static_cast<std::size_t>(i)]);
            for (int i = 0; i < 8; ++i) b.Byte(14 + i, c.jets[static_cast<std::size_t>(i)]);
        });
        for (int k = 0; k < 3; ++k) {
            const bool shown = c.cylinders >= k + 2;
            for (L id : perCylinder[k]) {
                EXPECT_TRUE(Label(id).visibleSet) << MonitorLabelName(id);
                EXPECT_EQ(Label(id).visible, shown) << MonitorLabelName(id);
            }
            // A hidden A label keeps its old text; the B texts are always written.
            EXPECT_EQ(Label(perCylinder[k][1]).textSet, shown);
            EXPECT_TRUE(Label(perCylinder[k][2]).textSet);
        }
        EXPECT_EQ(Label(L::LabelMon_Ign).text, c.ign);
        EXPECT_EQ(Label(L::LabelMon_Jet_A).text, c.jetA);
        EXPECT_EQ(Label(L::LabelMon_Jet_B).text, c.jetB);
        EXPECT_EQ(Label(L::LabelMaxInjProcent).text, c.maxInj);
    }
}

TEST_F(MonitorDecoderTest, DutyUsesThePreviousSpeedAndTurnsYellowAbove100) {
    struct Case {
        int previousRpm;
        int maxJet;
        int duty;
        C colour;
    };
    const Case cases[] = {{6000, 42, 21, C::Blue},
                          {12000, 100, 100, C::Blue},
                          {12000, 101, 101, C::Yellow},
                          {65535, 255, 1392, C::Yellow}};
    for (const auto& c : cases) {
        result = MonitorResult{};
        Decode([&](FrameBuilder& b) { b.Word(48, c.previousRpm); });
        Decode([&](FrameBuilder& b) { b.Byte(21, c.maxJet).Word(48, 1); });
        EXPECT_EQ(Gauge(G::CGaugeDuty).progress, c.duty);
        EXPECT_EQ(Gauge(G::CGaugeDuty).foreColour, c.colour);
        EXPECT_EQ(result.live.rpm, 1);
    }
    EXPECT_EQ(Gauge(G::CGaugeDuty).Shown(), 100);
}

TEST_F(MonitorDecoderTest, BaseModeShowsBaseInsteadOfAdvance) {
    Decode([](FrameBuilder& b) { b.Byte(10, 12).Byte(11, 5).Bit(3, 3); });
    EXPECT_EQ(Label(L::LabelMon_Ign1).text, "Advance 1= BASE");
    EXPECT_EQ(Label(L::LabelMon_Ign2).text, "Advance 2= BASE");
    EXPECT_EQ(Label(L::LabelMon_Ign).text, "Advance = BASE");
    Decode([](FrameBuilder& b) { b.Byte(10, 12).Byte(11, 5); });
    EXPECT_EQ(Label(L::LabelMon_Ign1).text, "Advance 1= 12 °");
    EXPECT_EQ(Label(L::LabelMon_Ign2).text, "Advance 2=  5 °");
}

struct SwitchCase {
    L label;
    int byte;
    int bit;
    bool set;
    std::string text;
    C colour;
};

// Active-low inputs, active-high outputs, and the prefixes that carry their own blanks.
const SwitchCase kSwitchCases[] = {
    {L::LabelMonFallIn, 1, 0, false, "Fall sensor - YES", C::Fuchsia},
    {L::LabelMonFallIn, 1, 0, true, "Fall sensor - NO", C::ButtonFace},
    {L::LabelMonFallOut, 1, 1, true, "Fall sensor - YES", C::Red},
    {L::LabelMonBlock2In, 1, 2, false, "Blocking  - YES", C::Aqua},
    {L::LabelMonBlock2Out, 1, 3, false, "Blocking  - NO", C::ButtonFace},
    {L::LabelMonClutchIn, 1, 6, false, "Clutch master - YES", C::Lime},
    {L::LabelMonClutchOut, 1, 7, true, "Clutch master - YES", C::Red},
    {L::LabelMonRpmLambdaIn, 2, 0, true, "Tacho/Lambda - NO", C::ButtonFace},
    {L::LabelMonRpmLambdaOut, 2, 1, true, "Tacho/Lambda - Tacho", C::ButtonFace},
    {L::LabelMonRpmLambdaOut, 2, 1, false, "Tacho/Lambda - Lambda", C::Aqua},
    {L::LabelMonRetardLimiter, 2, 4, true, "Limiter by retard - YES", C::Fuchsia},
    {L::LabelClazeniMon, 3, 4, true, "Cooling - YES", C::White},
    {L::LabelSnimacCkps, 3, 5, true, "Pick-up (CKPS) -  is running", C::Lime},
    {L::LabelSnimacCmps, 3, 6, false, "Pick-up (CMPS) -  no signal", C::ButtonFace},
};

TEST_F(MonitorDecoderTest, SwitchLabels) {
    for (const auto& c : kSwitchCases) {
        // Every other bit of the byte has the opposite state, so a wrong bit shows up.
        FrameBuilder b;
        b.Byte(c.byte, c.set ? 0 : 0xFF).Bit(c.byte, c.bit, c.set);
        Decode(b);
        EXPECT_EQ(Label(c.label).text, c.text) << MonitorLabelName(c.label);
        EXPECT_EQ(Label(c.label).colour, c.colour) << MonitorLabelName(c.label);
    }
}

TEST_F(MonitorDecoderTest, SwitchTextsFollowTheLanguage) {
    msgs.Apply(German);
    Decode([](FrameBuilder& b) { b.Bit(1, 1); });
    EXPECT_EQ(Label(L::LabelMonFallOut).text, msgs[MsgFallSensor] + " - JA");
}

TEST_F(MonitorDecoderTest, ServoFaultOnlyForAnEnabledServo) {
    struct Case {
        bool inOrder;
        int enabled;
        C colour;
    };
    for (const Case c :
         {Case{false, 1, C::Red}, Case{false, 0, C::ButtonFace}, Case{true, 1, C::ButtonFace}}) {
        image.setByte(59, static_cast<std::uint8_t>(c.enabled));
        image.setByte(58, static_cast<std::uint8_t>(c.enabled));
        Decode([&](FrameBuilder& b) { b.Bit(2, 7, c.inOrder).Bit(2, 6, c.inOrder); });
        EXPECT_EQ(Label(L::LabelMonServoIntake).colour, c.colour);
        EXPECT_EQ(Label(L::LabelMonServoExhaust).colour, c.colour);
    }
}

TEST_F(MonitorDecoderTest, NitrousAndDataErrorVisibility) {
    opts.nitrousEnabled = true;
    Decode([](FrameBuilder& b) { b.Bit(3, 1).Bit(3, 7); });
    EXPECT_TRUE(Label(L::LabelN2oEnable).visible);
    EXPECT_EQ(Label(L::LabelN2oEnable).text, "N2O  - YES");
    EXPECT_EQ(Label(L::LabelN2oEnable).colour, C::Lime);
    EXPECT_TRUE(Label(L::LabelEeDataErr).visible);

    opts.nitrousEnabled = false;
    Decode([](FrameBuilder&) {});
    EXPECT_FALSE(Label(L::LabelN2oEnable).visible);
    EXPECT_EQ(Label(L::LabelN2oEnable).text, "N2O  - NO");
    EXPECT_FALSE(Label(L::LabelEeDataErr).visible);
}

TEST_F(MonitorDecoderTest, VersionLabel) {
    Decode([](FrameBuilder& b) { b.Byte(150, 73); });
    EXPECT_EQ(Label(L::LabelVersion).text,
              "Unmatched version of PC and Ignition programs!  PC-74, IGN-73");
    EXPECT_EQ(Label(L::LabelVersion).colour, C::Red);
    EXPECT_EQ(result.live.unitVersion, 73);

    Decode([](FrameBuilder&) {});
    EXPECT_EQ(Label(L::LabelVersion).text, "PC-74, IGN-74");
    EXPECT_EQ(Label(L::LabelVersion).colour, C::White);
}

TEST_F(MonitorDecoderTest, TuningStateMessages) {
    struct Case {
        int code;
        std::string text;
        C colour;
    };
    const Case cases[] = {
        {11, "T: Adding", C::Aqua},
        {20, "T: Adding", C::Fuchsia},  // unknown code: the previous text stays
        {12, "T: Decrease", C::Yellow},
        {13, "T: OK", C::Lime},
        {0, "T: rpm=0", C::Fuchsia},
        {1, "T: no TPS, no IAP", C::Fuchsia},
        {10, "T: TPS or IAP high ((hinter letzte Punkt)", C::Fuchsia},
        {14, "T: Coupled", C::Fuchsia},
        {15, "T: Coupled", C::Fuchsia},
        {255, "T: Coupled", C::Fuchsia},
    };
    for (const auto& c : cases) {
        Decode([&](FrameBuilder& b) { b.Byte(28, c.code); });
        EXPECT_EQ(Label(L::LabelLadeniMsg).text, c.text) << c.code;
        EXPECT_EQ(Label(L::LabelLadeniMsg).colour, c.colour) << c.code;
        EXPECT_EQ(result.live.tuningState, c.code);
    }
}

TEST_F(MonitorDecoderTest, LambdaGauge) {
    struct Case {
        int ratio, start, end, position;
    };
    const Case cases[] = {
        {147, 100, 200, 47},
        {100, 100, 200, 0},
        {200, 100, 200, 100},
        {99, 100, 200, 0},
        {201, 100, 200, 100},
        // A bar without width: below, on and above its single point.
        {99, 100, 100, 0},
        {100, 100, 100, 0},
        {101, 100, 100, 100},
        {0, 0, 0, 0},
        {255, 255, 255, 0},
        // Ends the wrong way round: nothing lies between them.
        {150, 200, 100, 0},
        {250, 200, 100, 100},
    };
    for (const auto& c : cases) {
        image.setByte(372, static_cast<std::uint8_t>(c.start));
        image.setByte(375, static_cast<std::uint8_t>(c.end));
        Decode([&](FrameBuilder& b) { b.Byte(29, c.ratio); });
        EXPECT_EQ(Gauge(G::CGaugeLambda).progress, c.position)
            << c.ratio << " on " << c.start << ".." << c.end;
    }
}

TEST_F(MonitorDecoderTest, CoolantAndAirSensors) {
    struct Case {
        int coolant;
        bool extended;
        std::string text;
        C labelColour;
        C gaugeColour;
        int gauge;
        int stored;
    };
    const Case cases[] = {
        {0, false, "Coolant = error", C::Red, C::Red, 80, 180},
        {0, true, "Coolant = error = 812 mV", C::Red, C::Red, 80, 180},
        {185, false, "Coolant= 85 °C", C::ButtonFace, C::Aqua, 85, 185},
        {185, true, "Coolant = 85 °C= 812 mV", C::ButtonFace, C::Aqua, 85, 185},
        {199, false, "Coolant= 99 °C", C::ButtonFace, C::Aqua, 99, 199},
        {200, false, "Coolant= 100 °C", C::Yellow, C::Yellow, 100, 200},
        {90, false, "Coolant= -10 °C", C::ButtonFace, C::Aqua, -10, 90},
    };
    for (const auto& c : cases) {
        opts.extendedView = c.extended;
        Decode([&](FrameBuilder& b) { b.Byte(23, c.coolant).Word(60, 812); });
        EXPECT_EQ(Label(L::LabelVoda).text, c.text);
        EXPECT_EQ(Label(L::LabelVoda).colour, c.labelColour) << c.text;
        EXPECT_EQ(Gauge(G::CGaugeVoda).foreColour, c.gaugeColour) << c.text;
        EXPECT_EQ(Gauge(G::CGaugeVoda).progress, c.gauge) << c.text;
        EXPECT_EQ(result.live.coolant, c.stored) << c.text;
    }

    opts.extendedView = false;
    Decode([](FrameBuilder& b) { b.Byte(24, 0); });
    EXPECT_EQ(Label(L::LabelVzduch).text, "AT = 50 °C");
    EXPECT_EQ(Label(L::LabelVzduch).colour, C::Red);
    EXPECT_EQ(result.live.air, 0);
    opts.extendedView = true;
    Decode([](FrameBuilder& b) { b.Byte(24, 125).Word(62, 2100); });
    EXPECT_EQ(Label(L::LabelVzduch).text, "AT = 25 °C= 2100 mV");
    EXPECT_EQ(Label(L::LabelVzduch).colour, C::ButtonFace);
}

TEST_F(MonitorDecoderTest, PressureAndThrottleSensors) {
    struct Case {
        FrameSetup setup;
        bool extended;
        L label;
        std::string text;
        C colour;
    };
    const Case cases[] = {
        {[](FrameBuilder& b) { b.Word(52, 1013).Word(50, 4012); }, false, L::LabelTlak,
         "AP = 101.3 kPa", C::ButtonFace},
        {[](FrameBuilder& b) { b.Word(52, 5).Word(50, 4012).Bit(4, 2); }, true, L::LabelTlak,
         "AP =  0.5 kPa= 4012 mV", C::Red},
        {[](FrameBuilder& b) { b.Word(136, 87).Word(54, 3300); }, false, L::LabelPodtlak,
         "IAP = 87 [kPa]", C::ButtonFace},
        {[](FrameBuilder& b) { b.Word(136, 87).Word(54, 3300); }, true, L::LabelPodtlak,
         "IA P= 87 [kPa] = 3300 [mV]", C::ButtonFace},
        {[](FrameBuilder& b) { b.Word(54, 3300).Bit(4, 1); }, false, L::LabelPodtlak, "IAP = error",
         C::Red},
        {[](FrameBuilder& b) { b.Word(54, 3300).Bit(4, 1); }, true, L::LabelPodtlak,
         "IAP = error = 3300 [mV]", C::Red},
        {[](FrameBuilder& b) { b.Word(138, 456).Word(56, 2345); }, false, L::LabelTpsMon,
         "TP = 45.6 %", C::ButtonFace},
        {[](FrameBuilder& b) { b.Word(138, 456).Word(56, 2345); }, true, L::LabelTpsMon,
         "TP = 45.6 %=2345 mV", C::ButtonFace},
        {[](FrameBuilder& b) { b.Word(138, 456).Word(56, 4321).Bit(4, 0); }, false, L::LabelTpsMon,
         "TP = error = 4321 mV", C::Red},
    };
    for (const auto& c : cases) {
        opts.extendedView = c.extended;
        Decode(c.setup);
        EXPECT_EQ(Label(c.label).text, c.text);
        EXPECT_EQ(Label(c.label).colour, c.colour) << c.text;
    }
}

TEST_F(MonitorDecoderTest, ThrottleGaugeIsEmptyWhileItsSensorFails) {
    Decode([](FrameBuilder& b) { b.Word(138, 456); });
    EXPECT_EQ(Gauge(G::CGaugeTps).progress, 45);
    Decode([](FrameBuilder& b) { b.Word(138, 456).Bit(4, 0); });
    EXPECT_EQ(Gauge(G::CGaugeTps).progress, 0);
    EXPECT_EQ(result.live.tps, 456);
    EXPECT_TRUE(result.live.tpsError);
}

TEST_F(MonitorDecoderTest, SupplyVoltageThresholds) {
    struct Case {
        int mv;
        C colour;
    };
    const Case cases[] = {{18000, C::Red},
                          {17999, C::Red},
                          {17998, C::Yellow},
                          {14999, C::Yellow},
                          {14998, C::ButtonFace},
                          {12000, C::ButtonFace},
                          {11001, C::ButtonFace},
                          {11000, C::Yellow},
                          {7001, C::Yellow},
                          {7000, C::Red},
                          {0, C::Red}};
    for (const auto& c : cases) {
        Decode([&](FrameBuilder& b) { b.Word(64, c.mv); });
        EXPECT_EQ(Label(L::LabelNapeti).colour, c.colour) << c.mv;
    }
    Decode([](FrameBuilder& b) { b.Word(64, 12000); });
    EXPECT_EQ(Label(L::LabelNapeti).text, "U = 12.0 V");
    Decode([](FrameBuilder& b) { b.Word(64, 7000); });
    EXPECT_EQ(Label(L::LabelNapeti).text, "U =  7.0 V");
}

TEST_F(MonitorDecoderTest, EngineSpeedGaugeAndLimiterColour) {
    struct Case {
        int limiterBits;  // frame byte 2, bits 2..4
        C colour;
    };
    for (const Case c : {Case{0, C::ButtonFace}, Case{0x04, C::Fuchsia}, Case{0x18, C::Fuchsia},
                         Case{0x1C, C::Red}}) {
        Decode([&](FrameBuilder& b) { b.Byte(2, c.limiterBits).Word(48, 7250); });
        EXPECT_EQ(Label(L::LabelRpm).colour, c.colour) << c.limiterBits;
    }
    EXPECT_EQ(Label(L::LabelRpm).text, "RPM = 7250 ");
    EXPECT_FALSE(Gauge(G::CGaugeRpm).progressSet);  // no gauge scale in the image

    image.setByte(29, 120);
    Decode([](FrameBuilder& b) { b.Word(48, 7250); });
    EXPECT_TRUE(Gauge(G::CGaugeRpm).progressSet);
    EXPECT_EQ(Gauge(G::CGaugeRpm).progress, 60);
}

TEST_F(MonitorDecoderTest, PilotLight) {
    struct Case {
        int bike;
        int state;
        std::string text;
        C colour;
    };
    const Case cases[] = {
        {11, 0, "Gear shift light - NO", C::ButtonFace},
        {11, 2, "Gear shift light - YES", C::Fuchsia},
        {11, 1, "Gear shift light - Twinkle", C::Fuchsia},
        {38, 2, "Choke - YES", C::Fuchsia},
        {38, 200, "Choke - Twinkle", C::Fuchsia},
    };
    for (const auto& c : cases) {
        image.setByte(0, static_cast<std::uint8_t>(c.bike));
        Decode([&](FrameBuilder& b) { b.Byte(27, c.state); });
        EXPECT_EQ(Label(L::LabelMonPilotLight).text, c.text);
        EXPECT_EQ(Label(L::LabelMonPilotLight).colour, c.colour) << c.text;
    }
}

// Number formats: widths, signs, offsets and the percent and degree signs.
struct TextCase {
    FrameSetup setup;
    L label;
    std::string text;
};

const TextCase kTextCases[] = {
    {[](FrameBuilder& b) { b.Byte(14, 40); }, L::LabelMon_Jet_1A, "Injection time 1A = 4000 us"},
    {[](FrameBuilder& b) { b.Byte(21, 3); }, L::LabelMon_Jet_4B, "Injection time 4B = 300 us"},
    {[](FrameBuilder& b) { b.Byte(25, 3); }, L::LabelGear, "Gear = 3 "},
    {[](FrameBuilder& b) { b.Byte(26, 5); }, L::LabelDleTpsProcent, "Inj. according TPS =  5 %"},
    {[](FrameBuilder& b) { b.Byte(29, 147).Word(58, 450); }, L::LabelLambda, "LAMBDA = 14.7 [A/F]"},
    {[](FrameBuilder& b) { b.Word(70, 1234).Word(72, 2345); }, L::LabelMonServoIntake,
     "Intake servo = 1234 / 2345 mV"},
    {[](FrameBuilder& b) { b.Word(70, 1234).Bit(4, 4); }, L::LabelMonServoIntake,
     "Intake servo = 1234 mV/ Idle "},
    {[](FrameBuilder& b) { b.Word(66, 10).Word(68, 20); }, L::LabelMonServoExhaust,
     "Exhaust servo  = 10 / 20 mV"},
    {[](FrameBuilder& b) { b.Word(74, 2500); }, L::LabelMonPotenc, "Potentiometer = 2500 mV"},
    {[](FrameBuilder& b) { b.Word(76, 17); }, L::LabelPocetProgramovani,
     "Number of Programing = 17"},
    {[](FrameBuilder& b) { b.Word(78, 65535); }, L::LabelTest1, "Test1= 65535"},
    {[](FrameBuilder& b) { b.Word(82, 3); }, L::LabelTest3, "Test3= 3 "},
    {[](FrameBuilder& b) { b.Word(84, 4); }, L::LabelTest4, "Test4=4"},
    {[](FrameBuilder& b) { b.Word(92, 8); }, L::LabelTest8, "Test8= 8"},
    {[](FrameBuilder& b) { b.Word(96, 45); }, L::LabelMon_PolohaA, "Position A = 45 °"},
    {[](FrameBuilder& b) { b.Word(98, 400); }, L::LabelMon_PolohaB, "Position B = 400 °"},
    {[](FrameBuilder& b) { b.Word(100, 123); }, L::LabelKorVodaJet, "TW correction = 12.3 %"},
    {[](FrameBuilder& b) { b.Word(102, 5); }, L::LabelKorVzduch, "AT correction =  0.5 %"},
    {[](FrameBuilder& b) { b.Word(104, 1000); }, L::LabelKorTlak, "AP correction = 100.0 %"},
    {[](FrameBuilder& b) { b.Word(106, 0); }, L::LabelKorSytic, "Starting corr. =  0.0 %"},
    {[](FrameBuilder& b) { b.Word(108, 900); }, L::LabelKorNapeti, "U correction = -100 us"},
    {[](FrameBuilder& b) { b.Word(108, 1250); }, L::LabelKorNapeti, "U correction = 250 us"},
    {[](FrameBuilder& b) { b.Word(110, 995); }, L::LabelKorVodaIgn, "TW correction = -0.5 °"},
    {[](FrameBuilder& b) { b.Word(110, 0); }, L::LabelKorVodaIgn, "TW correction = -100.0 °"},
    {[](FrameBuilder& b) { b.Word(112, 1025); }, L::LabelKorPotencIgn,
     "Potent. correction =  2.5 °"},
    {[](FrameBuilder& b) { b.Word(114, 77); }, L::LabelKorPotencJet, "Potent. correction =  7.7 %"},
    {[](FrameBuilder& b) { b.Word(116, 180); }, L::LabelMonSpeed, "Speed = 180 [km/h]"},
    {[](FrameBuilder& b) { b.Word(118, 3210); }, L::LabelMonGearNapeti, "Gear voltage = 3210 mV"},
    {[](FrameBuilder& b) { b.Word(120, 456); }, L::LabelMonPomerRpmSpeed, "Rpm/Speed = 45.6 "},
    {[](FrameBuilder& b) { b.Word(122, 1); }, L::LabelMonPomerRpmSpeedAuto1, " 0.1 "},
    {[](FrameBuilder& b) { b.Word(132, 999); }, L::LabelMonPomerRpmSpeedAuto6, "99.9 "},
    {[](FrameBuilder& b) { b.Word(134, 985); }, L::LabelIdleKorAdv, "Idle correction = -1.5 °"},
    {[](FrameBuilder& b) { b.Word(134, 1000); }, L::LabelIdleKorAdv, "Idle correction =  0.0 °"},
    {[](FrameBuilder& b) { b.Word(140, 250); }, L::LabelKorAccJet, "Acc. corr = 25.0 %"},
    {[](FrameBuilder& b) { b.Word(142, 96); }, L::LabelMonServoPosition,
     "Step servo position = 96"},
};

TEST_F(MonitorDecoderTest, LabelTexts) {
    for (const auto& c : kTextCases) {
        Decode(c.setup);
        EXPECT_EQ(Label(c.label).text, c.text) << MonitorLabelName(c.label);
    }
}

TEST_F(MonitorDecoderTest, LiveValuesForTheRestOfTheProgram) {
    Decode([](FrameBuilder& b) {
        b.Word(48, 8123)
            .Word(138, 512)
            .Word(56, 2222)
            .Word(136, 95)
            .Byte(23, 170)
            .Byte(24, 130)
            .Byte(25, 4)
            .Byte(26, 60)
            .Byte(29, 131)
            .Word(58, 444)
            .Word(118, 3100)
            .Word(120, 77)
            .Word(94, 1234)
            .Word(148, 5782)
            .Byte(2, 0x14)
            .Byte(4, 0x0A)
            .Byte(3, 0x08);
    });
    const auto& v = result.live;
    EXPECT_EQ(v.rpm, 8123);
    EXPECT_EQ(v.tps, 512);
    EXPECT_EQ(v.tpsVoltage, 2222);
    EXPECT_EQ(v.iap, 95);
    EXPECT_EQ(v.coolant, 170);
    EXPECT_EQ(v.air, 130);
    EXPECT_EQ(v.gear, 4);
    EXPECT_EQ(v.tpsShare, 60);
    EXPECT_EQ(v.airFuel, 131);
    EXPECT_EQ(v.lambdaVoltage, 444);
    EXPECT_EQ(v.gearVoltage, 3100);
    EXPECT_EQ(v.speedRatio, 77);
    EXPECT_EQ(v.timeSinceStart, 1234);
    EXPECT_EQ(v.savingCountdown, 5782);
    EXPECT_TRUE(v.ignLimiter);
    EXPECT_FALSE(v.jetLimiter);
    EXPECT_TRUE(v.retardLimiter);
    EXPECT_FALSE(v.tpsError);
    EXPECT_TRUE(v.iapError);
    EXPECT_FALSE(v.apError);
    EXPECT_TRUE(v.outputTestLock);
    EXPECT_TRUE(v.baseAdvance);
    EXPECT_FALSE(v.statusBit);
}

TEST_F(MonitorDecoderTest, ThrottleShareFlags) {
    struct Case {
        bool statusBit;
        int share;
        bool above0;
        bool below100;
    };
    const Case cases[] = {{false, 0, false, true},   {false, 1, true, true},
                          {false, 99, true, true},   {false, 100, true, false},
                          {false, 255, true, false}, {true, 50, false, false}};
    for (const auto& c : cases) {
        Decode([&](FrameBuilder& b) { b.Bit(3, 0, c.statusBit).Byte(26, c.share); });
        EXPECT_EQ(result.live.tpsShareAbove0, c.above0) << c.share;
        EXPECT_EQ(result.live.tpsShareBelow100, c.below100) << c.share;
    }
}

TEST(MonitorNames, EveryControlNameLeadsBackToItsId) {
    std::set<std::string_view> seen;
    for (std::size_t i = 0; i < MonitorLabelNames().size(); ++i) {
        const auto name = MonitorLabelNames()[i];
        EXPECT_TRUE(seen.insert(name).second) << name;
        ASSERT_TRUE(MonitorLabelByName(name).has_value()) << name;
        EXPECT_EQ(static_cast<std::size_t>(*MonitorLabelByName(name)), i);
    }
    for (std::size_t i = 0; i < MonitorGaugeNames().size(); ++i) {
        const auto name = MonitorGaugeNames()[i];
        ASSERT_TRUE(MonitorGaugeByName(name).has_value()) << name;
        EXPECT_EQ(static_cast<std::size_t>(*MonitorGaugeByName(name)), i);
    }
    EXPECT_EQ(MonitorLabelName(L::LabelMon_Jet_1A), "LabelMon_Jet_1A");
    EXPECT_EQ(MonitorGaugeName(G::CGaugeDuty), "CGaugeDuty");
    EXPECT_FALSE(MonitorLabelByName("LabelSpojeni").has_value());

    MonitorResult r;
    r.label(L::LabelRpm).text = "RPM = 1 ";
    ASSERT_NE(r.label("LabelRpm"), nullptr);
    EXPECT_EQ(r.label("LabelRpm")->text, "RPM = 1 ");
    EXPECT_EQ(r.gauge("CGaugeRpm"), &r.gauge(G::CGaugeRpm));
    EXPECT_EQ(r.label("NoSuchLabel"), nullptr);
}

}  // namespace
}  // namespace kestrin

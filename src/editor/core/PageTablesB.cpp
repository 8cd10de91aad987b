// Idle, N2O, Race, Gear, Ladeni and Monitor pages, and the map pages' extra parameters.
#include <vector>

#include "editor/core/PageTables.h"
#include "model/FieldTable.h"

namespace kestrin::editor {
namespace {

// clang-format off
constexpr ControlDef kIdleMode[] = {
    Radio("RadioGroupIdleMode", "Idle control",
          "No|Intake servo|Step motor without potentiometer|Step motor set TPS min", 0, 0),
};
constexpr ControlDef kIdleReg[] = {
    Check("CheckBoxIdleSmerReg", "Inverze direction of regulation", 0, 0).Span(1, 2),
    Labelled("UpDownIdleRpmMez", 1, 1, 300, 20000, 100, "LabelIdleRpmMez", "Control Range [rpm]")
        .Start(1000),
    Labelled("UpDownIdleTpsMez", 2, 1, 1, 100, 1, "LabelIdleTpsMez", "Control Range TPS [0.1%]")
        .Start(20),
    Labelled("UpDownIdleStepPuls", 3, 1, 250, 25000, 250, "LabelIdleStepPuls",
             "Step motor excitation[us]"),
    Labelled("UpDownIdleStepPerioda", 4, 1, 1, 250, 1, "LabelIdleStepPerioda",
             "Step motor period [ms]").Start(100),
    Labelled("UpDownIdleHyster", 5, 1, 0, 2500, 10, "LabelIdleHyster", "Hysteresis [rpm]")
        .Start(2500),
    Labelled("UpDownIdleStart", 6, 1, 0, 30000, 10, "LabelIdleStart", "Idle start [ms]")
        .Start(100),
    Label("LabelIdleModeErr", "", 7, 0).Span(1, 2).Warning(),
};
constexpr ControlDef kIdleServoPoz[] = {
    Label("LabelIdleServoTeplota", kSensorTemperatures, 0, 0).Array(9),
    UpDown("UpDownIdleServoPoz", 0, 1, 0, 12000, 50).Array(9).Start(1000),
    Plain(Ctl::SpinButton, "CSpinButtonIdle", "", 9, 1),
};
constexpr ControlDef kIdleAdv[] = {
    Check("CheckBoxIdleAdvOn", "Advance control of idle", 0, 0).Span(1, 2),
    Labelled("UpDownIdleAdvNaRpm", 1, 1, 1, 100, 1, "LabelIdleAdvNaRpm",
             "Advance control[°/1000rpm]").Start(100),
    Labelled("UpDownIdleAdvNaCas", 2, 1, 0, 250, 1, "LabelIdleAdvNaCas",
             "Regulace advance [°/10s]").Start(100),
    Labelled("UpDownIdleMaxAdv", 3, 1, 1, 100, 1, "LabelIdleMaxAdv", "Maximal advance [°]")
        .Start(100),
};
constexpr ControlDef kIdleAdvPoz[] = {
    Label("LabelIdleAdvTeplota", kSensorTemperatures, 0, 0).Array(9),
    UpDown("UpDownIdleAdvPoz", 0, 1, 0, 12000, 50).Array(9).Start(1000),
};

constexpr ControlDef kGasEnable[] = {
    Check("CheckBoxGas", "N2O enabled", 0, 0).EnterCommits(),
};
constexpr ControlDef kGas[] = {
    Labelled("UpDownGas1", 0, 1, 0, 100, 1, "LabelGas1", "N2O initial [%]"),
    Labelled("UpDownGas2", 1, 1, 0, 100, 1, "LabelGas2", "N2O final [%]"),
    Labelled("UpDownGasT", 2, 1, 0, 25500, 100, "LabelGasT", "Build up time [ms]"),
    Labelled("UpDownGasD", 3, 1, 0, 25500, 100, "LabelGasD", "Delay [ms]").Start(100),
    Labelled("UpDownGasJetKor1", 4, 1, 100, 350, 1, "LabelGasJetKor1",
             "Correction Inj. initial [%]").Start(300),
    Labelled("UpDownGasJetKor2", 5, 1, 100, 350, 1, "LabelGasJetKor2",
             "Correction Inj. final [%]").Start(250),
};
constexpr ControlDef kRetard[] = {
    Labelled("UpDownRetard1", 0, 1, 0, 25, 1, "LabelRetard1", "Retard initial [°]"),
    Labelled("UpDownRetard2", 1, 1, 0, 25, 1, "LabelRetard2", "Retard final [°]"),
    Labelled("UpDownRetardT", 2, 1, 0, 25500, 100, "LabelRetardT", "Build up time [ms]"),
    Labelled("UpDownRetardD", 3, 1, 0, 25500, 100, "LabelRetardD", "Delay [ms]").Start(100),
};

constexpr ControlDef kClutch[] = {
    Label("LabelPilotLight", "Gear shift light [rpm]", 0, 1).Span(1, 2),
    Label("LabelClutchTime", "Clutch master time [ms]", 0, 3),
    Label("LabelClutchPause", "Clutch master pause [ms]", 0, 4),
    Label("LabelRaceGear", "0-1 |2|3|4|5|6", 1, 0).Numbered(6, 1),
    UpDown("UpDownPilotLight1", 1, 1, 900, 25000, 100).Array(6).Start(15000),
    UpDown("UpDownPilotLight2", 1, 2, 900, 25000, 100).Array(6).Start(15000),
    UpDown("UpDownClutchTime", 1, 3, 0, 1250, 5).Array(6),
    UpDown("UpDownClutchPause", 1, 4, 0, 2500, 100).Array(6),
};
constexpr ControlDef kClutchMaster[] = {
    Radio("RadioGroupClutchMode", "Clutch mode", "No ignition|Retard", 0, 0).Columns(2)
        .Span(1, 2),
    Labelled("UpDownClutchMinRpm", 1, 1, 1000, 25000, 100, "LabelClutchMinRpm",
             "Min Rpm for Clutch"),
    Labelled("UpDownClutchJet", 2, 1, 0, 100, 1, "LabelClutchJet", "Clutch Inj. [%]")
        .Start(100),
    Labelled("UpDownClutchAdv", 3, 1, 0, 60, 1, "LabelClutchAdv", "Clutch advance [°]")
        .Start(60),
};
constexpr ControlDef kDisplay[] = {
    Check("CheckBoxTempDisplay", "Temperature instead of speed", 0, 0).EnterCommits(),
};

constexpr ControlDef kGearSystem[] = {
    Radio("RadioGroupGearSystem", "Determining of gear",
          "Voltage|Ration Rpm Speed|Automatic (Ratio Rpm Speed)|No", 0, 0).Span(1, 2),
    Labelled("UpDownPocetGear", 1, 1, 1, 6, 1, "LabelPocetGear", "Number of gears").Start(3),
};
constexpr ControlDef kNapetiProGear[] = {
    Label("LabelGear", "Gear 0|Gear 1|Gear 2|Gear 3|Gear 4|Gear 5|Gear 6", 0, 0).Numbered(7, 0),
    UpDown("UpDownGearNapeti", 0, 1, 0, 5000).Array(7),
    Button("ButtonGear", "<- Gear 0|<- Gear 1|<- Gear 2|<- Gear 3|<- Gear 4|<- Gear 5|<- Gear 6",
           0, 2).Numbered(7, 0),
};
constexpr ControlDef kRpmSpeedProGear[] = {
    Label("LabelPomerRpmSpeed", "Gear 1|Gear 2|Gear 3|Gear 4|Gear 5|Gear 6", 0, 0)
        .Numbered(6, 1),
    UpDown("UpDownGearPomer", 0, 1, 1, 32000).Array(6),
};
constexpr ControlDef kMonAutoGear[] = {
    Labelled("UpDownGearAutoTime", 0, 1, 1, 100, 1, "LabelGearAutoTime", "Min Time [s]")
        .Start(100),
    Labelled("UpDownGearAutoRpm", 1, 1, 300, 25000, 100, "LabelGearAutoRpm", "Min Rpm")
        .Start(1000),
    Labelled("UpDownGearAutoTps", 2, 1, 0, 100, 1, "LabelGearAutoTps", "Min TPS [%]").Start(100),
    Labelled("UpDownGearAutoBand", 3, 1, 1, 100, 1, "LabelGearAutoBand", "Zone [0.1%]")
        .Start(100),
};
constexpr ControlDef kPulsuProSpeed[] = {
    Radio("RadioGroupSpeedMode", "", "Pulse over 1s for 100 km/h|Distance for pulse [mm]", 0, 0)
        .Span(1, 2),
    Labelled("UpDownPulsuProSpeed", 1, 1, 1, 32000, 1, "LabelPulsuProSpeed", "Value")
        .Start(3000),
};
constexpr ControlDef kGearKor[] = {
    Label("LabelGearKorAdv", "Advance [°]", 0, 1),
    Label("LabelGearKorJet", "Inj. [%]", 0, 2),
    Label("LabelGearKor", "0-1 |2|3|4|5|6", 1, 0).Numbered(6, 1),
    UpDown("UpDownGearKorAdv", 1, 1, -20, 20).Array(6),
    UpDown("UpDownGearKorJet", 1, 2, 0, 250).Array(6),
};

// The step and the largest acceleration correction are single bytes without scaling: their
// up-downs stop at 255.
constexpr ControlDef kLadeni[] = {
    Label("LabelLadeniCaution", "Caution - For experienced user only!", 0, 0).Span(1, 2)
        .Warning(),
    Check("CheckBoxLadeniPovoleno", "Tunning on", 1, 0).Span(1, 2).Unbound(),
    Radio("RadioGroupLadeniMode", "Tunning mode", "Points|All", 2, 0).Columns(2).Span(1, 2)
        .WrittenByHandler(),
    Labelled("UpDownLadeniLambda", 3, 1, 100, 200, 1, "LabelLadeniLambda", "A/F [x10]")
        .Start(200),
    Labelled("UpDownLadeniHyster", 4, 1, 0, 50, 1, "LabelLadeniHyster", "A/F tolerance [x10]")
        .Start(50),
    Labelled("UpDownLadeniRpm", 5, 1, 10, 2000, 10, "LabelLadeniRpm", "Rpm tolerance")
        .Start(100),
    Labelled("UpDownLadeniTps", 6, 1, 1, 20, 1, "LabelLadeniTps", "Tps, Iap tolerance").Start(2),
    Labelled("UpDownLadeniCas", 7, 1, 10, 2500, 10, "LabelLadeniCas", "Step time [ms]")
        .Start(100),
    Labelled("UpDownLadeniKrok", 8, 1, 1, 255, 1, "LabelLadeniKrok", "Step [%]").Start(100),
    Labelled("UpDownLadeniKanal", 9, 1, 1, 4, 1, "LabelLadeniKanal", "Channel"),
    Labelled("UpDownLadeniMaxAcc", 10, 1, 0, 255, 1, "LabelMaxAcc", "Max Acc Kor. [%]")
        .Start(100),
};
constexpr ControlDef kTestJet[] = {
    Button("ButtonTestJet1A", "Injector 1A", 0, 0), Button("ButtonTestJet2A", "Injector 2A", 0, 1),
    Button("ButtonTestJet3A", "Injector 3A", 0, 2), Button("ButtonTestJet4A", "Injector 4A", 0, 3),
    Button("ButtonTestJet1B", "Injector 1B", 1, 0), Button("ButtonTestJet2B", "Injector 2B", 1, 1),
    Button("ButtonTestJet3B", "Injector 3B", 1, 2), Button("ButtonTestJet4B", "Injector 4B", 1, 3),
};
constexpr ControlDef kTestIgn[] = {
    Button("ButtonTestIgn", "Ignition 1|Ignition 2|Ignition 3|Ignition 4", 0, 0)
        .Numbered(4, 1).Across(),
};
constexpr ControlDef kTestSmes[] = {
    Button("ButtonTestPilotLight", "Pilot light", 0, 0),
    Button("ButtonTestFuelPump", "Fuel pump", 0, 1),
    Button("ButtonTestCooling", "Cooling", 0, 2),
    Button("ButtonTestGas", "Gas", 0, 3),
};
constexpr ControlDef kTestRpm[] = {
    Button("ButtonTestRpm", "Rpm", 0, 0),
    UpDown("UpDownTestRpm", 0, 1, 200, 25000, 100).Start(25000),
};
constexpr ControlDef kTestServo[] = {
    Button("ButtonTestServoInPlus", "Intake servo plus", 0, 0),
    Button("ButtonTestServoInMinus", "Intake servo minus", 0, 1),
    Button("ButtonTestServoExPlus", "Exhaust servo plus", 1, 0),
    Button("ButtonTestServoExMinus", "Exhaust servo minus", 1, 1),
    Labelled("UpDownTestServo", 2, 1, 10, 2500, 10, "LabelTestServo", "Time [ms]").Start(500),
};

constexpr ControlDef kLambdaBar[] = {
    Label("LabelLambdaBar", "Beginning|1/3|2/3|Ending", 0, 0).Numbered(4, 0).Across(),
    UpDown("UpDownLambdaBar", 1, 0, 100, 200).Numbered(4, 0).Across()
        .Start4(100, 100, 200, 200),
};

constexpr GroupDef kGroups[] = {
    {"", "", kPageVolnobeh, 0, kIdleMode},
    {"GroupBoxIdleReg", "Regulation", kPageVolnobeh, 0, kIdleReg},
    {"GroupBoxIdleServoPoz", "Min position [%]", kPageVolnobeh, 1, kIdleServoPoz},
    {"GroupBoxIdleAdv", "Advance control", kPageVolnobeh, 2, kIdleAdv},
    {"GroupBoxIdleAdvPoz", "Desired RPM", kPageVolnobeh, 3, kIdleAdvPoz},

    {"", "", kPageN2O, 0, kGasEnable},
    {"GroupBoxGas", "N2O", kPageN2O, 0, kGas},
    {"GroupBoxRetard", "Retard", kPageN2O, 1, kRetard},

    {"GroupBoxClutch", "Gear shift light and clutch master by gear", kPageRace, 0, kClutch},
    {"GroupBoxClutchMaster", "Clutch master", kPageRace, 1, kClutchMaster},
    {"GroupBoxDisplay", "Display on Bike", kPageRace, 1, kDisplay},

    {"", "", kPageGear, 0, kGearSystem},
    {"GroupBoxNapetiProGear", "Voltage of gears", kPageGear, 1, kNapetiProGear},
    {"GroupBoxRpmSpeedProGear", "Ration Rpm/Speed", kPageGear, 2, kRpmSpeedProGear},
    {"GroupBoxMonAutoGear", "Automatic from ratio rpm speed", kPageGear, 2, kMonAutoGear},
    {"GroupBoxPulsuProSpeed", "Setting of speedometer", kPageGear, 3, kPulsuProSpeed},
    {"GroupBoxGearKor", "Corrections by gear", kPageGear, 3, kGearKor},

    {"GroupBoxLadeni", "Tunning", kPageLadeni, 0, kLadeni},
    {"GroupBoxTestOut", "Test Outs", kPageLadeni, 1, {}},
    {"GroupBoxTestJet", "Injectors", kPageLadeni, 0, kTestJet, "GroupBoxTestOut"},
    {"GroupBoxTestIgn", "Ignition", kPageLadeni, 1, kTestIgn, "GroupBoxTestOut"},
    {"GroupBoxTestSmes", "Outputs", kPageLadeni, 2, kTestSmes, "GroupBoxTestOut"},
    {"GroupBoxTestRpm", "Rpm", kPageLadeni, 3, kTestRpm, "GroupBoxTestOut"},
    {"GroupBoxTestServo", "Servo", kPageLadeni, 4, kTestServo, "GroupBoxTestOut"},

    {"GroupBoxLambdaBar", "Setting of Lambda bar graph", kPageMonitor, 0, kLambdaBar},
};

// The Inj-IAP cylinder corrections are single bytes without scaling: they stop at 255.
constexpr MapParDef kMapPars[] = {
    {kPageAdvance, "CheckBoxTps_Uni"},
    {kPageAdvance, "UpDownMapPar[0]", -15, 15, 1},
    {kPageAdvance, "UpDownMapPar[1]", -15, 15, 1},
    {kPageAdvance, "UpDownMapPar[2]", -15, 15, 1},
    {kPageAdvance, "UpDownMapPar[3]", -15, 15, 1},
    {kPageAdvance, "UpDownMapPar[4]", 0, 100, 1},
    {kPageAdvance, "UpDownMapPar[5]", 0, 100, 1},
    {kPageInj1A, "UpDownMapPar[0]", 0, 101, 1},
    {kPageInj1A, "UpDownMapPar[1]", 0, 101, 1},
    {kPageInj1A, "UpDownMapPar[2]", 0, 25000, 100},
    {kPageInj1A, "UpDownMapPar[3]", 0, 25000, 100},
    {kPageInjIap, "UpDownMapPar[0]", 0, 255, 1},
    {kPageInjIap, "UpDownMapPar[1]", 0, 255, 1},
    {kPageInjIap, "UpDownMapPar[2]", 0, 255, 1},
    {kPageInjIap, "UpDownMapPar[3]", 0, 255, 1},
    {kPageIntakeServo, "UpDownMapPar[0]", 0, 1000, 5},
    {kPageIntakeServo, "CheckBoxServoEnable"},
    {kPageIntakeServo, "CheckBoxProcenta"},
    {kPageIntakeServo, "RadioGroupServoMode"},
    {kPageIntakeServo, "CheckBoxStepMotor"},
    {kPageIntakeServo, "UpDownMapPar[2]", 1, 100, 1},
    {kPageIntakeServo, "UpDownMapPar[3]", 250, 25000, 250},
    {kPageExhaustServo, "UpDownMapPar[0]", 0, 1000, 5},
    {kPageExhaustServo, "CheckBoxServoEnable"},
    {kPageExhaustServo, "CheckBoxProcenta"},
    {kPageExhaustServo, "RadioGroupServoMode"},
};
// clang-format on

}  // namespace

std::span<const GroupDef> SettingsGroupsB() {
    return kGroups;
}

std::span<const GroupDef> SettingsGroups() {
    static const std::vector<GroupDef> all = [] {
        std::vector<GroupDef> v(SettingsGroupsA().begin(), SettingsGroupsA().end());
        v.insert(v.end(), SettingsGroupsB().begin(), SettingsGroupsB().end());
        return v;
    }();
    return all;
}

std::span<const MapParDef> MapPars() {
    return kMapPars;
}

}  // namespace kestrin::editor

// Bike, Poloha, Korekce and Cidla pages.
#include "editor/core/PageTables.h"

#include "model/FieldTable.h"

namespace kestrin::editor {
namespace {

// clang-format off
constexpr ControlDef kBike[] = {
    Plain(Ctl::BikeList, "ComboBoxBike", "", 0, 0).Span(1, 2),
    Check("CheckBoxProgHned", "Programming after change", 1, 0).Span(1, 2).Unbound()
        .Hint("Programing at once after change"),
    Label("LabelMemo", "Memo sheet:", 2, 0).Span(1, 2),
    Plain(Ctl::Note, "Memo1", "", 3, 0).Span(1, 2),
};
constexpr ControlDef kInputs[] = {
    Check("CheckBoxFallEnable", "Fall sensor enable", 0, 0),
    Check("CheckBoxBlokEnable", "Blocking enable", 1, 0),
};
constexpr ControlDef kActivation[] = {
    Check("CheckBoxAktFall", "Fall sensor", 0, 0),
    Check("CheckBoxAktClutch", "Clutch master", 1, 0),
    Check("CheckBoxAktStartLimiter", "Start limiter", 2, 0),
    Check("CheckBoxAktRpm", "Tacho / Lambda", 3, 0),
};
constexpr ControlDef kOmez[] = {
    Labelled("UpDownStartLimiter1", 0, 1, 900, 25000, 100, "LabelStartLimiter1",
             "Start limiter 1 [rpm]").Start(25000),
    Labelled("UpDownStartLimiter2", 1, 1, 900, 25000, 100, "LabelStartLimiter2",
             "Start limiter 2 [rpm]").Start(25000),
    Labelled("UpDownIgnLimiter", 2, 1, 900, 25000, 100, "LabelIgnLimiter",
             "Ignition limiter [rpm]").Start(25000),
    Labelled("UpDownJetLimiter", 3, 1, 900, 25000, 100, "LabelJetLimiter",
             "Injection limiter [rpm]").Start(25000),
    Labelled("UpDownRetardLimiterRpm", 4, 1, 900, 25000, 100, "LabelRetardLimiterRpm",
             "Retard limiter [rpm]").Start(25000),
    Labelled("UpDownRetardLimiterAdv", 5, 1, 1, 250, 1, "LabelRetardLimiterAdv",
             "Retard [°/100rpm]").Start(250),
};
constexpr ControlDef kRpm[] = {
    Labelled("UpDownRpmPulsu", 0, 1, 0, 6, 1, "LabelRpmPulsu", "Pulses per revolution").Start(1),
    Labelled("UpDownRpmKorekce", 1, 1, -60, 60, 1, "LabelRpmKorekce", "Correction").Start(0),
};
constexpr ControlDef kChlazeni[] = {
    Labelled("UpDownChlazeni", 0, 1, 0, 150, 1, "LabelChlazeni", "Switch on at [°C]"),
};
constexpr ControlDef kIntakePort[] = {
    Labelled("UpDownIntakePortRpm", 0, 1, 900, 25000, 100, "LabelIntakePortRpm", "Rpm"),
};
constexpr ControlDef kLambdaTacho[] = {
    Label("LabelLambdaTachoAf", "A/F [x10]", 0, 1),
    Label("LabelLambdaTachoRpm", "Rpm", 0, 2),
    Label("LabelLambdaTachoBod", "1|2", 1, 0).Array(2),
    UpDown("UpDownLambdaTachoAf", 1, 1, 100, 200).Array(2),
    UpDown("UpDownLambdaTachoRpm", 1, 2, 0, 25000, 100).Array(2),
};

constexpr ControlDef kPolohaA[] = {
    Radio("RadioGroupPolohaA", "Position of:", "Beginning|Centre|End", 2, 0).Columns(3)
        .Span(1, 8),
    Check("CheckBoxAll_PolohaA", "All", 2, 13).Span(1, 2).Unbound(),
    Plain(Ctl::SpinButton, "CSpinButtonPolohaA", "", 2, 15),
    Label("LabelPolohaA_1", "Rpm", 0, 0),
    Label("LabelPolohaA_2", "Angle [°]", 1, 0),
    UpDown("UpDownPolohaA_Rpm", 0, 1, 300, 25000, 100).Array(15).Across(),
    UpDown("UpDownPolohaA_Deg", 1, 1, 0, 720, 5).Array(15).Across(),
};
constexpr ControlDef kPolohaB[] = {
    Radio("RadioGroupPolohaB", "Position of:", "Beginning|Centre|End", 2, 0).Columns(3)
        .Span(1, 8),
    Check("CheckBoxAll_PolohaB", "All", 2, 13).Span(1, 2).Unbound(),
    Plain(Ctl::SpinButton, "CSpinButtonPolohaB", "", 2, 15),
    Label("LabelPolohaB_1", "Rpm", 0, 0),
    Label("LabelPolohaB_2", "Angle [°]", 1, 0),
    UpDown("UpDownPolohaB_Rpm", 0, 1, 300, 25000, 100).Array(15).Across(),
    UpDown("UpDownPolohaB_Deg", 1, 1, 0, 720, 5).Array(15).Across(),
};

constexpr std::string_view kKorTemperatures = "-10 °C|20 °C|50 °C|80 °C|110 °C";
constexpr ControlDef kKorVodaVzduch[] = {
    Label("LabelVoda2", "Coolant", 0, 1),
    Label("LabelVzduch2", "Inlet Air", 0, 2),
    Label("LabelKorTeplota", kKorTemperatures, 1, 0).Array(5),
    UpDown("UpDownKorVoda", 1, 1, 10, 250).Array(5),
    UpDown("UpDownKorVzduch", 1, 2, 10, 250).Array(5),
};
constexpr ControlDef kIgnVoda[] = {
    Label("LabelVoda3", "Coolant", 0, 1),
    Label("LabelIgnTeplota", kKorTemperatures, 1, 0).Array(5),
    UpDown("UpDownIgnVoda", 1, 1, -20, 20).Array(5),
};
constexpr ControlDef kSytic[] = {
    Label("LabelSyticCas", "Time [s]", 0, 0),
    Label("LabelSyticKorekce", "Corrections for -10°C [%]", 1, 0),
    UpDown("UpDownSyticCas", 0, 1, 0, 250).Numbered(4, 1).Across().Start4(5, 10, 15, 20),
    UpDown("UpDownSyticKorekce", 1, 1, 100, 350).Numbered(4, 0).Across()
        .Start4(300, 250, 200, 150),
};
constexpr ControlDef kAkcel[] = {
    Labelled("UpDownAkcelPrah", 0, 1, 10, 2500, 10, "LabelAkcelPrah", "Threshold [%/s]")
        .Start(100),
    Labelled("UpDownAkcelJet", 1, 1, 0, 7500, 50, "LabelAkcelJet", "Size [us]").Start(90),
};
constexpr ControlDef kStartJet[] = {
    Labelled("UpDownStartJet", 0, 1, 0, 50, 1, "LabelStartJet", "Time [ms]"),
};
constexpr ControlDef kAccK[] = {
    Labelled("UpDownAccKPlus", 0, 1, 0, 30000, 1, "LabelAccKPlus", "Sensitivity + [%/100%]"),
    Labelled("UpDownAccKMinus", 1, 1, 0, 30000, 1, "LabelAccKMinus", "Sensitivity - [%/100%]"),
    Labelled("UpDownAccT100", 2, 1, 10, 30000, 10, "LabelAccT100",
             "Time constant TPS 100% [10ms]").Start(1000),
    Labelled("UpDownAccT0", 3, 1, 10, 30000, 10, "LabelAccT0",
             "Time constant by TPS 0% [10ms]").Start(5000),
};

constexpr ControlDef kTps[] = {
    Labelled("UpDownTps0", 0, 1, 0, 2500, 10, "LabelTps0", "TPS 0 % [mV]").Start(300),
    Button("ButtonTps0", "<- TPS 0 %", 0, 2),
    Labelled("UpDownTps100", 1, 1, 2500, 5000, 10, "LabelTps100", "TPS 100 % [mV]"),
    Button("ButtonTps100", "<- TPS 100 %", 1, 2),
};
constexpr ControlDef kAps[] = {
    Labelled("UpDownApsTlak1", 0, 1, 0, 1000, 1, "LabelApsTlak1", "Pressure 1 [kPa]").Start(10),
    Labelled("UpDownApsNapeti1", 1, 1, 0, 25000, 1, "LabelApsNapeti1", "Voltage 1 [mV]")
        .Start(500),
    Labelled("UpDownApsTlak2", 2, 1, 0, 1000, 1, "LabelApsTlak2", "Pressure 2 [kPa]").Start(100),
    Labelled("UpDownApsNapeti2", 3, 1, 0, 25000, 1, "LabelApsNapeti2", "Voltage 2 [mV]")
        .Start(4500),
};
constexpr ControlDef kIaps[] = {
    Labelled("UpDownIapsTlak1", 0, 1, 0, 1000, 1, "LabelIapsTlak1", "Pressure 1 [kPa]").Start(10),
    Labelled("UpDownIapsNapeti1", 1, 1, 0, 25000, 1, "LabelIapsNapeti1", "Voltage 1 [mV]")
        .Start(500),
    Labelled("UpDownIapsTlak2", 2, 1, 0, 1000, 1, "LabelIapsTlak2", "Pressure 2 [kPa]")
        .Start(100),
    Labelled("UpDownIapsNapeti2", 3, 1, 0, 25000, 1, "LabelIapsNapeti2", "Voltage 2 [mV]")
        .Start(4500),
};
constexpr ControlDef kCidloTeplota[] = {
    Label("LabelVoda1", "Water", 0, 1),
    Label("LabelVzduch1", "Air", 0, 2),
    Label("LabelCidloTeplota", kSensorTemperatures, 1, 0).Array(9),
    UpDown("UpDownCidloVoda", 1, 1, 0, 5000).Array(9),
    UpDown("UpDownCidloVzduch", 1, 2, 0, 5000).Array(9),
};
constexpr ControlDef kCidloLambda[] = {
    Radio("RadioGroupCidloLambdaMode", "Type", "Standard|Uego", 0, 0).Columns(2).Span(1, 3),
    Label("LabelCidloLambdaAf", "A/F [x10]", 1, 1),
    Label("LabelCidloLambdaNap", "Voltage [mV]", 1, 2),
    Label("LabelCidloLambdaBod", "1|2|3|4|5", 2, 0).Array(5),
    UpDown("UpDownCidloLambdaAf", 2, 1, 100, 200).Array(5),
    UpDown("UpDownCidloLambdaNap", 2, 2, 0, 5000).Array(5),
};
constexpr ControlDef kPotenc[] = {
    Radio("RadioGroupPotencMode", "", "No|Injection|Advance|Start Limiter", 0, 0).Span(1, 2),
    Labelled("UpDownPotencRozsah", 1, 1, 0, 60, 1, "LabelPotencRozsah", "Range -,+ [%, °]"),
};

constexpr GroupDef kGroups[] = {
    {"GroupBoxBike", "Motorbike type", kPageBike, 0, kBike},
    {"GroupBoxInputs", "Inputs", kPageBike, 0, kInputs},
    {"GroupBoxActivation", "Activation by Switch on", kPageBike, 0, kActivation, {},
     "Checked items means activation by closing to ground"},
    {"GroupBoxOmez", "Limiters", kPageBike, 1, kOmez},
    {"GroupBoxRpm", "Rpm signal", kPageBike, 1, kRpm},
    {"GroupBoxChlazeni", "Cooling", kPageBike, 1, kChlazeni},
    {"GroupBoxIntakePort", "Intake ports", kPageBike, 2, kIntakePort},
    {"GroupBoxLambdaTacho", "Tacho / Lambda output", kPageBike, 2, kLambdaTacho},

    {"GroupBoxPolohaA", "Position of Injection A", kPagePoloha, 0, kPolohaA},
    {"GroupBoxPolohaB", "Position of Injection B", kPagePoloha, 0, kPolohaB},

    {"GroupBoxKorVodaVzduch", "Temperature corrections of injection [%]", kPageKorekce, 0,
     kKorVodaVzduch},
    {"GroupBoxIgnVoda", "Temperature corrections of advance [°]", kPageKorekce, 0, kIgnVoda},
    {"GroupBoxSytic", "Starting Corrections [%]", kPageKorekce, 1, kSytic},
    {"GroupBoxAkcel", "Acceleration Injection", kPageKorekce, 1, kAkcel},
    {"GroupBoxStartJet", "Start Injection", kPageKorekce, 1, kStartJet},
    {"GroupBoxAccK", "Acceleration inj. correction", kPageKorekce, 2, kAccK},

    {"GroupBoxTps", "Throttle sensor", kPageCidla, 0, kTps},
    {"GroupApsSensor", "Pressure sensor - AP", kPageCidla, 0, kAps},
    {"GroupIapsSensor", "Intake pressure sensor - IAP", kPageCidla, 0, kIaps},
    {"GroupBoxCidloTVodaVzduch", "Characteristic of temperature sensors [mV]", kPageCidla, 1,
     kCidloTeplota},
    {"GroupBoxCidloLambda", "Lambda sensor", kPageCidla, 2, kCidloLambda},
    {"GroupBoxPotenc", "Potentiometer", kPageCidla, 2, kPotenc},
};
// clang-format on

}  // namespace

std::span<const GroupDef> SettingsGroupsA() {
    return kGroups;
}

std::string ElementName(const ControlDef& def, int element) {
    std::string name(def.name);
    if (def.count == 0) return name;
    if (def.numberedFrom >= 0) return name + std::to_string(def.numberedFrom + element);
    return name + "[" + std::to_string(element) + "]";
}

std::string EditNameOf(std::string_view upDownName) {
    constexpr std::string_view prefix = "UpDown";
    if (upDownName.substr(0, prefix.size()) != prefix) return std::string(upDownName);
    return "Edit" + std::string(upDownName.substr(prefix.size()));
}

std::string_view ListItem(std::string_view list, int i) {
    for (int k = 0; k < i; ++k) {
        const auto bar = list.find('|');
        if (bar == std::string_view::npos) return {};
        list.remove_prefix(bar + 1);
    }
    return list.substr(0, list.find('|'));
}

int ListCount(std::string_view list) {
    if (list.empty()) return 0;
    int n = 1;
    for (char c : list)
        if (c == '|') ++n;
    return n;
}

}  // namespace kestrin::editor

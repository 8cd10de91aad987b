#include "model/FieldTable.h"

#include <iterator>

namespace kestrin {
namespace {

using K = FieldKind;

constexpr Conversion x(int scale) {
    return {scale, 0};
}
constexpr Conversion plus(int offset) {
    return {1, offset};
}
constexpr Conversion kPlain{};
constexpr Conversion kSigned = plus(-100);

// Builds one table row; the modifiers fill the members that only some rows need.
struct Row {
    Field f;

    constexpr Row Ctl(std::string_view name) const { return Named(name, ControlForm::Single, 0); }
    constexpr Row Numbered(std::string_view name, int first) const {
        return Named(name, ControlForm::Numbered, first);
    }
    constexpr Row Indexed(std::string_view name, int first = 0) const {
        return Named(name, ControlForm::Indexed, first);
    }
    constexpr Row FileAsStored() const {
        Row r = *this;
        r.f.file = kPlain;
        return r;
    }
    constexpr Row OlderFiles(int upToVersion, Conversion c) const {
        Row r = *this;
        r.f.olderFilesUpTo = upToVersion;
        r.f.olderFiles = c;
        return r;
    }
    constexpr Row Named(std::string_view name, ControlForm form, int first) const {
        Row r = *this;
        r.f.control = name;
        r.f.controlForm = form;
        r.f.controlFirst = first;
        return r;
    }
    constexpr operator Field() const { return f; }
};

constexpr Row Make(int first, int count, Width width, K kind, Conversion c,
                   std::string_view section, int page, std::string_view meaning) {
    Field f;
    f.first = first;
    f.count = count;
    f.width = width;
    f.kind = kind;
    f.editor = c;
    f.file = c;
    f.section = section;
    f.page = page;
    f.meaning = meaning;
    return {f};
}

// count bytes from image byte `first`.
constexpr Row B(int first, int count, K kind, Conversion c, std::string_view section, int page,
                std::string_view meaning) {
    return Make(first, count, Width::Byte, kind, c, section, page, meaning);
}
// count words from image word `word`.
constexpr Row W(int word, int count, std::string_view section, int page, std::string_view meaning) {
    return Make(2 * word, count, Width::Word, K::Value, kPlain, section, page, meaning);
}
constexpr Row Reserved(int first, int count) {
    return B(first, count, K::Reserved, kPlain, {}, kNoPage, "reserved");
}
constexpr Row Constant(int first, int count, std::string_view meaning, Conversion c = kPlain) {
    return B(first, count, K::EngineConstant, c, {}, kNoPage, meaning);
}
constexpr Row Axis(int first, std::string_view section, int page, std::string_view meaning) {
    return B(first, kMapColumns, K::RpmAxis, x(100), section, page, meaning).Indexed("EditMapRpm");
}
constexpr Row Map(int first, Width width, int axisByte, std::string_view section, int page,
                  std::string_view meaning) {
    Row r = Make(first, kMapCells, width, K::MapCells, kPlain, section, page, meaning)
                .Named("EditMapCell", ControlForm::Cells, 0);
    r.f.axisByte = axisByte;
    return r;
}
// Servo maps: percent (x 1) when the flag byte is set, raw steps (x 20) when it is clear.
constexpr Row ServoMap(int first, int axisByte, int percentFlagByte, std::string_view section,
                       int page, std::string_view meaning) {
    Row r = Map(first, Width::Byte, axisByte, section, page, meaning);
    r.f.scaleFlagByte = percentFlagByte;
    r.f.scaleWhenFlagClear = 20;
    return r;
}
constexpr Row IapMap() {
    Row r = Map(2 * 1050, Width::Word, 555, "IAP", kPageInjIap,
                "injection time by intake pressure [us]");
    r.f.loadAxisWord = 192;
    return r;
}

// clang-format off
constexpr Field kFields[] = {
    // Header and engine identity.
    B(0, 1, K::BikeCode, kPlain, "BIKE", kPageBike, "bike code").Ctl("ComboBoxBike"),
    Reserved(1, 1),
    Constant(2, 1, "engine type 0..26, derived from the bike code"),
    Constant(3, 3, "engine constants derived from the bike code"),
    W(3, 1, "APS_IAPS", kPageCidla, "AP sensor: pressure 1 [kPa]").Ctl("EditApsTlak1"),
    W(4, 1, "APS_IAPS", kPageCidla, "AP sensor: voltage 1 [mV]").Ctl("EditApsNapeti1"),
    W(5, 1, "APS_IAPS", kPageCidla, "AP sensor: pressure 2 [kPa]").Ctl("EditApsTlak2"),
    W(6, 1, "APS_IAPS", kPageCidla, "AP sensor: voltage 2 [mV]").Ctl("EditApsNapeti2"),
    W(7, 1, "APS_IAPS", kPageCidla, "IAP sensor: pressure 1 [kPa]").Ctl("EditIapsTlak1"),
    W(8, 1, "APS_IAPS", kPageCidla, "IAP sensor: voltage 1 [mV]").Ctl("EditIapsNapeti1"),
    W(9, 1, "APS_IAPS", kPageCidla, "IAP sensor: pressure 2 [kPa]").Ctl("EditIapsTlak2"),
    W(10, 1, "APS_IAPS", kPageCidla, "IAP sensor: voltage 2 [mV]").Ctl("EditIapsNapeti2"),

    // Inputs, limiters and basic engine settings.
    B(22, 1, K::Flag, kPlain, "INPUTS", kPageBike, "fall sensor enabled")
        .Ctl("CheckBoxFallEnable"),
    B(23, 1, K::Flag, kPlain, "INPUTS", kPageBike, "blocking input enabled")
        .Ctl("CheckBoxBlokEnable"),
    B(24, 1, K::Flag, kPlain, "INPUTS", kPageBike,
      "fall sensor input active when switched on (closed)").Ctl("CheckBoxAktFall"),
    B(25, 1, K::Flag, kPlain, "INPUTS", kPageBike, "clutch master input active when closed")
        .Ctl("CheckBoxAktClutch"),
    B(26, 1, K::Flag, kPlain, "INPUTS", kPageBike, "start limiter input active when closed")
        .Ctl("CheckBoxAktStartLimiter"),
    B(27, 1, K::Flag, kPlain, "INPUTS", kPageBike, "tacho/lambda input active when closed")
        .Ctl("CheckBoxAktRpm"),
    B(28, 1, K::Value, x(100), "LIMITER", kPageBike, "start limiter 1 [rpm]")
        .Ctl("EditStartLimiter1"),
    B(29, 1, K::Value, x(100), "LIMITER", kPageBike, "ignition limiter [rpm]")
        .Ctl("EditIgnLimiter"),
    B(30, 1, K::Value, x(100), "LIMITER", kPageBike, "injection limiter [rpm]")
        .Ctl("EditJetLimiter"),
    B(31, 1, K::Value, x(100), "LIMITER", kPageBike, "retard limiter start [rpm]")
        .Ctl("EditRetardLimiterRpm"),
    B(32, 1, K::Value, kPlain, "LIMITER", kPageBike, "retard limiter slope [deg/100 rpm]")
        .Ctl("EditRetardLimiterAdv"),
    B(33, 1, K::Value, x(10), "TPS", kPageCidla, "TPS voltage at 0 % [mV]").Ctl("EditTps0"),
    B(34, 1, K::Value, Conversion{10, 2500}, "TPS", kPageCidla, "TPS voltage at 100 % [mV]")
        .Ctl("EditTps100"),
    B(35, 1, K::Value, kPlain, "COOLING", kPageBike, "cooling output switching temperature [C]")
        .Ctl("EditChlazeni"),
    B(36, 1, K::Value, kPlain, "RPM", kPageBike, "RPM signal: pulses per revolution")
        .Ctl("EditRpmPulsu"),
    B(37, 1, K::Signed, kSigned, "RPM", kPageBike, "RPM signal correction")
        .Ctl("EditRpmKorekce"),
    B(38, 1, K::Value, x(100), "INTAKE_PORT", kPageBike,
      "intake ports (Servo 3) switching speed [rpm]").Ctl("EditIntakePortRpm"),
    B(39, 1, K::Value, x(100), "LIMITER2", kPageBike, "start limiter 2 [rpm]")
        .Ctl("EditStartLimiter2"),

    // Extra parameters of the map pages.
    B(40, 1, K::Flag, kPlain, "ADVANCE_MISC", kPageAdvance, "advance map by TPS (check box TPS)")
        .Ctl("CheckBoxTps_Uni"),
    B(41, 4, K::Signed, kSigned, "ADVANCE_MISC", kPageAdvance,
      "advance correction for cylinders 1..4 [deg]").Indexed("EditMapPar", 0),
    B(45, 1, K::Value, kPlain, "ADVANCE_MISC", kPageAdvance, "base advance [deg]")
        .Indexed("EditMapPar", 4),
    B(46, 1, K::Value, kPlain, "ADVANCE_MISC", kPageAdvance, "width of lobe [deg]")
        .Indexed("EditMapPar", 5),
    B(47, 1, K::Choice, kPlain, "JET1_MISC", kPageInj1A,
      "injector coupling mode: Normal, Coupled, 1=2=3=4").Ctl("Menu_Jet123Mode"),
    B(48, 2, K::Value, kPlain, "JET1_MISC", kPageInj1A,
      "TPS min and max [%] of the switch-over between IAP and TPS maps")
        .Indexed("EditMapPar", 0),
    B(50, 2, K::Value, x(100), "JET1_MISC", kPageInj1A,
      "RPM min and max of the switch-over between IAP and TPS maps").Indexed("EditMapPar", 2),
    B(52, 4, K::Value, kPlain, "IAP_MISC", kPageInjIap, "IAP map correction for cylinders 1..4")
        .Indexed("EditMapPar", 0),
    B(56, 1, K::Choice, kPlain, "POSITION_A", kPagePoloha,
      "position A given for: Beginning, Centre, End of injection").Ctl("RadioGroupPolohaA"),
    B(57, 1, K::Choice, kPlain, "POSITION_B", kPagePoloha,
      "position B given for: Beginning, Centre, End of injection").Ctl("RadioGroupPolohaB"),
    B(58, 1, K::Flag, kPlain, "SERVO_EX", kPageExhaustServo, "exhaust servo enabled")
        .Ctl("CheckBoxServoEnable"),
    B(59, 1, K::Flag, kPlain, "SERVO_IN", kPageIntakeServo, "intake servo enabled")
        .Ctl("CheckBoxServoEnable"),
    B(60, 1, K::Value, x(5), "SERVO_EX", kPageExhaustServo, "exhaust servo hysteresis [mV]")
        .Indexed("EditMapPar", 0),
    B(61, 1, K::Value, x(5), "SERVO_IN", kPageIntakeServo, "intake servo hysteresis [mV]")
        .Indexed("EditMapPar", 0),
    B(62, 1, K::Flag, kPlain, "SERVO_EX", kPageExhaustServo, "exhaust servo map in percent")
        .Ctl("CheckBoxProcenta"),
    B(63, 1, K::Flag, kPlain, "SERVO_IN", kPageIntakeServo, "intake servo map in percent")
        .Ctl("CheckBoxProcenta"),
    B(64, 1, K::Choice, kPlain, "SERVO_EX", kPageExhaustServo,
      "exhaust servo map mode: R + T, RPM, TPS").Ctl("RadioGroupServoMode"),
    B(65, 1, K::Choice, kPlain, "SERVO_IN", kPageIntakeServo,
      "intake servo map mode: R + T, RPM, TPS").Ctl("RadioGroupServoMode"),
    B(66, 1, K::Flag, kPlain, "SERVO_IN", kPageIntakeServo, "intake servo is a step motor")
        .Ctl("CheckBoxStepMotor"),

    // Corrections.
    B(67, 4, K::Value, kPlain, "CHOKE", kPageKorekce, "after-start correction times [s]")
        .Numbered("EditSyticCas", 1),
    B(71, 4, K::Value, plus(100), "CHOKE", kPageKorekce, "after-start corrections [%]")
        .Numbered("EditSyticKorekce", 0),
    B(75, 1, K::Choice, kPlain, "POTENTIOMETER", kPageCidla,
      "potentiometer controls: No, Injection, Advance, Start Limiter")
        .Ctl("RadioGroupPotencMode"),
    B(76, 1, K::Value, kPlain, "POTENTIOMETER", kPageCidla, "potentiometer range +- [%, deg]")
        .Ctl("EditPotencRozsah"),
    B(77, 1, K::Value, kPlain, "SERVO_IN", kPageIntakeServo, "intake servo step period [ms]")
        .Indexed("EditMapPar", 2),
    B(78, 1, K::Value, x(250), "SERVO_IN", kPageIntakeServo,
      "intake servo step excitation [us]").Indexed("EditMapPar", 3),
    Reserved(79, 1),
    B(80, 5, K::Value, kPlain, "INJ_CORR", kPageKorekce,
      "injection correction by coolant temperature [%] at -10, 20, 50, 80, 110 C")
        .Indexed("EditKorVoda"),
    B(85, 5, K::Value, kPlain, "INJ_CORR", kPageKorekce,
      "injection correction by inlet air temperature [%] at -10, 20, 50, 80, 110 C")
        .Indexed("EditKorVzduch"),
    B(90, 1, K::Value, x(10), "ACCEL", kPageKorekce, "acceleration enrichment threshold [%/s]")
        .Ctl("EditAkcelPrah"),
    B(91, 1, K::Value, x(50), "ACCEL", kPageKorekce, "acceleration enrichment size [us]")
        .Ctl("EditAkcelJet"),
    B(92, 1, K::Value, kPlain, "START_INJ", kPageKorekce, "start injection [ms]")
        .Ctl("EditStartJet"),
    B(93, 5, K::Signed, kSigned, "ADVANCE_CORR", kPageKorekce,
      "advance correction by coolant temperature [deg] at -10, 20, 50, 80, 110 C")
        .Indexed("EditIgnVoda").FileAsStored(),

    // Nitrous, race and gear settings.
    B(98, 1, K::Flag, kPlain, "N2O", kPageN2O, "N2O enable").Ctl("CheckBoxGas"),
    B(99, 1, K::Value, kPlain, "N2O", kPageN2O, "gas 1 [%]").Ctl("EditGas1"),
    B(100, 1, K::Value, kPlain, "N2O", kPageN2O, "gas 2 [%]").Ctl("EditGas2"),
    B(101, 1, K::Value, x(100), "N2O", kPageN2O, "gas build-up time [ms]").Ctl("EditGasT"),
    B(102, 1, K::Value, x(100), "N2O", kPageN2O, "gas delay [ms]").Ctl("EditGasD"),
    B(103, 1, K::Value, kPlain, "N2O", kPageN2O, "retard 1 [deg]").Ctl("EditRetard1"),
    B(104, 1, K::Value, kPlain, "N2O", kPageN2O, "retard 2 [deg]").Ctl("EditRetard2"),
    B(105, 1, K::Value, x(100), "N2O", kPageN2O, "retard build-up time [ms]")
        .Ctl("EditRetardT"),
    B(106, 1, K::Value, x(100), "N2O", kPageN2O, "retard delay [ms]").Ctl("EditRetardD"),
    B(107, 1, K::Flag, kPlain, "DISPLAY", kPageRace, "display shows temperature instead of speed")
        .Ctl("CheckBoxTempDisplay"),
    B(108, 6, K::Value, x(100), "PILOT_LIGHT", kPageRace,
      "gear-shift light, first value per gear 0-1, 2..6 [rpm]").Indexed("EditPilotLight1"),
    B(114, 6, K::Value, x(100), "PILOT_LIGHT", kPageRace,
      "gear-shift light, second value per gear 0-1, 2..6 [rpm]").Indexed("EditPilotLight2"),
    B(120, 1, K::Choice, kPlain, "CLUTCH", kPageRace, "clutch mode: No ignition, Retard")
        .Ctl("RadioGroupClutchMode"),
    B(121, 6, K::Value, x(5), "CLUTCH", kPageRace, "clutch master time per gear [ms]")
        .Indexed("EditClutchTime").OlderFiles(69, x(10)),
    B(127, 6, K::Value, x(10), "CLUTCH", kPageRace, "clutch master pause per gear [ms]")
        .Indexed("EditClutchPause"),
    B(133, 1, K::Value, x(100), "CLUTCH", kPageRace, "minimum clutch RPM")
        .Ctl("EditClutchMinRpm"),
    B(134, 1, K::Value, kPlain, "CLUTCH", kPageRace, "clutch injection [%]").Ctl("EditClutchJet"),
    B(135, 1, K::Value, kPlain, "CLUTCH", kPageRace, "clutch advance [deg]").Ctl("EditClutchAdv"),
    B(136, 1, K::Choice, kPlain, "GEAR", kPageGear,
      "gear detection: Voltage, Ratio Rpm Speed, Automat (Ratio Rpm Speed), No")
        .Ctl("RadioGroupGearSystem"),
    B(137, 1, K::Value, kPlain, "GEAR", kPageGear, "number of gears").Ctl("EditPocetGear"),
    B(138, 1, K::Choice, kPlain, "SPEED_PULSES", kPageGear,
      "speed input: pulses over 1 s for 100 km/h, distance per pulse [mm]")
        .Ctl("RadioGroupSpeedMode"),
    Reserved(139, 1),
    W(70, 7, "GEAR", kPageGear, "gear sensor voltage for gears 0..6 [mV]")
        .Indexed("EditGearNapeti"),
    B(154, 1, K::Value, kPlain, "GEAR_AUTO", kPageGear, "automatic gear: minimum time [s]")
        .Ctl("EditGearAutoTime"),
    B(155, 1, K::Value, x(100), "GEAR_AUTO", kPageGear, "automatic gear: minimum RPM")
        .Ctl("EditGearAutoRpm"),
    B(156, 1, K::Value, kPlain, "GEAR_AUTO", kPageGear, "automatic gear: minimum TPS [%]")
        .Ctl("EditGearAutoTps"),
    B(157, 1, K::Value, kPlain, "GEAR_AUTO", kPageGear, "automatic gear: band [0.1 %]")
        .Ctl("EditGearAutoBand"),
    B(158, 1, K::Value, plus(100), "N2O", kPageN2O, "N2O injection correction 1 [%]")
        .Ctl("EditGasJetKor1"),
    B(159, 1, K::Value, plus(100), "N2O", kPageN2O, "N2O injection correction 2 [%]")
        .Ctl("EditGasJetKor2"),
    W(80, 1, "SPEED_PULSES", kPageGear, "speedometer setting (pulses or distance)")
        .Ctl("EditPulsuProSpeed"),
    W(81, 6, "GEAR", kPageGear, "RPM/speed ratio x 10 for gears 1..6").Indexed("EditGearPomer"),
    B(174, 6, K::Signed, kSigned, "GEAR_CORR", kPageGear,
      "advance correction per gear 0-1, 2..6 [deg]").Indexed("EditGearKorAdv"),
    B(180, 6, K::Value, kPlain, "GEAR_CORR", kPageGear, "injection correction per gear [%]")
        .Indexed("EditGearKorJet"),
    Reserved(186, 5),

    // Engine constants and sensor curves.
    Constant(191, 3, "engine constants"),
    W(97, 9, "WATER_TEMP_SENSOR", kPageCidla,
      "coolant temperature sensor characteristic, 9 points [mV]").Indexed("EditCidloVoda"),
    W(106, 9, "AIR_TEMP_SENSOR", kPageCidla,
      "inlet air temperature sensor characteristic, 9 points [mV]").Indexed("EditCidloVzduch"),
    Make(230, 9, Width::Word, K::EngineConstant, kPlain, {}, kNoPage,
         "engine constant table of 9 values"),
    Reserved(248, 4),
    Constant(252, 1, "the bike's RPM limit", x(100)),
    Constant(253, 22, "engine constants"),
    Reserved(275, 15),

    // Idle control.
    B(290, 1, K::Choice, kPlain, "IDLE", kPageVolnobeh,
      "idle control: No, Intake servo, Step motor without potentiometer, "
      "Step motor make TPS min").Ctl("RadioGroupIdleMode"),
    B(291, 1, K::Value, x(100), "IDLE", kPageVolnobeh, "regulation range [rpm]")
        .Ctl("EditIdleRpmMez"),
    B(292, 1, K::Value, kPlain, "IDLE", kPageVolnobeh, "regulation range TPS x 10 [%]")
        .Ctl("EditIdleTpsMez"),
    B(293, 1, K::Flag, kPlain, "IDLE", kPageVolnobeh, "inverse direction of regulation")
        .Ctl("CheckBoxIdleSmerReg"),
    B(294, 1, K::Value, x(250), "IDLE", kPageVolnobeh, "idle step pulse [us]")
        .Ctl("EditIdleStepPuls"),
    B(295, 1, K::Value, kPlain, "IDLE", kPageVolnobeh, "idle step period [ms]")
        .Ctl("EditIdleStepPerioda"),
    B(296, 1, K::Value, x(10), "IDLE", kPageVolnobeh, "hysteresis [rpm]").Ctl("EditIdleHyster"),
    Reserved(297, 1),
    W(149, 9, "IDLE", kPageVolnobeh, "desired idle servo RPM, 9 points")
        .Indexed("EditIdleServoPoz"),
    Reserved(316, 1),
    B(317, 1, K::Flag, kPlain, "IDLE", kPageVolnobeh, "advance control of idle on")
        .Ctl("CheckBoxIdleAdvOn"),
    B(318, 1, K::Value, kPlain, "IDLE", kPageVolnobeh, "advance regulation [deg/1000 rpm]")
        .Ctl("EditIdleAdvNaRpm"),
    B(319, 1, K::Value, kPlain, "IDLE", kPageVolnobeh, "advance regulation [deg/10 s]")
        .Ctl("EditIdleAdvNaCas"),
    B(320, 1, K::Value, kPlain, "IDLE", kPageVolnobeh, "maximum idle advance [deg]")
        .Ctl("EditIdleMaxAdv"),
    B(321, 9, K::Value, x(50), "IDLE", kPageVolnobeh,
      "desired idle RPM for the advance control, 9 points").Indexed("EditIdleAdvPoz"),
    W(165, 1, "IDLE", kPageVolnobeh, "idle start [ms]").Ctl("UpDownIdleStart"),
    W(166, 1, "ACC_CORR", kPageKorekce, "acceleration influence + [%/100 %]")
        .Ctl("EditAccKPlus"),
    W(167, 1, "ACC_CORR", kPageKorekce, "acceleration influence - [%/100 %]")
        .Ctl("EditAccKMinus"),
    W(168, 1, "ACC_CORR", kPageKorekce,
      "acceleration time constant at 1000 rpm, TPS 100 % [10 ms]").Ctl("EditAccT100"),
    W(169, 1, "ACC_CORR", kPageKorekce,
      "acceleration time constant at 1000 rpm, TPS 0 % [10 ms]").Ctl("EditAccT0"),

    // Tuning, sensors and output test.
    B(340, 1, K::Choice, kPlain, "TUNING", kPageLadeni, "tuning mode: Points, All")
        .Ctl("RadioGroupLadeniMode"),
    Reserved(341, 1),
    B(342, 1, K::Value, kPlain, "TUNING", kPageLadeni, "target A/F x 10")
        .Ctl("EditLadeniLambda"),
    Reserved(343, 1),
    B(344, 1, K::Value, kPlain, "TUNING", kPageLadeni, "A/F tolerance x 10")
        .Ctl("EditLadeniHyster"),
    B(345, 1, K::Value, x(10), "TUNING", kPageLadeni, "RPM tolerance").Ctl("EditLadeniRpm"),
    B(346, 1, K::Value, kPlain, "TUNING", kPageLadeni, "TPS/IAP tolerance").Ctl("EditLadeniTps"),
    B(347, 1, K::Value, x(10), "TUNING", kPageLadeni, "step time [ms]").Ctl("EditLadeniCas"),
    B(348, 1, K::Value, kPlain, "TUNING", kPageLadeni, "step [%]").Ctl("EditLadeniKrok"),
    Reserved(349, 1),
    B(350, 1, K::Value, kPlain, "TUNING", kPageLadeni, "channel").Ctl("EditLadeniKanal"),
    B(351, 1, K::Value, kPlain, "TUNING", kPageLadeni, "maximum acceleration correction [%]")
        .Ctl("EditLadeniMaxAcc"),
    B(352, 1, K::Choice, kPlain, "SENSOR_LAMBDA", kPageCidla, "lambda sensor type: Standard, Uego")
        .Ctl("RadioGroupCidloLambdaMode"),
    B(353, 5, K::Value, kPlain, "SENSOR_LAMBDA", kPageCidla,
      "lambda sensor curve: A/F x 10 at 5 points").Indexed("EditCidloLambdaAf"),
    W(179, 5, "SENSOR_LAMBDA", kPageCidla, "lambda sensor curve: voltage [mV] at the 5 points")
        .Indexed("EditCidloLambdaNap"),
    B(368, 2, K::Value, kPlain, "LAMBDA_TACHO", kPageBike,
      "tacho/lambda output: A/F x 10, two thresholds").Indexed("EditLambdaTachoAf"),
    B(370, 2, K::Value, x(100), "LAMBDA_TACHO", kPageBike,
      "tacho/lambda output: two RPM thresholds").Indexed("EditLambdaTachoRpm"),
    B(372, 4, K::Value, kPlain, "LAMBDA_BAR", kPageMonitor,
      "lambda bar graph: beginning, 1/3, 2/3, ending").Numbered("EditLambdaBar", 0),
    B(376, 1, K::Value, x(100), "TEST_OUT", kPageLadeni, "output test RPM").Ctl("EditTestRpm"),
    B(377, 1, K::Value, x(10), "TEST_OUT", kPageLadeni, "output test servo time [ms]")
        .Ctl("EditTestServo"),
    Reserved(378, 6),
    W(192, 10, "IAP_IAP", kPageInjIap, "load axis of the IAP map: ten intake pressures [kPa]")
        .Indexed("EditMapTps"),
    Reserved(404, 1),

    // Injection positions and RPM axes.
    B(405, 15, K::Value, x(100), "POSITION_A", kPagePoloha, "position A: 15 RPM points")
        .Indexed("EditPolohaA_Rpm"),
    B(420, 15, K::Value, x(5), "POSITION_A", kPagePoloha, "position A: injection angle [deg]")
        .Indexed("EditPolohaA_Deg"),
    B(435, 15, K::Value, x(100), "POSITION_B", kPagePoloha, "position B: 15 RPM points")
        .Indexed("EditPolohaB_Rpm"),
    B(450, 15, K::Value, x(5), "POSITION_B", kPagePoloha, "position B: injection angle [deg]")
        .Indexed("EditPolohaB_Deg"),
    Axis(465, "RPM_ADV", kPageAdvance, "RPM axis of ADVANCE"),
    Axis(480, "RPM_JET_1A", kPageInj1A, "RPM axis of JET_1A"),
    Axis(495, "RPM_JET_2A", kPageInj2A, "RPM axis of JET_2A"),
    Axis(510, "RPM_JET_3A", kPageInj3A, "RPM axis of JET_3A"),
    Axis(525, "RPM_JET_4A", kPageInj4A, "RPM axis of JET_4A"),
    Axis(540, "RPM_JET_B", kPageInjB, "RPM axis of JET_B"),
    Axis(555, "RPM_IAP", kPageInjIap, "RPM axis of IAP"),
    Axis(570, "RPM_SERVO_EX", kPageExhaustServo, "RPM axis of SERVO_EX_VALUE"),
    Axis(585, "RPM_SERVO_IN", kPageIntakeServo, "RPM axis of SERVO_IN_VALUE"),

    // Maps (the injection-time maps are edited as percent of their base maps) and the note.
    Map(600, Width::Byte, 465, "ADVANCE", kPageAdvance, "ignition advance [deg]"),
    Map(2 * 375, Width::Word, 480, "JET_1A", kPageInj1A, "injection time of injector 1A [us]"),
    Map(2 * 525, Width::Word, 495, "JET_2A", kPageInj2A, "injection time of injector 2A [us]"),
    Map(2 * 675, Width::Word, 510, "JET_3A", kPageInj3A, "injection time of injector 3A [us]"),
    Map(2 * 825, Width::Word, 525, "JET_4A", kPageInj4A, "injection time of injector 4A [us]"),
    Map(1950, Width::Byte, 540, "JET_B", kPageInjB, "share of the B injectors [%]"),
    IapMap(),
    ServoMap(2400, 570, 62, "SERVO_EX_VALUE", kPageExhaustServo, "exhaust servo position"),
    ServoMap(2550, 585, 63, "SERVO_IN_VALUE", kPageIntakeServo, "intake servo position"),
    B(2700, kPageSize, K::Note, kPlain, "MEMO", kPageBike, "the user's note, 0-separated lines")
        .Ctl("Memo1"),
};

constexpr FileSection kSections[] = {
    {"TORVANIC_KEY"},
    {"BIKE"},
    {"APS_IAPS", kPageCidla},
    {"WATER_TEMP_SENSOR", kPageCidla, 65},
    {"AIR_TEMP_SENSOR", kPageCidla, 68},
    {"SENSOR_LAMBDA", kPageCidla},
    {"LAMBDA_TACHO", kPageBike},
    {"INPUTS", kPageBike},
    {"LIMITER", kPageBike},
    {"LIMITER2", kPageBike},
    {"TPS", kPageCidla},
    {"POTENTIOMETER", kPageCidla},
    {"COOLING", kPageBike},
    {"RPM", kPageBike},
    {"INTAKE_PORT", kPageBike},
    {"ADVANCE_MISC", kPageAdvance},
    {"RPM_ADV", kPageAdvance},
    {"ADVANCE", kPageAdvance},
    {"JET1_MISC", kPageInj1A},
    {"RPM_JET_1A", kPageInj1A},
    {"JET_1A", kPageInj1A},
    {"RPM_JET_2A", kPageInj2A},
    {"JET_2A", kPageInj2A},
    {"RPM_JET_3A", kPageInj3A},
    {"JET_3A", kPageInj3A},
    {"RPM_JET_4A", kPageInj4A},
    {"JET_4A", kPageInj4A},
    {"RPM_JET_B", kPageInjB},
    {"JET_B", kPageInjB},
    {"IAP_MISC", kPageInjIap},
    {"IAP_IAP", kPageInjIap},
    {"RPM_IAP", kPageInjIap},
    {"IAP", kPageInjIap},
    {"POSITION_A", kPagePoloha},
    {"POSITION_B", kPagePoloha},
    {"SERVO_IN", kPageIntakeServo},
    {"RPM_SERVO_IN", kPageIntakeServo},
    {"SERVO_IN_VALUE", kPageIntakeServo},
    {"SERVO_EX", kPageExhaustServo},
    {"RPM_SERVO_EX", kPageExhaustServo},
    {"SERVO_EX_VALUE", kPageExhaustServo},
    {"IDLE", kPageVolnobeh, 69},
    {"CHOKE", kPageKorekce},
    {"START_INJ", kPageKorekce},
    {"INJ_CORR", kPageKorekce},
    {"ACCEL", kPageKorekce},
    {"ACC_CORR", kPageKorekce},
    {"ADVANCE_CORR", kPageKorekce},
    {"N2O", kPageN2O},
    {"SPEED_PULSES", kPageGear},
    {"GEAR", kPageGear},
    {"GEAR_AUTO", kPageGear},
    {"GEAR_CORR", kPageGear},
    {"PILOT_LIGHT", kPageRace},
    {"CLUTCH", kPageRace},
    {"DISPLAY", kPageRace},
    {"TUNING", kPageLadeni, 73},
    {"TEST_OUT", kPageLadeni},
    {"LAMBDA_BAR", kPageMonitor},
    {"VERSIONS"},
    {"MEMO", kPageBike},
};
// clang-format on

constexpr int kFieldCount = static_cast<int>(std::size(kFields));
static_assert(kFieldCount < 0x7FFF);

// Index of the field covering each image byte (-1 where none does).
constexpr std::array<std::int16_t, kImageSize> BuildByteIndex() {
    std::array<std::int16_t, kImageSize> index{};
    index.fill(-1);
    for (int i = 0; i < kFieldCount; ++i)
        for (int n = kFields[i].first; n <= kFields[i].last(); ++n)
            if (n >= 0 && n < kImageSize)
                index[static_cast<std::size_t>(n)] = static_cast<std::int16_t>(i);
    return index;
}
constexpr auto kByteIndex = BuildByteIndex();

bool ElementInRange(const Field& field, int element) {
    return element >= 0 && element < field.count;
}

// Stores a value by conversion c, keeping the low 8 or 16 bits.
void StoreConverted(ParameterImage& image, const Field& field, int element, int value,
                    Conversion c) {
    if (!ElementInRange(field, element)) return;
    const int n = field.elementByte(element);
    if (field.width == Width::Word)
        image.setShownWord(n / 2, value, c);
    else
        image.setShownByte(n, value, c);
}

Conversion WithScaleSwitch(const Field& field, const ParameterImage& image, Conversion c) {
    if (field.scaleFlagByte >= 0 && image.byte(field.scaleFlagByte) == 0)
        c.scale = field.scaleWhenFlagClear;
    return c;
}

// Control name suffixes: a number ("3") or bracketed numbers ("[3]", "[1][2]"); each reader
// consumes what it read and gives -1 when the text does not fit.
int ParseNumber(std::string_view& s) {
    constexpr std::size_t kMaxDigits = 5;
    int value = 0;
    std::size_t i = 0;
    while (i < s.size() && i < kMaxDigits && s[i] >= '0' && s[i] <= '9')
        value = 10 * value + (s[i++] - '0');
    if (i == 0) return -1;
    s.remove_prefix(i);
    return value;
}
int ParseBracketed(std::string_view& s) {
    if (s.empty() || s.front() != '[') return -1;
    s.remove_prefix(1);
    const int v = ParseNumber(s);
    if (v < 0 || s.empty() || s.front() != ']') return -1;
    s.remove_prefix(1);
    return v;
}

// Element of `field` named by `suffix` (what follows the base control name), or -1.
int ElementOfSuffix(const Field& field, std::string_view suffix) {
    if (suffix.empty()) return field.controlForm == ControlForm::None ? -1 : 0;
    int element = -1;
    switch (field.controlForm) {
        case ControlForm::None:
        case ControlForm::Single:
            return -1;
        case ControlForm::Numbered:
            element = ParseNumber(suffix) - field.controlFirst;
            break;
        case ControlForm::Indexed:
            element = ParseBracketed(suffix) - field.controlFirst;
            break;
        case ControlForm::Cells: {
            const int row = ParseBracketed(suffix);
            const int column = ParseBracketed(suffix);
            if (row < 0 || column < 0 || column >= kMapColumns) return -1;
            element = ParameterImage::CellIndex(row, column);
            break;
        }
    }
    if (!suffix.empty() || !ElementInRange(field, element)) return -1;
    return element;
}

}  // namespace

std::span<const Field> Fields() {
    return kFields;
}
std::span<const FileSection> FileSections() {
    return kSections;
}

const Field* FieldAt(int imageByte) {
    if (imageByte < 0 || imageByte >= kImageSize) return nullptr;
    const int i = kByteIndex[static_cast<std::size_t>(imageByte)];
    return i < 0 ? nullptr : &kFields[i];
}

ByteKind KindOfByte(int imageByte) {
    const Field* field = FieldAt(imageByte);
    if (field == nullptr) return ByteKind::Outside;
    switch (field->kind) {
        case K::RpmAxis:
            return ByteKind::RpmAxis;
        case K::MapCells:
            return ByteKind::MapCell;
        case K::Note:
            return ByteKind::Note;
        case K::EngineConstant:
            return ByteKind::EngineConstant;
        case K::Reserved:
            return ByteKind::Reserved;
        default:
            return ByteKind::Setting;
    }
}

const Field* FindField(std::string_view section) {
    if (section.empty()) return nullptr;
    for (const Field& field : kFields)
        if (field.section == section) return &field;
    return nullptr;
}

std::vector<const Field*> FieldsInSection(std::string_view section) {
    std::vector<const Field*> result;
    if (section.empty()) return result;
    for (const Field& field : kFields)
        if (field.section == section) result.push_back(&field);
    return result;
}

const FileSection* FindSection(std::string_view key) {
    for (const FileSection& section : kSections)
        if (section.key == key) return &section;
    return nullptr;
}

FieldElement FindByControl(std::string_view name, int page) {
    if (name.empty()) return {};
    for (const Field& field : kFields) {
        if (field.controlForm == ControlForm::None) continue;
        if (page != kAnyPage && field.page != page) continue;
        if (name.substr(0, field.control.size()) != field.control) continue;
        const int element = ElementOfSuffix(field, name.substr(field.control.size()));
        if (element >= 0) return {&field, element};
    }
    return {};
}

std::string ControlName(const Field& field, int element) {
    std::string name(field.control);
    switch (field.controlForm) {
        case ControlForm::None:
        case ControlForm::Single:
            break;
        case ControlForm::Numbered:
            name += std::to_string(field.controlFirst + element);
            break;
        case ControlForm::Indexed:
            name += "[" + std::to_string(field.controlFirst + element) + "]";
            break;
        case ControlForm::Cells:
            name += "[" + std::to_string(element / kMapColumns) + "][" +
                    std::to_string(element % kMapColumns) + "]";
            break;
    }
    return name;
}

Conversion EditorConversion(const Field& field, const ParameterImage& image) {
    return WithScaleSwitch(field, image, field.editor);
}

Conversion FileConversion(const Field& field, const ParameterImage& image, int fileVersion) {
    const bool older = field.olderFilesUpTo > 0 && fileVersion <= field.olderFilesUpTo;
    return WithScaleSwitch(field, image, older ? field.olderFiles : field.file);
}

int StoredValue(const ParameterImage& image, const Field& field, int element) {
    if (!ElementInRange(field, element)) return 0;
    const int n = field.elementByte(element);
    return field.width == Width::Word ? image.word(n / 2) : image.byte(n);
}

void SetStoredValue(ParameterImage& image, const Field& field, int element, int stored) {
    StoreConverted(image, field, element, stored, kPlain);
}

int ShownValue(const ParameterImage& image, const Field& field, int element) {
    return EditorConversion(field, image).Shown(StoredValue(image, field, element));
}

void SetShownValue(ParameterImage& image, const Field& field, int element, int shown) {
    StoreConverted(image, field, element, shown, EditorConversion(field, image));
}

int FileValue(const ParameterImage& image, const Field& field, int element) {
    const int stored = StoredValue(image, field, element);
    if (field.kind == K::Flag) return stored != 0 ? 1 : 0;
    return WithScaleSwitch(field, image, field.file).Shown(stored);
}

void SetFileValue(ParameterImage& image, const Field& field, int element, int value,
                  int fileVersion) {
    StoreConverted(image, field, element, value, FileConversion(field, image, fileVersion));
}

}  // namespace kestrin

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <string_view>

#include "lang/Messages.h"

namespace kestrin {
namespace {

struct SpotCase {
    int language;
    MsgId id;
    std::string_view expected;
};

// Texts with non-ASCII letters, significant blanks, line breaks and French columns that repeat
// the English text: the places where a transcription slip would go unnoticed on screen.
constexpr SpotCase kSpotCases[] = {
    {English, MsgComOpenError, "Com opening error!"},
    {German, MsgComOpenError, "Falscher COM-Anschlußes!"},
    {French, MsgComOpenError, "Erreur connections PC!"},
    {Czech, MsgComOpenError, "Chyba při otevírání portu Com!"},
    {Czech, MsgProgramError, "Chyba programování"},
    {French, MsgVersionMismatch,
     "Programme du boitier d´alumage non compatible avec programme PC!"},
    {French, MsgVerifying, "Vérifier:"},
    {French, MsgReading, "Lire"},
    {French, MsgSaving, "Mémorisation"},
    {German, MsgAdvance, "Vorzündung"},
    {Czech, MsgAdvance, "Předstih"},
    {English, MsgProgramCount, "Number of Programing = "},
    {Czech, MsgProgramCount, "Počet programování = "},
    {English, MsgBlocking, "Blocking "},
    {French, MsgBlocking, "Blocage "},
    {German, MsgRetardLimiter, "Begrenzer - Spätzündung"},
    {French, MsgIgnLimiter, "Limiter by ignition"},
    {French, MsgYes, "Oui"},
    {German, MsgNo, "NEIN"},
    {Czech, MsgTwinkle, "Bliká"},
    {English, MsgRunning, " is running"},
    {German, MsgRunning, " läuft"},
    {Czech, MsgNoSignal, " bez signálu"},
    {English, MsgExhaustServo, "Exhaust servo "},
    {German, MsgExhaustServo, "Abblaseservo"},
    {French, MsgExhaustServo, "Exhaust servo "},
    {Czech, MsgExhaustServo, "Výfuk. servo "},
    {English, MsgIntakeServo, "Intake servo"},
    {Czech, MsgIntakeServo, "Sací servo "},
    {French, MsgPosition, "Positon"},
    {Czech, MsgFallSensor, "Pádový senzor"},
    {Czech, MsgGear, "Rychlost. stupeň"},
    {French, MsgGearShiftLight, "Retard à l´allumage"},
    {Czech, MsgGearShiftLight, "Kontrolka řazení"},
    {Czech, MsgChoke, "Sytič"},
    {Czech, MsgClutchMaster, "Clutch master"},
    {French, MsgCoolant, "Températur moteur"},
    {German, MsgCoolant, "Kühlflüssigkeit"},
    {Czech, MsgIdle, "Volnoběh"},
    {Czech, MsgGearVoltage, "GPS napětí"},
    {German, MsgAskDefaultsPage, "Wollen Sie Standardeinstellungen für diese Seite öffnen?"},
    {Czech, MsgBikeNotSupported,
     "Tato verze programu Kestrin_Max_Power.exe není pro požadovanou motorku!"},
    {English, MsgIgnOlderVersion,
     "Older version of *.ign file!\n\nSome parameters won't be changed or will be set to default "
     "value.\nThey are parameters which are not in older version or have another structure."},
    {German, MsgIgnOlderVersion,
     "Älter Version von Datendatei *.ign!\n\nEinige Kenndaten werden nicht geändert oder werden "
     "implizit Wert gestellt.\nSie sind die Kenndaten, die in älter Version nicht sind oder andere "
     "Struktur haben"},
    {German, MsgIgnVersionError, "Datendatei *.ign ist nicht kompatiebel!"},
    {German, MsgFileOpenError, "Fehler beim öffnen der Datei!"},
    {German, MsgManualFile, "manual_kestrin_2007_en.pdf"},
    {Czech, MsgManualFile, "manual_kestrin_2007_cz.pdf"},
    {English, MsgPrintDate, "Date and time of printing:  "},
    {German, MsgPrintDate, "Zeitpunkt des Ausdruckes   "},
    {French, MsgPrintDate, "Date et heur de l´imprimé:   "},
    {German, MsgBaseAdvance, "Basis Vorzündung [°]"},
    {Czech, MsgIapToTp, "IAP -> TP "},
    {Czech, MsgLobeWidth, "Šířka výstupku [°]"},
    {French, MsgPeriod, "Période [ms]"},
    {Czech, MsgExcitation, "Buzení [us]"},
    {German, MsgIntakeServoEnabled, "Intake servo must be enabled"},
    {Czech, MsgIntakeServoDisabled, "Sací servo nesmí být povoleno"},
    {German, MsgDesiredRpm, "Gewünschte RPM"},
    {Czech, MsgTpsMinSteps, "TPS min [kroku serva]"},
    {German, MsgTuneCoupled, "E: Gekoppelt"},
    {Czech, MsgTuneCoupled, "L: Spřažený"},
    {Czech, MsgTuneOff, "L: Ladění vypnuto"},
    {English, MsgTuneAccel, "T: Accelarition to big"},
    {German, MsgTuneLoadLow, "E: TPS or IAP  zu small (vor erste Punkt)"},
    {Czech, MsgTuneLoadLow, "malé TPS nebo IAP - před prvním bodem"},
    {English, MsgTuneLoadHigh, "T: TPS or IAP high ((hinter letzte Punkt)"},
    {Czech, MsgTuneDecrease, "L: Ubírání"},
    {English, MsgTuneOk, "T: OK"},
    {Czech, MsgTuneOk, "L: OK"},
};

TEST(MessageSlots, SpotChecksAcrossLanguages) {
    MessageSlots slots;
    for (const SpotCase& c : kSpotCases) {
        slots.Apply(c.language);
        EXPECT_EQ(slots[c.id], c.expected)
            << MessageTable()[c.id].name << " in language " << c.language;
    }
}

struct ComposedCase {
    int language;
    std::string_view manualOpenError;
    std::string_view tachoLambda;
};

TEST(MessageSlots, ComposedSlotsInEveryLanguage) {
    constexpr ComposedCase kCases[] = {
        {English, "Error by opening file manual_kestrin_2007_en.pdf !", "Tacho/Lambda"},
        {German, "Fehler beim öffnen der Datei manual_kestrin_2007_en.pdf !", "Tacho/Lambda"},
        {French, "Erreur à l´ouvertur du Fichier manual_kestrin_2007_en.pdf !", "Tacho/Lambda"},
        {Czech, "Chyba při otevírání souboru manual_kestrin_2007_cz.pdf !", "Tacho/Lambda"},
    };
    // One object switched back and forth, as the running program does: a composed slot must be
    // rebuilt from its parts each time, never appended to the previous language's text.
    MessageSlots slots;
    for (int round = 0; round < 2; ++round) {
        for (const ComposedCase& c : kCases) {
            slots.Apply(c.language);
            EXPECT_EQ(slots[MsgManualOpenError], c.manualOpenError) << "language " << c.language;
            EXPECT_EQ(slots[MsgTachoLambda], c.tachoLambda) << "language " << c.language;
            EXPECT_EQ(slots[MsgTachoLambda], slots[MsgTacho] + "/" + slots[MsgLambda]);
        }
    }
}

TEST(MessageSlots, LanguageOutsideTheFourIsEnglish) {
    MessageSlots english;
    english.Apply(English);
    for (int index : {-1, 4, 5, 255, 1000}) {
        MessageSlots slots;
        slots.Apply(Czech);
        slots.Apply(index);
        EXPECT_EQ(slots.language(), English) << "index " << index;
        for (int id = 0; id < MsgCount; ++id) {
            EXPECT_EQ(slots[MsgId(id)], english[MsgId(id)])
                << MessageTable()[id].name << " for index " << index;
        }
    }
}

TEST(MessageSlots, StartsInEnglish) {
    MessageSlots slots;
    EXPECT_EQ(slots.language(), English);
    EXPECT_EQ(slots[MsgProgramError], "Program error!");
    EXPECT_EQ(slots[MsgManualOpenError], "Error by opening file manual_kestrin_2007_en.pdf !");
}

TEST(MessageSlots, EverySlotHasTextInEveryLanguage) {
    MessageSlots slots;
    for (int language = 0; language < kLanguageCount; ++language) {
        slots.Apply(language);
        EXPECT_EQ(slots.language(), language);
        for (int id = 0; id < MsgCount; ++id) {
            EXPECT_FALSE(slots[MsgId(id)].empty())
                << MessageTable()[id].name << " in language " << language;
        }
    }
}

struct NamedSlot {
    MsgId id;
    std::string_view name;
};

TEST(MessageTable, RowsAreNamedAfterTheirSlotsInOrder) {
#define NAMED(slot) \
    { slot, #slot }
    constexpr NamedSlot kSlots[] = {
        NAMED(MsgComOpenError),
        NAMED(MsgProgramError),
        NAMED(MsgVerifyError),
        NAMED(MsgReadError),
        NAMED(MsgProgramming),
        NAMED(MsgVersionMismatch),
        NAMED(MsgVerifying),
        NAMED(MsgReading),
        NAMED(MsgSaving),
        NAMED(MsgAdvance),
        NAMED(MsgProgramCount),
        NAMED(MsgBlocking),
        NAMED(MsgStartLimiter),
        NAMED(MsgIgnLimiter),
        NAMED(MsgJetLimiter),
        NAMED(MsgRetardLimiter),
        NAMED(MsgYes),
        NAMED(MsgNo),
        NAMED(MsgTwinkle),
        NAMED(MsgPickupCkps),
        NAMED(MsgPickupCmps),
        NAMED(MsgRunning),
        NAMED(MsgNoSignal),
        NAMED(MsgInjectionTime),
        NAMED(MsgMaxInjection),
        NAMED(MsgPosition),
        NAMED(MsgExhaustServo),
        NAMED(MsgIntakeServo),
        NAMED(MsgPotentiometer),
        NAMED(MsgFallSensor),
        NAMED(MsgCooling),
        NAMED(MsgGear),
        NAMED(MsgSpeed),
        NAMED(MsgGearShiftLight),
        NAMED(MsgChoke),
        NAMED(MsgClutchMaster),
        NAMED(MsgTacho),
        NAMED(MsgLambda),
        NAMED(MsgTachoLambda),
        NAMED(MsgInjByTps),
        NAMED(MsgCoolant),
        NAMED(MsgIdle),
        NAMED(MsgGearVoltage),
        NAMED(MsgStepServoPosition),
        NAMED(MsgAskDefaults),
        NAMED(MsgAskDefaultsPage),
        NAMED(MsgBikeNotSupported),
        NAMED(MsgIgnOlderVersion),
        NAMED(MsgIgnVersionError),
        NAMED(MsgFileOpenError),
        NAMED(MsgManualFile),
        NAMED(MsgManualOpenError),
        NAMED(MsgPrintDate),
        NAMED(MsgBaseAdvance),
        NAMED(MsgIapToTp),
        NAMED(MsgHysteresis),
        NAMED(MsgLobeWidth),
        NAMED(MsgCylinderCorrection),
        NAMED(MsgTpsMin),
        NAMED(MsgTpsMax),
        NAMED(MsgRpmMin),
        NAMED(MsgRpmMax),
        NAMED(MsgPeriod),
        NAMED(MsgExcitation),
        NAMED(MsgIntakeServoEnabled),
        NAMED(MsgIntakeServoDisabled),
        NAMED(MsgDesiredRpm),
        NAMED(MsgServoStartPosition),
        NAMED(MsgTpsMinSteps),
        NAMED(MsgMinPosition),
        NAMED(MsgTuneRpmZero),
        NAMED(MsgTuneCoupled),
        NAMED(MsgTuneNoLoad),
        NAMED(MsgTuneOff),
        NAMED(MsgTuneAccel),
        NAMED(MsgTuneBothMaps),
        NAMED(MsgTuneNotInPoint),
        NAMED(MsgTuneLambdaError),
        NAMED(MsgTuneRpmLow),
        NAMED(MsgTuneRpmHigh),
        NAMED(MsgTuneLoadLow),
        NAMED(MsgTuneLoadHigh),
        NAMED(MsgTuneAdding),
        NAMED(MsgTuneDecrease),
        NAMED(MsgTuneOk),
    };
#undef NAMED
    const auto& table = MessageTable();
    ASSERT_EQ(table.size(), std::size(kSlots));
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(table[i].id), i) << table[i].name;
        EXPECT_EQ(static_cast<std::size_t>(kSlots[i].id), i) << kSlots[i].name;
        EXPECT_EQ(table[kSlots[i].id].name, kSlots[i].name);
    }
}

}  // namespace
}  // namespace kestrin

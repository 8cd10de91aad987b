// The main window: its pages, status line and link loop as the rider sees them.
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/Application.h"
#include "app/Dialogs.h"
#include "app/FormHlav.h"
#include "model/Bikes.h"
#include "model/Consistency.h"
#include "model/Defaults.h"

using kestrin::gui::Dialogs;

namespace {

// A port that opens and never answers: a unit that is not connected.
class SilentLine : public kestrin::SerialLine {
public:
    int opens = 0;
    bool open = false;
    bool denied = false;  // every open fails as for a user without permission
    bool Open(int) override {
        ++opens;
        open = !denied;
        return open;
    }
    bool LastOpenDenied() const override { return denied; }
    std::string DevicePath() const override { return "/dev/ttyUSB0"; }
    bool IsOpen() const override { return open; }
    int QueuedBytes() override { return 0; }
    int Read(std::span<std::uint8_t>) override { return 0; }
    void WriteFrame(std::span<const std::uint8_t>) override {}
    void Purge() override {}
    void Close() override { open = false; }
};

}  // namespace

class TestFormHlav : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    std::unique_ptr<TFormHlav> MakeForm(QStringList args, SilentLine** line = nullptr) {
        args << "--settings-dir" << dir_.path();
        auto l = std::make_unique<SilentLine>();
        if (line) *line = l.get();
        auto form = std::make_unique<TFormHlav>(args, std::move(l));
        form->timer()->stop();  // the test ticks by hand
        return form;
    }
    static void Tick(TFormHlav& f, int n) {
        for (int i = 0; i < n; ++i) f.Timer1Timer();
    }
    static bool Shown(TFormHlav& f, const char* name) {
        auto* w = f.findChild<QWidget*>(name);
        return w && !w->isHidden();
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        Dialogs::Script(true);
    }

    void pagesInTabOrder() {
        auto form = MakeForm({});
        auto* tabs = form->findChild<QTabWidget*>("PageControl1");
        QVERIFY(tabs);
        const QStringList names{
            "TabSheet_Bike",    "TabSheetPage[1]",  "TabSheetPage[2]", "TabSheetPage[3]",
            "TabSheetPage[4]",  "TabSheetPage[5]",  "TabSheetPage[6]", "TabSheetPage[7]",
            "TabSheet_Poloha",  "TabSheet_Korekce", "TabSheet_Cidla",  "TabSheetPage[11]",
            "TabSheetPage[12]", "TabSheet_Idle",    "TabSheet_Gas",    "TabSheet_Race",
            "TabSheet_Gear",    "TabSheet_Ladeni",  "TabSheet_Monitor"};
        QCOMPARE(tabs->count(), names.size());
        for (int k = 0; k < names.size(); ++k) QCOMPARE(tabs->widget(k)->objectName(), names[k]);
        QCOMPARE(form->windowTitle(), QString("Programming of Kestrin_Max_Power"));
        for (const char* name : {"LabelHlaseni", "CGaugeProgram", "LabelSpojeni", "LabelVersion",
                                 "LabelEeDataErr", "LabelTest1", "LabelTest8", "StatusBar1",
                                 "Memo1", "CheckBoxLadeniPovoleno", "LabelCom"})
            QVERIFY2(form->findChild<QWidget*>(name), name);
        QCOMPARE(form->findChild<QProgressBar*>("CGaugeProgram")->maximum(), 20);
        for (const char* menu : {"MenuFile", "MenuCom", "MenuDevice", "MenuTools", "MenuLanguage",
                                 "MenuHelp", "MenuServis"})
            QVERIFY2(form->findChild<QMenu*>(menu), menu);
        QVERIFY(!form->findChild<QMenu*>("MenuServis")->menuAction()->isVisible());
        QVERIFY(!Shown(*form, "LabelTest1"));
        QCOMPARE(form->parameterImage().byte(0), 11);
    }

    void noUnitShowsNoConnectionAfterSevenTicks() {
        SilentLine* line = nullptr;
        auto form = MakeForm({}, &line);
        form->show();
        QCOMPARE(line->opens, 1);
        QVERIFY(!Shown(*form, "LabelHlaseni"));
        QVERIFY(!Shown(*form, "CGaugeProgram"));
        QVERIFY(!Shown(*form, "LabelEeDataErr"));
        Tick(*form, 6);
        QVERIFY(!Shown(*form, "LabelSpojeni"));
        QVERIFY(Shown(*form, "LabelVersion"));
        Tick(*form, 1);
        QVERIFY(Shown(*form, "LabelSpojeni"));
        QVERIFY(!Shown(*form, "LabelVersion"));
        QCOMPARE(form->findChild<QLabel*>("LabelSpojeni")->text(),
                 QString("No connection with PC"));
        Tick(*form, 30);
        QCOMPARE(line->opens, 2);

        form->SetPrinting(true);
        Tick(*form, 1);
        QVERIFY(!Shown(*form, "LabelSpojeni"));
        form->SetPrinting(false);
        Tick(*form, 1);
        QVERIFY(Shown(*form, "LabelSpojeni"));
    }

    void languageWordIsExact_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("programError");
        QTest::newRow("DEUTSCH") << "DEUTSCH" << 1 << "Programmierfehler!";
        QTest::newRow("deutsch") << "deutsch" << 0 << "Program error!";
        QTest::newRow("FRENCH") << "FRENCH" << 2 << "Erreur de programmation!";
        QTest::newRow("CESKY") << "CESKY" << 3 << "Chyba programování";
        QTest::newRow("ENGLISH") << "ENGLISH" << 0 << "Program error!";
        QTest::newRow("Cesky") << "Cesky" << 0 << "Program error!";
    }
    void languageWordIsExact() {
        QFETCH(QString, word);
        QFETCH(int, language);
        QFETCH(QString, programError);
        auto form = MakeForm({word});
        QCOMPARE(form->languageIndex(), language);
        QCOMPARE(QString::fromStdString(form->messages()[kestrin::MsgProgramError]), programError);
        auto* menu = form->findChild<QMenu*>("MenuLanguage");
        int checked = -1;
        for (int i = 0; i < menu->actions().size(); ++i)
            if (menu->actions()[i]->isChecked()) checked = i;
        QCOMPARE(checked, language);
    }

    void settingsFilesLiveInTheSettingsFolder() {
        auto form = MakeForm({});
        QCOMPARE(form->iniFileName(), QString("Kestrin_2007_v74.ini"));
        QCOMPARE(form->imageBackupFile(), QDir(dir_.path()).filePath("_Kestrin_2007_v74.ini"));
        QVERIFY(form->fileName().endsWith("/data.ign"));
    }

    void comMenuHasTwentyOneItemsAndChecksTheChosenOne() {
        SilentLine* line = nullptr;
        auto form = MakeForm({}, &line);
        auto* menu = form->findChild<QMenu*>("MenuCom");
        QCOMPARE(menu->actions().size(), 21);
        QCOMPARE(menu->actions()[0]->text(), QString("Com 1"));
        QCOMPARE(menu->actions()[20]->text(), QString("Com Auto"));
        menu->actions()[4]->trigger();
        QCOMPARE(form->link().portIndex, 4);
        QCOMPARE(form->findChild<QLabel*>("LabelCom")->text(), QString("COM= COM5"));
        for (int i = 0; i < 21; ++i) QCOMPARE(menu->actions()[i]->isChecked(), i == 4);
    }

    void portsSectionAndCommandLineNameTheDevices() {
        QTemporaryDir dir;
        {
            QSettings ini(QDir(dir.path()).filePath("Kestrin_2007_v74.ini"), QSettings::IniFormat);
            ini.setValue("Ports/COM3", "/nonexistent/ttyA");
            ini.setValue("Ports/COM4", "/nonexistent/ttyB");
        }
        Dialogs::Shown().clear();
        TFormHlav form({"--settings-dir", dir.path(), "--port", "4=/nonexistent/ttyC", "--port",
                        "1=/nonexistent/ttyZ"});
        form.timer()->stop();
        QCOMPARE(Dialogs::Shown().size(), 1);  // COM1 at start
        form.link().SelectPort(2);
        QCOMPARE(QString::fromStdString(form.serialLine().DevicePath()),
                 QString("/nonexistent/ttyA"));
        form.link().SelectPort(3);
        QCOMPARE(QString::fromStdString(form.serialLine().DevicePath()),
                 QString("/nonexistent/ttyC"));
        QCOMPARE(Dialogs::Shown().size(), 3);
        QCOMPARE(Dialogs::Shown().last(), QString("Com opening error!"));
    }

    void missingPermissionIsExplainedOnce() {
        QTemporaryDir dir;
        auto l = std::make_unique<SilentLine>();
        l->denied = true;
        Dialogs::Shown().clear();
        TFormHlav form({"--settings-dir", dir.path()}, std::move(l));
        form.timer()->stop();
        QCOMPARE(Dialogs::Shown().size(), 1);
        QVERIFY(Dialogs::Shown()[0].startsWith("Com opening error!"));
        QVERIFY(Dialogs::Shown()[0].contains("dialout"));
        QVERIFY(Dialogs::Shown()[0].contains("/dev/ttyUSB0"));
        Tick(form, 100);  // silent reopens: nothing more
        QCOMPARE(Dialogs::Shown().size(), 1);
    }

    void startsWithBikeElevenDefaultsAndNewAsksFirst() {
        auto form = MakeForm({});
        kestrin::ParameterImage expected;
        kestrin::InjectionMapSet maps;
        kestrin::BikeSelection bike;
        expected.setByte(0, 11);
        kestrin::LoadDefaults(kestrin::kAllPages, expected, maps, bike);
        kestrin::ApplyBikeTables(expected, maps, bike);
        kestrin::ProgramIndexes indexes;
        kestrin::ConsistencyPass(expected, kestrin::ConsistencyFlagsOf(expected, bike), indexes);
        QVERIFY(form->parameterImage() == expected);

        // The menu command asks; Yes puts the defaults back over a loaded image.
        Dialogs::Shown().clear();
        Dialogs::QueueAnswer(true);
        form->findChild<QAction*>("MenuNew")->trigger();
        QCOMPARE(Dialogs::Shown(), QStringList{"Do you want default setting?"});
        QVERIFY(form->parameterImage() == expected);
    }

    void pickingABikeAsksAndTheSeparatorKeepsTheImage() {
        auto form = MakeForm({});
        const int index43 = kestrin::CatalogueIndexOfCode(43);
        Dialogs::Shown().clear();
        Dialogs::QueueAnswer(true);
        form->ComboBoxBikeChange(index43);
        QCOMPARE(form->parameterImage().byte(0), 43);
        QCOMPARE(Dialogs::Shown(), QStringList{"Do you want default setting?"});
        kestrin::ParameterImage expected;
        kestrin::InjectionMapSet maps;
        kestrin::BikeSelection bike;
        expected.setByte(0, 43);
        kestrin::LoadDefaults(kestrin::kAllPages, expected, maps, bike);
        QCOMPARE(form->parameterImage().byte(28), expected.byte(28));

        const kestrin::ParameterImage before = form->parameterImage();
        Dialogs::Shown().clear();
        form->ComboBoxBikeChange(kestrin::kUnsupportedIndex);  // the separator
        QVERIFY(Dialogs::Shown().isEmpty());
        QCOMPARE(form->parameterImage().byte(0), before.byte(0));
        for (int n : {28, 29, 30, 600, 750})
            QCOMPARE(form->parameterImage().byte(n), before.byte(n));
    }

    void editsInTheWindowReachTheImage() {
        auto form = MakeForm({});
        auto* spin = form->findChild<QSpinBox*>("UpDownStartLimiter1");
        QVERIFY(spin);
        auto* edit = spin->findChild<QLineEdit*>("EditStartLimiter1");
        QVERIFY(edit);
        edit->setText("12345");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(spin, &enter);
        QCOMPARE(form->parameterImage().byte(28), 123);
        QCOMPARE(spin->value(), 12300);
        // The live cooling value sits beside its setting on the Bike page.
        auto* cooling = form->findChild<QWidget*>("GroupBoxChlazeni");
        QVERIFY(cooling && cooling->findChild<QLabel*>("LabelClazeniMon"));
    }

    void theStatusBarShowsTheHintUnderTheMouse() {
        auto form = MakeForm({});
        form->show();
        auto* button = form->findChild<QWidget*>("ButtonProgram");
        QVERIFY(!button->statusTip().isEmpty());
        QStatusTipEvent tip(button->statusTip());  // what hovering the button sends
        QCoreApplication::sendEvent(button, &tip);
        QCOMPARE(form->findChild<QStatusBar*>("StatusBar1")->currentMessage(),
                 QString("Programing  set parametrs to ignition"));
    }

    void exceptionInAHandlerIsShownAndTheProgramGoesOn() {
        struct Thrower : QObject {
            bool event(QEvent* e) override {
                if (e->type() == QEvent::User) throw std::runtime_error("handler failed");
                return QObject::event(e);
            }
        } thrower;
        Dialogs::Shown().clear();
        QEvent ev(QEvent::User);
        QCoreApplication::sendEvent(&thrower, &ev);
        QCOMPARE(Dialogs::Shown(), QStringList{"handler failed"});
    }

    void cleanupTestCase() { Dialogs::Script(false); }
};

int main(int argc, char** argv) {
    kestrin::gui::Application app(argc, argv);
    TestFormHlav test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_formhlav.moc"

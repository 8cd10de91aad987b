// Program, verify and read from the window against the in-process fake unit: the buttons,
// the status line, the identification labels, the version box and the monitor page.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/Application.h"
#include "app/Dialogs.h"
#include "app/FormHlav.h"
#include "sim/unit/FakeUnitLine.h"

using kestrin::gui::Dialogs;

class TestTransfers : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    std::unique_ptr<TFormHlav> MakeForm(kestrin::FakeUnitLine** line, kestrin::SimOptions o = {}) {
        auto l = std::make_unique<kestrin::FakeUnitLine>(o);
        l->SetMillisecondsPerWrite(55);
        *line = l.get();
        auto form =
            std::make_unique<TFormHlav>(QStringList{"--settings-dir", dir_.path()}, std::move(l));
        form->timer()->stop();
        return form;
    }
    static QString Text(TFormHlav& f, const char* name) {
        return f.findChild<QLabel*>(name)->text();
    }
    static void TickUntilIdle(TFormHlav& f, int limit = 2000) {
        for (int t = 0; t < limit && f.link().linkMode != kestrin::LinkMonitoring; ++t)
            f.Timer1Timer();
    }

private slots:
    void initTestCase() { Dialogs::Script(true); }

    void programButtonEndsInProgramOkAndShowsTheUnit() {
        kestrin::FakeUnitLine* unit = nullptr;
        kestrin::SimOptions o;
        o.savingStart = 0;  // no storing countdown: the result shows at once
        auto form = MakeForm(&unit, o);
        form->findChild<QPushButton*>("ButtonProgram")->click();
        QCOMPARE(Text(*form, "LabelHlaseni"), QString("Program device:"));
        QVERIFY(!form->findChild<QLabel*>("LabelHlaseni")->isHidden());
        TickUntilIdle(*form);
        form->Timer1Timer();
        QCOMPARE(Text(*form, "LabelHlaseni"), QString("Program device: OK"));
        QCOMPARE(form->findChild<QProgressBar*>("CGaugeProgram")->value(), 20);
        QVERIFY(unit->memory() == form->parameterImage());
        QVERIFY(!Text(*form, "LabelVerze1").isEmpty());
        QVERIFY(Text(*form, "LabelVerze3").contains(':'));
    }

    void unitOfAnotherVersionGivesOneBox() {
        kestrin::FakeUnitLine* unit = nullptr;
        auto form = MakeForm(&unit);
        unit->SetVersion(73);
        Dialogs::Shown().clear();
        form->findChild<QAction*>("MenuRead")->trigger();
        TickUntilIdle(*form);
        QCOMPARE(Dialogs::Shown(),
                 QStringList{"Unmatched version of PC and Ignition programs!  PC-74, IGN-73"});
        QCOMPARE(form->link().linkMode, kestrin::LinkMonitoring);
    }

    void monitorFramesFillTheMonitorPage() {
        kestrin::FakeUnitLine* unit = nullptr;
        auto form = MakeForm(&unit);
        for (int t = 0; t < 40; ++t) form->Timer1Timer();
        QVERIFY(Text(*form, "LabelRpm").startsWith("RPM = "));
        QCOMPARE(Text(*form, "LabelVersion"), QString("PC-74, IGN-74"));
        QVERIFY(form->findChild<QLabel*>("LabelSpojeni")->isHidden());
        QVERIFY(form->monitor().framesDecoded >= 5);
    }

    void shortcutsAreTheFunctionKeys() {
        kestrin::FakeUnitLine* unit = nullptr;
        auto form = MakeForm(&unit);
        QCOMPARE(form->findChild<QAction*>("MenuProgram")->shortcut(), QKeySequence(Qt::Key_F9));
        QCOMPARE(form->findChild<QAction*>("MenuVerify")->shortcut(), QKeySequence(Qt::Key_F8));
        QCOMPARE(form->findChild<QAction*>("MenuRead")->shortcut(), QKeySequence(Qt::Key_F7));
    }

    void cleanupTestCase() { Dialogs::Script(false); }
};

int main(int argc, char** argv) {
    kestrin::gui::Application app(argc, argv);
    TestTransfers test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_transfers.moc"

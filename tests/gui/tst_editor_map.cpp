// The shared map editor: cells, axes and extra parameters of the nine map pages, the percent
// maps over their base maps, the coupled and all-equal injector modes, the servo maps in
// millivolts, and the tab order that Enter walks through the grid.
#include <QRadioButton>
#include <QtTest>

#include "app/Application.h"
#include "editor/core/MapPages.h"
#include "tst_editor_fixture.h"

using kestrin::InjectionMap;
using kestrin::gui::UpDown;

namespace {

QString Cell(int r, int c) {
    return QStringLiteral("UpDownMapCell[%1][%2]").arg(r).arg(c);
}

// Percent maps set directly and their words stored, as the defaults leave them.
void SetPercent(EditorFixture& f, InjectionMap m, int cell, int percent) {
    f.maps.percentOf(m)[static_cast<std::size_t>(cell)] = static_cast<std::int16_t>(percent);
    f.maps.StoreToImage(m, f.image);
}

}  // namespace

class TestEditorMap : public QObject {
    Q_OBJECT

private slots:
    void theMapEditorMovesOntoTheActiveMapPage() {
        EditorFixture f;
        for (int page : {1, 2, 7, 11, 12, 6}) {
            f.ShowPage(page);
            QCOMPARE(f.map().parentWidget(), f.sheets[static_cast<std::size_t>(page)]);
            QVERIFY(!f.map().isHidden());
        }
        f.ShowPage(9);
        QCOMPARE(f.map().parentWidget(), f.sheets[6]);
        // The pressure axis stands in for the throttle rows on Inj-IAP only.
        f.ShowPage(7);
        QVERIFY(!f.map().tps(0)->isHidden());
        QVERIFY(f.map().tpsRow(0)->isHidden());
        f.ShowPage(2);
        QVERIFY(f.map().tps(0)->isHidden());
        QVERIFY(!f.map().tpsRow(0)->isHidden());
    }

    void percentCellsGoThroughTheirBaseMap_data() {
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("word");
        QTest::newRow("100 % of 800") << 800 << 100 << 800;
        QTest::newRow("150 % of 333 rounds") << 333 << 150 << 500;
        QTest::newRow("a product above 65535 saturates") << 30000 << 300 << 65535;
    }
    void percentCellsGoThroughTheirBaseMap() {
        QFETCH(int, base);
        QFETCH(int, percent);
        QFETCH(int, word);
        EditorFixture f;
        f.runConsistency = false;  // the pass would cap the words at 30000
        f.baseOverride = base;
        f.image.setByte(47, 0);
        f.ShowPage(3);
        f.Type(Cell(4, 6), QString::number(percent));
        QCOMPARE(int(f.image.word(525 + 15 * 4 + 6)), word);
    }

    void aWordIsShownAsItsRoundedPercent() {
        EditorFixture f;
        f.baseOverride = 333;
        f.image.setWord(1050 + 17, 501);  // Inj-IAP, row 1, column 2
        f.ShowPage(7);
        QCOMPARE(f.map().cell(1, 2)->value(), 150);
        QCOMPARE(int(f.maps.percentOf(InjectionMap::Iap)[17]), 150);
    }

    void coupledInj1AEditsCarryOverToTheOtherInjectors() {
        EditorFixture f;
        f.baseOverride = 1000;
        f.image.setByte(47, 1);
        f.ShowPage(2);  // percents from the image against the fixed base
        SetPercent(f, InjectionMap::Jet1A, 0, 100);
        SetPercent(f, InjectionMap::Jet2A, 0, 100);
        SetPercent(f, InjectionMap::Jet3A, 0, 995);
        SetPercent(f, InjectionMap::Jet4A, 0, 40);
        SetPercent(f, InjectionMap::Jet2A, 1, 77);
        f.Refresh();
        f.Type(Cell(0, 0), "110");
        QCOMPARE(int(f.image.word(375)), 1100);
        QCOMPARE(int(f.image.word(525)), 1100);
        QCOMPARE(int(f.image.word(675)), 10000);  // 995 + 10 held at 1000 %
        QCOMPARE(int(f.image.word(825)), 500);
        QCOMPARE(int(f.image.word(526)), 770);  // an unchanged cell is not carried
        f.Type(Cell(0, 0), "95");
        QCOMPARE(int(f.image.word(675)), 9850);
    }

    void coupledAxisShiftsStayInsideTheAxisByte() {
        EditorFixture f;
        f.runConsistency = false;
        f.image.setByte(47, 1);
        f.image.setByte(480, 10);
        f.image.setByte(495, 248);
        f.image.setByte(510, 4);
        f.image.setByte(525, 100);
        f.ShowPage(2);
        f.Type("UpDownMapRpm[0]", "1500");
        QCOMPARE(f.image.byte(480), 15);
        QCOMPARE(f.image.byte(495), 250);  // 253 held at the highest axis point
        QCOMPARE(f.image.byte(525), 105);
        f.Type("UpDownMapRpm[0]", "300");
        QCOMPARE(f.image.byte(510), 0);  // 4 + 5 - 12 held at 0
    }

    void allEqualKeepsInj2AThroughInj4AEqualToInj1A() {
        EditorFixture f;
        f.baseOverride = 500;  // the four maps' base maps alike: their percents agree too
        f.image.setByte(47, 2);
        f.ShowPage(2);
        f.Type(Cell(3, 3), "130");
        f.Type("UpDownMapRpm[14]", "17000");
        for (int axis : {495, 510, 525})
            for (int c = 0; c < 15; ++c) QCOMPARE(f.image.byte(axis + c), f.image.byte(480 + c));
        for (int first : {525, 675, 825})
            for (int i = 0; i < 150; ++i) QCOMPARE(f.image.word(first + i), f.image.word(375 + i));
        QCOMPARE(f.image.byte(494), 170);
        f.ShowPage(4);
        QCOMPARE(f.map().cell(3, 3)->value(), 130);
        QCOMPARE(f.map().rpm(14)->value(), 17000);
    }

    void allEqualIsReestablishedOnEveryRefresh() {
        EditorFixture f;
        f.ShowPage(5);
        f.image.setByte(47, 2);
        f.image.setWord(825 + 20, 1);
        f.image.setByte(525 + 3, 1);
        f.Refresh();
        QCOMPARE(f.image.word(825 + 20), f.image.word(375 + 20));
        QCOMPARE(f.image.byte(525 + 3), f.image.byte(480 + 3));
    }

    void servoMapsInMillivoltsStepBy20() {
        EditorFixture f;
        f.image.setByte(63, 0);
        f.image.setByte(2550 + 7, 250);
        f.ShowPage(11);
        UpDown* cell = f.map().cell(0, 0);
        QCOMPARE(cell->maximum(), 5000);
        QCOMPARE(cell->singleStep(), 20);
        QCOMPARE(f.map().cell(0, 7)->value(), 5000);
        f.Type(Cell(0, 0), "4990");
        QCOMPARE(f.image.byte(2550), 249);
        // In percent the same page goes to 100 in steps of 1.
        f.image.setByte(63, 1);
        f.Refresh();
        QCOMPARE(cell->maximum(), 100);
        QCOMPARE(cell->singleStep(), 1);
    }

    void theServoPercentSwitchConvertsTheMap() {
        EditorFixture f;
        f.image.setByte(62, 0);
        f.image.setByte(2400, 250);
        f.image.setByte(2401, 0);
        f.ShowPage(12);
        f.map().checkProcenta()->click();
        QCOMPARE(f.image.byte(62), 1);
        QCOMPARE(f.image.byte(2400), 100);
        QCOMPARE(f.image.byte(2401), 0);
        f.map().checkProcenta()->click();
        QCOMPARE(f.image.byte(62), 0);
        QCOMPARE(f.image.byte(2400), 250);
    }

    void theStepMotorIsOffForBike47() {
        EditorFixture f;
        f.image.setByte(0, 47);
        f.image.setByte(66, 1);
        f.ShowPage(11);
        QVERIFY(!f.map().checkStepMotor()->isChecked());
        QCOMPARE(f.image.byte(66), 0);
    }

    void extraParametersFollowThePage_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("par");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("stored");
        QTest::newRow("advance correction") << 1 << 0 << "-15" << 41 << 85;
        QTest::newRow("base advance") << 1 << 4 << "12" << 45 << 12;
        QTest::newRow("switch-over rpm") << 2 << 2 << "2500" << 50 << 25;
        QTest::newRow("IAP cylinder stops at 255") << 7 << 1 << "900" << 53 << 255;
        QTest::newRow("intake hysteresis") << 11 << 0 << "400" << 61 << 80;
        QTest::newRow("exhaust hysteresis") << 12 << 0 << "35" << 60 << 7;
        QTest::newRow("excitation") << 11 << 3 << "2750" << 78 << 11;
    }
    void extraParametersFollowThePage() {
        QFETCH(int, page);
        QFETCH(int, par);
        QFETCH(QString, typed);
        QFETCH(int, at);
        QFETCH(int, stored);
        EditorFixture f;
        f.image.setByte(77, 100);  // a long step period lets the excitation through
        f.ShowPage(page);
        f.Type(QStringLiteral("UpDownMapPar[%1]").arg(par), typed);
        QCOMPARE(int(f.image.byte(at)), stored);
    }

    void servoSwitchesWriteTheirPagesByte_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("enableByte");
        QTest::addColumn<int>("modeByte");
        QTest::newRow("intake") << 11 << 59 << 65;
        QTest::newRow("exhaust") << 12 << 58 << 64;
    }
    void servoSwitchesWriteTheirPagesByte() {
        QFETCH(int, page);
        QFETCH(int, enableByte);
        QFETCH(int, modeByte);
        EditorFixture f;
        f.ShowPage(page);
        const int snapshots = f.snapshots;
        f.map().servoMode()->button(2)->click();
        QCOMPARE(int(f.image.byte(modeByte)), 2);
        const bool on = f.image.byte(enableByte) != 0;
        f.map().checkServoEnable()->click();
        QCOMPARE(f.image.byte(enableByte) != 0, !on);
        QCOMPARE(f.snapshots, snapshots + 2);
        QVERIFY(!f.map().isHidden());
    }

    void theAllCheckBoxKeepsOneStatePerPage() {
        EditorFixture f;
        f.ShowPage(1);
        f.map().checkAll()->click();
        QVERIFY(f.ed().pageAllFlags()[1]);
        f.ShowPage(6);
        QVERIFY(!f.map().checkAll()->isChecked());
        f.ShowPage(1);
        QVERIFY(f.map().checkAll()->isChecked());
    }

    void theAdvanceTpsSwitchIsByte40() {
        EditorFixture f;
        f.ShowPage(1);
        const bool on = f.image.byte(40) != 0;
        f.map().checkTps()->click();
        QCOMPARE(f.image.byte(40) != 0, !on);
        QVERIFY(!f.map().isHidden());
    }

    void thePressureAxisIsEditedOnInjIap() {
        EditorFixture f;
        f.ShowPage(7);
        f.Type("UpDownMapTps[3]", "72");
        QCOMPARE(int(f.image.word(195)), 72);
        QVERIFY(!f.map().tps(3)->isGroupSeparatorShown());
    }

    void byteCellsAreStoredOnTheirPage_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("advance") << 1 << 600 << 33 << 33;
        QTest::newRow("advance above 60") << 1 << 600 << 75 << 60;
        QTest::newRow("B injectors") << 6 << 1950 << 64 << 64;
    }
    void byteCellsAreStoredOnTheirPage() {
        QFETCH(int, page);
        QFETCH(int, first);
        QFETCH(int, typed);
        QFETCH(int, stored);
        EditorFixture f;
        f.ShowPage(page);
        f.Type(Cell(9, 14), QString::number(typed));
        QCOMPARE(int(f.image.byte(first + 149)), stored);
    }

    void enterWalksTheGridRowByRow() {
        EditorFixture f;
        f.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.ShowPage(2);
        QCoreApplication::processEvents();
        auto enterIn = [&](UpDown* u) {
            u->setFocus();
            QTest::keyClick(u, Qt::Key_Return);
            return QApplication::focusWidget();
        };
        QCOMPARE(enterIn(f.map().rpm(14)), f.map().cell(0, 0));
        for (int r = 0; r + 1 < 10; ++r)
            QCOMPARE(enterIn(f.map().cell(r, 14)), f.map().cell(r + 1, 0));
        QCOMPARE(enterIn(f.map().cell(5, 3)), f.map().cell(5, 4));
    }

    void changingThePageDiscardsTypingThatWasNotCommitted() {
        EditorFixture f;
        f.ShowPage(1);
        const int byte = f.image.byte(600 + 16);
        f.map().cell(1, 1)->edit()->setText("59");
        f.ShowPage(0);
        f.ShowPage(1);
        QCOMPARE(int(f.image.byte(600 + 16)), byte);
        QCOMPARE(f.map().cell(1, 1)->value(), byte);
        QCOMPARE(f.map().cell(1, 1)->edit()->text(), QString::number(byte));
    }

    void aMapPageTheEditorDoesNotShowYetIsNotRead() {
        EditorFixture f;
        f.image.setByte(47, 0);  // separate injectors: Inj-3A keeps its own percents
        f.ShowPage(2);
        f.Type(Cell(0, 0), "120");
        const kestrin::ParameterImage before = f.image;
        f.ed().SelectPage(4);
        QCOMPARE(f.ed().ActivePage(), 4);
        f.ed().ControlsToImage();
        QVERIFY(f.image == before);
        f.Refresh();
        QCOMPARE(f.map().page(), 4);
        QCOMPARE(f.map().parentWidget(), f.sheets[4]);
    }

    void toolControlsAnnounceThemselves() {
        EditorFixture f;
        QStringList seen;
        QObject::connect(
            &f.ed(), &kestrin::gui::Editor::ToolClicked,
            [&](const QString& name, int d) { seen << QStringLiteral("%1 %2").arg(name).arg(d); });
        emit f.map().columnSpin(4)->upClicked();
        emit f.map().allSpin()->downClicked();
        f.find<QPushButton>("ButtonTps100")->click();
        QCOMPARE(seen, (QStringList{"CSpinButtonMapColumn[4] 1", "CSpinButtonMapAll -1",
                                    "ButtonTps100 0"}));
    }
};

int main(int argc, char** argv) {
    kestrin::gui::Application app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TestEditorMap test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_editor_map.moc"

// The settings pages: every control bound to its field, both copy directions with their
// conversions, the Enter key and clicks that commit a page, the note, the bike list, the radio
// groups and the check boxes.
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include "app/Application.h"
#include "editor/core/Note.h"
#include "editor/core/PageTables.h"
#include "model/Bikes.h"
#include "tst_editor_fixture.h"

using kestrin::ParameterImage;
using kestrin::gui::RadioGroup;
using kestrin::gui::UpDown;

class TestEditorBinding : public QObject {
    Q_OBJECT

private slots:
    void everyControlFindsItsFieldAndEveryFieldItsControl() {
        EditorFixture f;
        QVERIFY2(f.ed().unresolvedControls().empty(),
                 f.ed().unresolvedControls().empty() ? "" : f.ed().unresolvedControls()[0].c_str());
        for (const kestrin::Field& field : kestrin::Fields()) {
            if (field.controlForm == kestrin::ControlForm::None || field.page < 0) continue;
            if (field.control == "Menu_Jet123Mode") continue;  // a menu of the main window
            for (int e = 0; e < field.count; ++e) {
                const QString name = QString::fromStdString(kestrin::ControlName(field, e));
                QVERIFY2(f.find(name), qPrintable(name));
            }
        }
    }

    // Each up-down of a one-byte field stops where the byte ends.
    void upDownsOfByteFieldsStopAtTheirByte() {
        EditorFixture f;
        int checked = 0;
        for (UpDown* u : f.window.findChildren<UpDown*>()) {
            const QString edit = u->edit()->objectName();
            for (int page = 0; page < 19; ++page) {
                const auto fe = kestrin::FindByControl(edit.toStdString(), page);
                if (!fe.field || fe.field->width != kestrin::Width::Byte ||
                    fe.field->kind == kestrin::FieldKind::MapCells)
                    continue;
                const kestrin::Conversion c = fe.field->editor;
                QVERIFY2((u->maximum() - c.offset) / c.scale <= 255, qPrintable(edit));
                ++checked;
                break;
            }
        }
        QVERIFY(checked > 100);
        QCOMPARE(f.upDown("UpDownLadeniKrok")->maximum(), 255);
        QCOMPARE(f.upDown("UpDownLadeniMaxAcc")->maximum(), 255);
        f.ShowPage(17);
        f.Type("UpDownLadeniKrok", "2000");
        QCOMPARE(f.image.byte(348), 255);
    }

    void sheetsStandInPageOrderWhateverOrderTheyCameIn() {
        EditorFixture f({0, 8, 9, 10, 13, 14, 15, 16, 17, 18, 1, 2, 3, 4, 5, 6, 7, 11, 12});
        QCOMPARE(f.tabs->count(), 19);
        for (int k = 0; k < 19; ++k) {
            QCOMPARE(f.tabs->widget(k), f.sheets[static_cast<std::size_t>(k)]);
            f.tabs->setCurrentIndex(k);
            QCOMPARE(f.ed().ActivePage(), k);
        }
        QCOMPARE(f.tabs->tabText(7), QString("Inj-IAP"));
        QCOMPARE(f.tabs->tabText(9), QString("Corrections"));
    }

    void typedValuesAreStoredByTheirConversion_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("upDown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("word");  // -1: a byte field
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("signed -60") << 0 << "UpDownRpmKorekce"
                                    << "-60" << -1 << 37 << 40 << -60;
        QTest::newRow("TPS 100 % low end") << 10 << "UpDownTps100"
                                           << "2500" << -1 << 34 << 0 << 2500;
        QTest::newRow("TPS 100 % high end") << 10 << "UpDownTps100"
                                            << "5000" << -1 << 34 << 250 << 5000;
        QTest::newRow("x 100 drops the rest") << 0 << "UpDownStartLimiter1"
                                              << "12345" << -1 << 28 << 123 << 12300;
        QTest::newRow("grouped text") << 0 << "UpDownIgnLimiter"
                                      << "12,300" << -1 << 29 << 123 << 12300;
        QTest::newRow("plus 100") << 9 << "UpDownSyticKorekce0"
                                  << "300" << -1 << 71 << 200 << 300;
        QTest::newRow("advance correction") << 9 << "UpDownIgnVoda[2]"
                                            << "-20" << -1 << 95 << 80 << -20;
        QTest::newRow("x 5") << 15 << "UpDownClutchTime[1]"
                             << "1250" << -1 << 122 << 250 << 1250;
        QTest::newRow("above the range") << 15 << "UpDownClutchJet"
                                         << "150" << -1 << 134 << 100 << 100;
        QTest::newRow("word") << 9 << "UpDownAccT100"
                              << "12340" << 168 << 0 << 12340 << 12340;
        QTest::newRow("word of an array") << 16 << "UpDownGearPomer[5]"
                                          << "31999" << 86 << 0 << 31999 << 31999;
        QTest::newRow("x 250") << 13 << "UpDownIdleStepPuls"
                               << "1300" << -1 << 294 << 5 << 1250;
        QTest::newRow("lambda bar") << 18 << "UpDownLambdaBar3"
                                    << "195" << -1 << 375 << 195 << 195;
    }
    void typedValuesAreStoredByTheirConversion() {
        QFETCH(int, page);
        QFETCH(QString, upDown);
        QFETCH(QString, typed);
        QFETCH(int, word);
        QFETCH(int, at);
        QFETCH(int, stored);
        QFETCH(int, shown);
        EditorFixture f;
        f.ShowPage(page);
        f.Type(upDown, typed);
        QCOMPARE(word >= 0 ? f.image.word(word) : f.image.byte(at), stored);
        UpDown* u = f.upDown(upDown);
        QCOMPARE(u->value(), shown);
        QCOMPARE(u->edit()->text(), u->Formatted(shown));
    }

    void imageValuesAreShownByTheirConversion_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("upDown");
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("signed") << 0 << "UpDownRpmKorekce" << 37 << 160 << 60;
        QTest::newRow("TPS 100 % at 0") << 10 << "UpDownTps100" << 34 << 0 << 2500;
        QTest::newRow("x 100") << 16 << "UpDownGearAutoRpm" << 155 << 45 << 4500;
        QTest::newRow("x 50") << 13 << "UpDownIdleAdvPoz[8]" << 329 << 30 << 1500;
    }
    void imageValuesAreShownByTheirConversion() {
        QFETCH(int, page);
        QFETCH(QString, upDown);
        QFETCH(int, at);
        QFETCH(int, stored);
        QFETCH(int, shown);
        EditorFixture f;
        f.ShowPage(page);
        f.image.setByte(at, static_cast<std::uint8_t>(stored));
        f.Refresh();
        QCOMPARE(f.upDown(upDown)->value(), shown);
    }

    void enterCommitsAndMovesTheFocusWithoutReachingTheEdit() {
        EditorFixture f;
        f.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.Refresh();
        UpDown* u = f.upDown("UpDownStartLimiter1");
        u->setFocus();
        QSignalSpy returnPressed(u->edit(), &QLineEdit::returnPressed);
        const int snapshots = f.snapshots;
        u->edit()->setText("9000");
        QTest::keyClick(u, Qt::Key_Return);
        QCOMPARE(f.image.byte(28), 90);
        QCOMPARE(returnPressed.count(), 0);
        QCOMPARE(QApplication::focusWidget(), f.find("UpDownStartLimiter2"));
        QCOMPARE(f.snapshots, snapshots + 1);
        // Other keys reach the edit as usual.
        QKeyEvent five(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5");
        QVERIFY(!f.ed().FormKeyPress(u, &five));
    }

    void aClickIntoAnEditCommitsThePage() {
        EditorFixture f;
        f.window.show();
        f.Refresh();
        f.upDown("UpDownStartLimiter1")->edit()->setText("9000");
        QTest::mouseClick(f.upDown("UpDownJetLimiter")->edit(), Qt::LeftButton);
        QCOMPARE(f.image.byte(28), 90);
    }

    void anArrowClickCommitsThePage() {
        EditorFixture f;
        f.ShowPage(9);
        f.upDown("UpDownKorVoda[1]")->edit()->setText("120");
        f.upDown("UpDownAkcelPrah")->stepBy(1);
        QCOMPARE(f.image.byte(81), 120);
        QCOMPARE(f.image.byte(90), 31);  // 300 + 10 stored / 10
    }

    void textThatIsNoNumberLeavesTheFieldAndShowsTheImageAgain() {
        EditorFixture f;
        f.image.setByte(28, 100);
        f.Refresh();
        UpDown* u = f.upDown("UpDownStartLimiter1");
        f.Type("UpDownStartLimiter1", "abc");
        QCOMPARE(f.image.byte(28), 100);
        QCOMPARE(u->edit()->text(), u->Formatted(10000));
    }

    void aRefreshLeavesUpDownsThatShowTheirValueUntouched() {
        EditorFixture f;
        f.Refresh();
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        const QList<UpDown*> page = f.sheets[0]->findChildren<UpDown*>();
        for (UpDown* u : page)
            spies.push_back(std::make_unique<QSignalSpy>(u->edit(), &QLineEdit::textChanged));
        f.Type("UpDownIgnLimiter", "10000");
        for (int i = 0; i < page.size(); ++i)
            QCOMPARE(spies[static_cast<std::size_t>(i)]->count(),
                     page[i]->objectName() == "UpDownIgnLimiter" ? 1 : 0);
    }

    void pilotLightRowsShowTheirStartBeforeTheFirstRefresh() {
        EditorFixture f;
        for (const char* array : {"UpDownPilotLight1", "UpDownPilotLight2"})
            for (int i = 0; i < 6; ++i)
                QCOMPARE(f.upDown(QStringLiteral("%1[%2]").arg(array).arg(i))->value(), 15000);
        QCOMPARE(f.upDown("UpDownSyticCas3")->value(), 15);
        QCOMPARE(f.upDown("UpDownLambdaBar2")->value(), 200);
    }

    void controlsAreNotReadWhileRefreshing() {
        EditorFixture f;
        f.image.setByte(28, 100);
        bool inside = false;
        f.onLayout = [&] {
            inside = f.ed().refreshing();
            // A control changed while the page is refreshed must not reach the image.
            f.upDown("UpDownStartLimiter1")->edit()->setText("9000");
            f.ed().ControlsToImage();
        };
        f.Refresh();
        QVERIFY(inside);
        QVERIFY(!f.ed().refreshing());
        QCOMPARE(f.image.byte(28), 100);
    }

    void theNoteIsStoredLineByLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("three lines") << "ab\n\nc" << QByteArray("ab\0\0c\0", 6);
        QTest::newRow("empty") << "" << QByteArray();
        QTest::newRow("Czech letters")
            << QString::fromUtf8("Čtyřtakt") << QByteArray("\xC8ty\xF8takt\0", 9);
        QTest::newRow("empty lines at the end are dropped") << "x\n\n" << QByteArray("x\0\0", 3);
    }
    void theNoteIsStoredLineByLine() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        EditorFixture f;
        for (int i = 0; i < 150; ++i) f.image.setByte(2700 + i, 0x55);
        f.ed().memo1()->setPlainText(text);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(f.ed().memo1(), &leave);
        for (int i = 0; i < 150; ++i)
            QCOMPARE(f.image.byte(2700 + i),
                     i < bytes.size() ? static_cast<std::uint8_t>(bytes[i]) : 0);
        f.ed().memo1()->setPlainText("something else");
        f.Refresh();
        QString expected = text;
        while (expected.endsWith('\n')) expected.chop(1);
        QCOMPARE(f.ed().memo1()->toPlainText(), expected);
    }

    void theNoteHoldsAtMost149Characters() {
        EditorFixture f;
        f.ed().memo1()->setPlainText(QString(200, 'x'));
        QCOMPARE(f.ed().memo1()->toPlainText().size(), 149);
        f.ed().ControlsToImage();
        QCOMPARE(f.image.byte(2848), 'x');
        QCOMPARE(f.image.byte(2849), 0);
    }

    void theBikeListShowsTheCatalogueAndStoresTheCode() {
        EditorFixture f;
        QComboBox* bikes = f.ed().comboBoxBike();
        QCOMPARE(bikes->count(), 61);
        f.Refresh();
        QCOMPARE(bikes->currentIndex(), kestrin::CatalogueIndexOfCode(11));
        bikes->setCurrentIndex(5);
        EditorFixture::PressEnter(bikes);
        QCOMPARE(int(f.image.byte(0)), *kestrin::BikeCodeOfIndex(5));
        f.image.setByte(0, 60);
        f.Refresh();
        QCOMPARE(bikes->currentIndex(), kestrin::kUnsupportedIndex);
        QVERIFY(!f.shownMessages.empty());
        QCOMPARE(f.shownMessages.back(), kestrin::MsgBikeNotSupported);
        // The separator stands for no code: committing it leaves the byte.
        f.ed().ControlsToImage();
        QCOMPARE(f.image.byte(0), 60);
        emit bikes->activated(7);
        QCOMPARE(f.bikesPicked, std::vector<int>{7});
    }

    void radioGroupsWriteTheirByteAtOnce_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("radio");
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("at");
        QTest::addColumn<bool>("layout");
        QTest::newRow("position A") << 8 << "RadioGroupPolohaA" << 1 << 56 << false;
        QTest::newRow("position B") << 8 << "RadioGroupPolohaB" << 0 << 57 << false;
        QTest::newRow("gear system") << 16 << "RadioGroupGearSystem" << 3 << 136 << true;
        QTest::newRow("clutch mode") << 15 << "RadioGroupClutchMode" << 1 << 120 << true;
        QTest::newRow("speed mode") << 16 << "RadioGroupSpeedMode" << 1 << 138 << true;
        QTest::newRow("potentiometer") << 10 << "RadioGroupPotencMode" << 2 << 75 << true;
        QTest::newRow("tuning mode") << 17 << "RadioGroupLadeniMode" << 1 << 340 << true;
    }
    void radioGroupsWriteTheirByteAtOnce() {
        QFETCH(int, page);
        QFETCH(QString, radio);
        QFETCH(int, item);
        QFETCH(int, at);
        QFETCH(bool, layout);
        EditorFixture f;
        f.ShowPage(page);
        f.image.setByte(at, static_cast<std::uint8_t>(item == 0 ? 1 : 0));
        f.Refresh();
        const int snapshots = f.snapshots;
        const int layouts = f.layouts;
        f.find<RadioGroup>(radio)->button(item)->click();
        QCOMPARE(int(f.image.byte(at)), item);
        QCOMPARE(f.snapshots, snapshots + 1);
        QCOMPARE(f.layouts, layouts + (layout ? 1 : 0));
    }

    void theTuningModeIsWrittenOnlyByItsClick() {
        EditorFixture f;
        f.ShowPage(17);
        f.image.setByte(340, 0);
        f.Refresh();
        f.find<RadioGroup>("RadioGroupLadeniMode")->setItemIndex(1);
        f.Type("UpDownLadeniLambda", "150");
        QCOMPARE(f.image.byte(342), 150);
        QCOMPARE(f.image.byte(340), 0);
    }

    void theLambdaTypeBringsItsCurve() {
        EditorFixture f;
        f.ShowPage(10);
        auto* type = f.find<RadioGroup>("RadioGroupCidloLambdaMode");
        type->button(1)->click();
        QCOMPARE(f.image.byte(352), 1);
        const int af[] = {100, 120, 140, 160, 180};
        const int mv[] = {0, 1190, 2500, 3750, 5000};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(int(f.image.byte(353 + i)), af[i]);
            QCOMPARE(int(f.image.word(179 + i)), mv[i]);
            QCOMPARE(f.upDown(QStringLiteral("UpDownCidloLambdaNap[%1]").arg(i))->value(), mv[i]);
        }
        type->button(0)->click();
        QCOMPARE(f.image.word(179), 900);
        QCOMPARE(f.upDown("UpDownCidloLambdaAf[1]")->value(), 130);
    }

    void theIdleModeConvertsTheServoCurve_data() {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("leaving the intake servo") << 1 << 1 << 2 << 20 << 1000;
        QTest::newRow("entering the intake servo") << 1 << 2 << 1 << 1000 << 20;
        QTest::newRow("servo in steps") << 0 << 1 << 2 << 20 << 20;
        QTest::newRow("other modes") << 1 << 0 << 3 << 20 << 20;
        QTest::newRow("no wrap above 65535") << 1 << 1 << 0 << 2000 << 65535;
    }
    void theIdleModeConvertsTheServoCurve() {
        QFETCH(int, percent);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, before);
        QFETCH(int, after);
        EditorFixture f;
        f.ShowPage(13);
        f.image.setByte(63, static_cast<std::uint8_t>(percent));
        f.image.setByte(290, static_cast<std::uint8_t>(from));
        for (int i = 0; i < 9; ++i) f.image.setWord(149 + i, static_cast<std::uint16_t>(before));
        f.Refresh();
        const int snapshots = f.snapshots;
        f.find<RadioGroup>("RadioGroupIdleMode")->button(to)->click();
        QCOMPARE(int(f.image.byte(290)), to);
        for (int i = 0; i < 9; ++i) QCOMPARE(int(f.image.word(149 + i)), after);
        QCOMPARE(f.snapshots, snapshots);
    }

    void checkBoxesCommitTheirPage() {
        EditorFixture f;
        f.Refresh();
        const int layouts = f.layouts;
        auto* aktRpm = f.find<QCheckBox>("CheckBoxAktRpm");
        const bool was = aktRpm->isChecked();
        aktRpm->click();
        QCOMPARE(f.image.byte(27) != 0, !was);
        QVERIFY(f.layouts > layouts);
        auto* prog = f.ed().checkBoxProgHned();
        prog->click();
        QCOMPARE(prog->palette().color(QPalette::Window), QColor(Qt::red));
        prog->click();
        QVERIFY(prog->palette().color(QPalette::Window) != QColor(Qt::red));
    }

    void enterOnTheN2oSwitchCommitsItsPage() {
        EditorFixture f;
        f.ShowPage(14);
        auto* gas = f.find<QCheckBox>("CheckBoxGas");
        gas->setChecked(!gas->isChecked());
        EditorFixture::PressEnter(gas);
        QCOMPARE(f.image.byte(98) != 0, gas->isChecked());
    }

    void theTuningSwitchIsNoImageField() {
        EditorFixture f;
        f.ShowPage(17);
        const ParameterImage before = f.image;
        f.ed().checkBoxLadeniPovoleno()->click();
        QCOMPARE(f.tuning, std::vector<bool>{true});
        QVERIFY(f.image == before);
    }

    void outputTestButtonsNameThemselves() {
        EditorFixture f;
        f.find<QPushButton>("ButtonTestIgn3")->click();
        f.find<QPushButton>("ButtonTestServoExMinus")->click();
        QCOMPARE(f.outputTests, (std::vector<QString>{"ButtonTestIgn3", "ButtonTestServoExMinus"}));
    }

    void changingThePageDiscardsWhatWasNotCommitted() {
        EditorFixture f;
        f.Refresh();
        UpDown* u = f.upDown("UpDownJetLimiter");
        const int shown = u->value();
        u->edit()->setText("900");
        f.ShowPage(9);
        f.ShowPage(0);
        QCOMPARE(u->edit()->text(), u->Formatted(shown));
        QCOMPARE(100 * f.image.byte(30), shown);
    }
};

int main(int argc, char** argv) {
    kestrin::gui::Application app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TestEditorBinding test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_editor_binding.moc"

// The pages as the rider sees them at the default window size: every control inside its box,
// no control over another, no caption cut short. With KESTRIN_SCREENSHOT_DIR set, the pages are
// also saved as PNG files there for a look by eye.
#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QtTest>

#include "app/Application.h"
#include "tst_editor_fixture.h"

using kestrin::gui::UpDown;

namespace {

bool Overlays(const QWidget* a, const QWidget* b) {
    // A cell's millisecond label sits over the cell's edit on purpose.
    auto isCellLabel = [](const QWidget* w) { return w->objectName().startsWith("LabelMapCell["); };
    auto isCell = [](const QWidget* w) { return w->objectName().startsWith("UpDownMapCell["); };
    return (isCellLabel(a) && isCell(b)) || (isCellLabel(b) && isCell(a));
}

// Problems of the visible controls below `root`: outside the parent, on top of a sibling, or
// narrower than their text needs.
QStringList LayoutProblems(QWidget* root) {
    QStringList problems;
    const QList<QWidget*> all = root->findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (!w->isVisibleTo(root) || w->objectName().isEmpty()) continue;
        if (w->objectName().startsWith("qt_")) continue;
        const QRect inParent(QPoint(0, 0), w->parentWidget()->size());
        if (!inParent.contains(w->geometry()))
            problems << QStringLiteral("%1 outside its parent").arg(w->objectName());
        const bool text = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w);
        if (text && w->width() < w->sizeHint().width())
            problems << QStringLiteral("%1 cut short").arg(w->objectName());
        if (qobject_cast<UpDown*>(w) && w->width() < w->minimumSizeHint().width())
            problems << QStringLiteral("%1 too narrow").arg(w->objectName());
    }
    for (QWidget* parent : root->findChildren<QWidget*>()) {
        QList<QWidget*> kids;
        for (QObject* o : parent->children())
            if (auto* w = qobject_cast<QWidget*>(o); w && w->isVisibleTo(root) && !w->isWindow())
                kids << w;
        for (int i = 0; i < kids.size(); ++i)
            for (int j = i + 1; j < kids.size(); ++j)
                if (kids[i]->geometry().intersects(kids[j]->geometry()) &&
                    !Overlays(kids[i], kids[j]))
                    problems << QStringLiteral("%1 over %2")
                                    .arg(kids[i]->objectName(), kids[j]->objectName());
    }
    return problems;
}

}  // namespace

class TestEditorScreens : public QObject {
    Q_OBJECT

private slots:
    void everyPageFitsTheDefaultWindow() {
        EditorFixture f;
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.Refresh();
        const QString shots = qEnvironmentVariable("KESTRIN_SCREENSHOT_DIR");
        for (int page = 0; page < 19; ++page) {
            f.ShowPage(page);
            QCoreApplication::processEvents();
            QCOMPARE(f.window.size(), QSize(1280, 760));
            if (!shots.isEmpty())
                f.window.grab().save(QDir(shots).filePath(QStringLiteral("page%1.png").arg(page)));
            const QStringList problems = LayoutProblems(f.sheets[static_cast<std::size_t>(page)]);
            QVERIFY2(
                problems.isEmpty(),
                qPrintable(
                    QStringLiteral("page %1: %2").arg(page).arg(problems.mid(0, 12).join(", "))));
        }
    }
};

int main(int argc, char** argv) {
    kestrin::gui::Application app(argc, argv);
    TestEditorScreens test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_editor_screens.moc"

// Time of one committed edit (the page's controls into the image, then the consistency pass,
// two refreshes and the snapshot) on a map page and on a settings page. Prints figures only.
#include <QApplication>
#include <chrono>
#include <cstdio>

#include "../gui/tst_editor_fixture.h"

namespace {

struct Case {
    const char* what;
    int page;
    const char* upDown;
    int low;
    int high;
    bool coupled = false;
};

constexpr Case kCases[] = {
    {"map page Inj-1A (percent cells)", 2, "UpDownMapCell[4][7]", 100, 120},
    {"map page Advance (byte cells)", 1, "UpDownMapCell[4][7]", 20, 30},
    {"map page Inj-1A, coupled", 2, "UpDownMapCell[4][7]", 100, 120, true},
    {"settings page Bike", 0, "UpDownIgnLimiter", 10000, 12000},
    {"settings page Korekce", 9, "UpDownKorVoda[2]", 90, 110},
};

double MicrosecondsPerEdit(const Case& c, int edits) {
    EditorFixture f;
    if (c.coupled) f.image.setByte(47, 1);
    f.ShowPage(c.page);
    f.Refresh();
    kestrin::gui::UpDown* u = f.upDown(c.upDown);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < edits; ++i) {
        u->edit()->setText(QString::number(i % 2 ? c.high : c.low));
        f.ed().ControlsToImage();
        f.ed().ValueChanged();
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration<double, std::micro>(elapsed).count() / edits;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int kEdits = 200;
    std::printf("One committed edit: ControlsToImage + ValueChanged, mean of %d\n", kEdits);
    for (const Case& c : kCases)
        std::printf("  %-36s %9.1f us\n", c.what, MicrosecondsPerEdit(c, kEdits));
    return 0;
}

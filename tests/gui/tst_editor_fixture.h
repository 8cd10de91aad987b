#pragma once
// A window shaped like the main window (menu, command row, 19 tab sheets, status line) that
// hosts the editor on the model of bike 11 with its defaults, for the editor's tests, its
// benchmark and its screenshots.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "editor/Editor.h"
#include "editor/MapEditor.h"
#include "editor/Widgets.h"
#include "model/Consistency.h"
#include "model/Defaults.h"

struct EditorFixture {
    static constexpr std::array<const char*, 19> kSheetNames{
        "TabSheet_Bike",    "TabSheetPage[1]",  "TabSheetPage[2]", "TabSheetPage[3]",
        "TabSheetPage[4]",  "TabSheetPage[5]",  "TabSheetPage[6]", "TabSheetPage[7]",
        "TabSheet_Poloha",  "TabSheet_Korekce", "TabSheet_Cidla",  "TabSheetPage[11]",
        "TabSheetPage[12]", "TabSheet_Idle",    "TabSheet_Gas",    "TabSheet_Race",
        "TabSheet_Gear",    "TabSheet_Ladeni",  "TabSheet_Monitor"};
    static constexpr std::array<const char*, 19> kCaptions{
        "Bike",    "Advance",  "Inj-1A",      "Inj-2A",  "Inj-3A",       "Inj-4A",        "Inj-B",
        "Inj-IAP", "Position", "Corrections", "Sensors", "Intake Servo", "Exhaust Servo", "Idle",
        "N2O",     "Race",     "Gear",        "Tuning",  "Monitor"};

    kestrin::ParameterImage image;
    kestrin::InjectionMapSet maps;
    kestrin::MessageSlots messages;
    kestrin::BikeSelection bike;
    kestrin::ProgramIndexes indexes;
    QMainWindow window;
    QTabWidget* tabs = nullptr;
    std::array<QWidget*, 19> sheets{};
    std::unique_ptr<kestrin::gui::Editor> editor;

    int snapshots = 0;
    int layouts = 0;
    int baseOverride = 0;  // > 0: every base value is this instead of the bike's tables
    bool runConsistency = true;
    std::function<void()> onLayout;  // runs inside the page layout step
    std::vector<kestrin::MsgId> shownMessages;
    std::vector<QString> outputTests;
    std::vector<int> bikesPicked;
    std::vector<bool> tuning;

    // Sheets may be handed over in another tab order than their page order.
    explicit EditorFixture(const std::vector<int>& tabOrder = {}) {
        window.resize(1280, 760);
        auto* central = new QWidget(&window);
        auto* v = new QVBoxLayout(central);
        v->setContentsMargins(4, 4, 4, 0);
        auto* commands = new QHBoxLayout;
        for (const char* b : {"&Read", "&Verify", "&Program"}) {
            auto* button = new QPushButton(b, central);
            button->setMinimumWidth(90);
            commands->addWidget(button);
        }
        commands->addSpacing(16);
        commands->addWidget(new QLabel("File:", central));
        commands->addStretch(1);
        v->addLayout(commands);
        tabs = new QTabWidget(central);
        tabs->setObjectName("PageControl1");
        v->addWidget(tabs, 1);
        auto* status = new QHBoxLayout;
        status->addWidget(new QLabel("COM= ", central));
        status->addStretch(1);
        v->addLayout(status);
        window.setCentralWidget(central);
        window.menuBar()->addMenu("&File");
        window.menuBar()->addMenu("&Ignition");
        window.setStatusBar(new QStatusBar(&window));

        for (int k = 0; k < 19; ++k) {
            sheets[static_cast<std::size_t>(k)] = new QWidget(tabs);
            sheets[static_cast<std::size_t>(k)]->setObjectName(
                kSheetNames[static_cast<std::size_t>(k)]);
            new QVBoxLayout(sheets[static_cast<std::size_t>(k)]);
        }
        std::vector<int> order = tabOrder;
        if (order.empty())
            for (int k = 0; k < 19; ++k) order.push_back(k);
        for (int k : order)
            tabs->addTab(sheets[static_cast<std::size_t>(k)],
                         kCaptions[static_cast<std::size_t>(k)]);

        image.setByte(0, 11);
        kestrin::LoadDefaults(kestrin::kAllPages, image, maps, bike);
        kestrin::ProgramIndexes settings;
        kestrin::ConsistencyPass(image, kestrin::ConsistencyFlagsOf(image, bike), settings);

        kestrin::gui::EditorContext ctx(image, maps, messages);
        ctx.pageControl = tabs;
        ctx.sheets = sheets;
        ctx.consistencyPass = [this] {
            if (runConsistency)
                kestrin::ConsistencyPass(image, kestrin::ConsistencyFlagsOf(image, bike), indexes);
        };
        ctx.computeBaseMaps = [this] {
            if (baseOverride > 0) {
                for (auto& b : maps.base) b.fill(static_cast<std::uint16_t>(baseOverride));
                return;
            }
            kestrin::ComputeBaseMaps(image, bike.tables, maps);
        };
        ctx.undoSnapshot = [this] { ++snapshots; };
        ctx.updatePageLayout = [this] {
            ++layouts;
            if (onLayout) onLayout();
        };
        ctx.showMessage = [this](kestrin::MsgId id) { shownMessages.push_back(id); };
        ctx.outputTest = [this](const QString& name) { outputTests.push_back(name); };
        ctx.bikePicked = [this](int index) { bikesPicked.push_back(index); };
        ctx.tuningSwitched = [this](bool on) { tuning.push_back(on); };
        editor = std::make_unique<kestrin::gui::Editor>(ctx);
    }

    kestrin::gui::Editor& ed() { return *editor; }
    kestrin::gui::MapEditor& map() { return editor->mapEditor(); }

    template <class T = QWidget>
    T* find(const QString& name) {
        return window.findChild<T*>(name);
    }
    kestrin::gui::UpDown* upDown(const QString& name) { return find<kestrin::gui::UpDown>(name); }

    // Shows page `page` the way a click on its tab does.
    void ShowPage(int page) { tabs->setCurrentWidget(sheets[static_cast<std::size_t>(page)]); }
    void Refresh() { editor->ImageToControls(); }

    // Types `text` into the edit of an up-down and presses Enter there.
    void Type(const QString& upDown, const QString& text) {
        kestrin::gui::UpDown* u = this->upDown(upDown);
        u->edit()->setText(text);
        PressEnter(u);
    }
    static void PressEnter(QWidget* w) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(w, &press);
    }
};

#include "app/FormHlav.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/Dialogs.h"
#include "app/MonitorPage.h"
#include "app/SerialPortLine.h"
#include "editor/Editor.h"
#include "model/Bikes.h"
#include "model/Consistency.h"

using namespace kestrin;
using kestrin::gui::Dialogs;

namespace {

constexpr int kTickMs = 55;
constexpr int kNoteLimit = 149;

// The 19 pages in tab order: designed settings pages carry their own names, the map pages
// built at run time are known by their index.
struct PageDef {
    const char* objectName;
    const char* caption;
};
constexpr std::array<PageDef, kPageTotal> kPages{{
    {"TabSheet_Bike", "Bike"},
    {"TabSheetPage[1]", "Advance"},
    {"TabSheetPage[2]", "Inj-1A"},
    {"TabSheetPage[3]", "Inj-2A"},
    {"TabSheetPage[4]", "Inj-3A"},
    {"TabSheetPage[5]", "Inj-4A"},
    {"TabSheetPage[6]", "Inj-B"},
    {"TabSheetPage[7]", "Inj-IAP"},
    {"TabSheet_Poloha", "Position"},
    {"TabSheet_Korekce", "Corrections"},
    {"TabSheet_Cidla", "Sensors"},
    {"TabSheetPage[11]", "Intake Servo"},
    {"TabSheetPage[12]", "Exhaust Servo"},
    {"TabSheet_Idle", "Idle"},
    {"TabSheet_Gas", "N2O"},
    {"TabSheet_Race", "Race"},
    {"TabSheet_Gear", "Gear"},
    {"TabSheet_Ladeni", "Tuning"},
    {"TabSheet_Monitor", "Monitor"},
}};

// The command-line words that choose a language, compared exactly.
constexpr std::array<std::pair<const char*, int>, 4> kLanguageWords{
    {{"ENGLISH", English}, {"FRENCH", French}, {"DEUTSCH", German}, {"CESKY", Czech}}};

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

TFormHlav::TFormHlav(const QStringList& arguments, QWidget* parent)
    : TFormHlav(arguments, nullptr, parent) {}

TFormHlav::TFormHlav(const QStringList& arguments, std::unique_ptr<SerialLine> line,
                     QWidget* parent)
    : QMainWindow(parent), portMap_(std::make_unique<gui::PortMap>()) {
    setObjectName("FormHlav");
    ParseArguments(arguments);

    // The settings file is named after the protocol version; the backup sits beside it.
    iniFileName_ = QStringLiteral("Kestrin_2007_v%1.ini").arg(kProtocolVersion);
    if (settingsDir_.isEmpty())
        settingsDir_ = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(settingsDir_);
    imageBackupFile_ = QDir(settingsDir_).filePath("_" + iniFileName_);
    testFlagFile_ = QDir(settingsDir_).filePath("test_kovlin.txt");
    ReadPortNames();

    line_ = line ? std::move(line) : std::make_unique<gui::SerialPortLine>(*portMap_);
    LinkHost& host = *this;
    linkLoop_ = std::make_unique<LinkLoop>(image_, *line_, messages_, host);

    BuildWindow();
    FormCreate();

    timer1_ = new QTimer(this);
    timer1_->setObjectName("Timer1");
    timer1_->setInterval(kTickMs);
    connect(timer1_, &QTimer::timeout, this, &TFormHlav::Timer1Timer);
    timer1_->start();
}

TFormHlav::~TFormHlav() {
    if (!closed_) FormClose();
}

// Options are "--name value"; the first other argument is the language word.
void TFormHlav::ParseArguments(const QStringList& arguments) {
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == "--settings-dir" && i + 1 < arguments.size()) {
            settingsDir_ = arguments[++i];
        } else if (a == "--port" && i + 1 < arguments.size()) {
            portMap_->Parse(arguments[++i]);
        } else if (a.startsWith("--")) {
            continue;  // an option of a later version: ignored
        } else if (languageWord_.isNull()) {
            languageWord_ = a;
        }
    }
}

// Devices named for COM numbers in the settings file's "Ports" section (COM3=/dev/ttyUSB0);
// a mapping given on the command line wins.
void TFormHlav::ReadPortNames() {
    QSettings ini(QDir(settingsDir_).filePath(iniFileName_), QSettings::IniFormat);
    ini.beginGroup("Ports");
    for (const QString& key : ini.childKeys()) {
        if (!key.startsWith("COM", Qt::CaseInsensitive)) continue;
        bool ok = false;
        const int number = key.mid(3).toInt(&ok);
        if (ok && !portMap_->explicitMap().contains(number))
            portMap_->Parse(QStringLiteral("%1=%2").arg(number).arg(ini.value(key).toString()));
    }
}

void TFormHlav::BuildWindow() {
    setWindowTitle("Programming of Kestrin_Max_Power");
    // Wide enough for all 19 tabs in one row where the screen allows it.
    QSize size(1280, 760);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size());
    resize(size);

    auto* central = new QWidget(this);
    central->setObjectName("PanelHlav");
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 0);
    pageControl1_ = new QTabWidget(central);
    pageControl1_->setObjectName("PageControl1");
    layout->addWidget(pageControl1_, 1);
    setCentralWidget(central);

    BuildCommandRow();
    BuildPages();
    BuildStatusArea();
    BuildMonitorPage();
    BuildMenus();

    statusBar1_ = new QStatusBar(this);
    statusBar1_->setObjectName("StatusBar1");
    setStatusBar(statusBar1_);  // shows the hint of the control under the mouse
}

// The transfer buttons and the unit's identification, above the pages.
void TFormHlav::BuildCommandRow() {
    auto* row = new QWidget(centralWidget());
    row->setObjectName("PanelCommands");
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 2);
    const struct {
        const char* name;
        const char* caption;
        const char* hint;
        void (TFormHlav::*handler)();
    } buttons[] = {
        {"ButtonRead", "&Read", "Reading parametrs from ignition", &TFormHlav::MenuReadClick},
        {"ButtonVerify", "&Verify", "Compare set parametrs  with parametrs of ignition",
         &TFormHlav::MenuVerifyClick},
        {"ButtonProgram", "&Program", "Programing  set parametrs to ignition",
         &TFormHlav::MenuProgramClick},
    };
    for (const auto& b : buttons) {
        auto* button = new QPushButton(b.caption, row);
        button->setObjectName(b.name);
        button->setStatusTip(b.hint);
        button->setToolTip(b.hint);
        button->setMinimumWidth(90);
        connect(button, &QPushButton::clicked, this, b.handler);
        h->addWidget(button);
    }
    h->addSpacing(16);
    h->addWidget(MakeLabel(row, "LabelFile1", "File:"));
    labelFile2_ = MakeLabel(row, "LabelFile2");
    h->addWidget(labelFile2_, 1);
    const char* verze[] = {"LabelVerze1", "LabelVerze2", "LabelVerze3"};
    const char* verzeHints[] = {"Version of program in ignition", "Date of program in ignition",
                                "Time of program in ignition"};
    for (int i = 0; i < 3; ++i) {
        QLabel* l = MakeLabel(row, verze[i]);
        l->setStatusTip(verzeHints[i]);
        l->setToolTip(verzeHints[i]);
        l->setMinimumWidth(70);
        labelVerze_[static_cast<std::size_t>(i)] = l;
        h->addWidget(l);
    }
    static_cast<QVBoxLayout*>(centralWidget()->layout())->addWidget(row);
}

// Every sheet gets an empty vertical layout; the page builders add their group boxes to it.
void TFormHlav::BuildPages() {
    for (int k = 0; k < kPageTotal; ++k) {
        auto* sheet = new QWidget(pageControl1_);
        sheet->setObjectName(kPages[static_cast<std::size_t>(k)].objectName);
        new QVBoxLayout(sheet);
        pageControl1_->addTab(sheet, kPages[static_cast<std::size_t>(k)].caption);
        tabSheetPage_[static_cast<std::size_t>(k)] = sheet;
    }
}

void TFormHlav::BuildMonitorPage() {
    std::array<QLabel*, kMonitorLabelCount> external{};
    const auto take = [&](MonitorLabelId id, QLabel* label) {
        external[static_cast<std::size_t>(id)] = label;
    };
    take(MonitorLabelId::LabelVersion, labelVersion_);
    take(MonitorLabelId::LabelEeDataErr, labelEeDataErr_);
    const MonitorLabelId tests[] = {MonitorLabelId::LabelTest1, MonitorLabelId::LabelTest2,
                                    MonitorLabelId::LabelTest3, MonitorLabelId::LabelTest4,
                                    MonitorLabelId::LabelTest5, MonitorLabelId::LabelTest6,
                                    MonitorLabelId::LabelTest7, MonitorLabelId::LabelTest8};
    for (int i = 0; i < 8; ++i) take(tests[i], labelTest_[static_cast<std::size_t>(i)]);
    monitorPage_ = new gui::MonitorPage(tabSheetPage_[18], external);
}

void TFormHlav::BuildStatusArea() {
    auto* row = new QWidget(centralWidget());
    row->setObjectName("PanelStatus");
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 2, 0, 2);

    labelCom_ = MakeLabel(row, "LabelCom", "COM= ");
    labelCom_->setMinimumWidth(90);
    labelHlaseni_ = MakeLabel(row, "LabelHlaseni");
    labelHlaseni_->setAutoFillBackground(true);
    labelHlaseni_->setMinimumWidth(220);
    labelHlaseni_->setContentsMargins(6, 1, 6, 1);
    cGaugeProgram_ = new QProgressBar(row);
    cGaugeProgram_->setObjectName("CGaugeProgram");
    cGaugeProgram_->setRange(0, kGaugeMaximum);
    cGaugeProgram_->setTextVisible(false);
    cGaugeProgram_->setMaximumWidth(200);
    labelSpojeni_ = MakeLabel(row, "LabelSpojeni", "No connection with PC");
    labelSpojeni_->setStyleSheet("color: white; background-color: red; padding: 1px 6px;");
    labelVersion_ = MakeLabel(row, "LabelVersion");
    labelVersion_->setAutoFillBackground(true);
    labelVersion_->setContentsMargins(6, 1, 6, 1);
    labelEeDataErr_ = MakeLabel(row, "LabelEeDataErr", "Programmed data error!");
    labelEeDataErr_->setStyleSheet("color: red; font-weight: bold;");
    labelPokus_ = MakeLabel(row, "LabelPokus", "0");
    labelPokus_->setAutoFillBackground(true);

    h->addWidget(labelCom_);
    h->addWidget(labelHlaseni_);
    h->addWidget(cGaugeProgram_, 1);
    h->addStretch(1);
    h->addWidget(labelEeDataErr_);
    h->addWidget(labelVersion_);
    h->addWidget(labelSpojeni_);
    h->addWidget(labelPokus_);
    for (int i = 0; i < 8; ++i) {
        const QByteArray name = "LabelTest" + QByteArray::number(i + 1);
        labelTest_[static_cast<std::size_t>(i)] =
            MakeLabel(row, name.constData(), QStringLiteral("Test%1= ").arg(i + 1));
        h->addWidget(labelTest_[static_cast<std::size_t>(i)]);
    }
    static_cast<QVBoxLayout*>(centralWidget()->layout())->addWidget(row);
}

void TFormHlav::BuildMenus() {
    auto addMenu = [this](const char* name, const QString& title) {
        QMenu* m = menuBar()->addMenu(title);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    QMenu* file = addMenu("MenuFile", "&File");
    QAction* menuNew = file->addAction("&New");
    menuNew->setObjectName("MenuNew");
    menuNew->setStatusTip("Set default parametrs");
    connect(menuNew, &QAction::triggered, this, &TFormHlav::MenuNewClick);
    QAction* newPage = file->addAction("New for actual page");
    newPage->setObjectName("MenuNewActPage");
    connect(newPage, &QAction::triggered, this, &TFormHlav::MenuNewActPageClick);
    file->addSeparator();
    QAction* exit = file->addAction("E&xit");
    exit->setObjectName("MenuExit");
    exit->setStatusTip("End of program");
    connect(exit, &QAction::triggered, this, &TFormHlav::MenuExitClick);

    menuCom_ = addMenu("MenuCom", "&Com");
    menuCom_->menuAction()->setStatusTip("Set number of com");
    QMenu* device = addMenu("MenuDevice", "&Ignition");
    const struct {
        const char* name;
        const char* text;
        const char* hint;
        Qt::Key key;
        void (TFormHlav::*handler)();
    } transfers[] = {
        {"MenuRead", "&Read", "Reading parametrs from ignition", Qt::Key_F7,
         &TFormHlav::MenuReadClick},
        {"MenuVerify", "&Verify", "Compare set parametrs  with parametrs of ignition", Qt::Key_F8,
         &TFormHlav::MenuVerifyClick},
        {"MenuProgram", "&Program", "Programing  set parametrs to ignition", Qt::Key_F9,
         &TFormHlav::MenuProgramClick},
    };
    for (const auto& t : transfers) {
        QAction* a = device->addAction(t.text);
        a->setObjectName(t.name);
        a->setShortcut(QKeySequence(t.key));
        a->setStatusTip(t.hint);
        connect(a, &QAction::triggered, this, t.handler);
    }
    addMenu("MenuTools", "Tools");

    QMenu* language = addMenu("MenuLanguage", "&Language");
    language->menuAction()->setStatusTip("Set English or German or French");
    auto* group = new QActionGroup(this);
    const struct {
        const char* name;
        const char* text;
        void (TFormHlav::*handler)();
    } languages[] = {{"MenuEnglish", "&English", &TFormHlav::MenuEnglishClick},
                     {"MenuGerman", "&German", &TFormHlav::MenuGermanClick},
                     {"MenuFrench", "&French", &TFormHlav::MenuFrenchClick},
                     {"MenuCzech", "&Czech", &TFormHlav::MenuCzechClick}};
    for (int i = 0; i < kLanguageCount; ++i) {
        QAction* a = language->addAction(languages[i].text);
        a->setObjectName(languages[i].name);
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, languages[i].handler);
        menuLanguageItems_[static_cast<std::size_t>(i)] = a;
    }

    addMenu("MenuHelp", "&Help");
    menuServis_ = addMenu("MenuServis", "Servis");
    menuServis_->menuAction()->setVisible(false);
}

// The run-time controls that are not part of a page: the 21 COM menu items.
void TFormHlav::BuildExtraControls() {
    auto* group = new QActionGroup(this);
    for (int i = 0; i < kPortMenuItems; ++i) {
        const QString caption =
            i == kAutoPortIndex ? QStringLiteral("Com Auto") : QStringLiteral("Com %1").arg(i + 1);
        QAction* a = menuCom_->addAction(caption);
        a->setObjectName(QStringLiteral("MenuComItem[%1]").arg(i));
        a->setCheckable(true);
        a->setData(i);
        group->addAction(a);
        connect(a, &QAction::triggered, this, &TFormHlav::MenuCom1Click);
        menuComItems_[static_cast<std::size_t>(i)] = a;
    }
}

// Start-up, in its fixed order.
void TFormHlav::FormCreate() {
    BuildMapEditor();
    BuildExtraControls();
    image_.setByte(0, 11);
    LoadBikeDefaults();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        move(s.left() + (s.width() - width()) / 2, s.top() + (s.height() - height()) / 2);
    }
    fileName_ = QDir(QCoreApplication::applicationDirPath()).filePath("data.ign");
    LoadSettings();
    PageChange();
    ApplyBikeTables();
    if (!languageWord_.isNull()) {
        for (const auto& [word, index] : kLanguageWords)
            if (languageWord_ == QLatin1String(word)) {
                languageIndex_ = index;
                break;
            }
    }
    linkLoop_->silentTicks = 18;
    ConsistencyPass();
    ApplyLanguage();
    ImageToControls();
    ResetUndo();
    linkLoop_->reopening = false;
    linkLoop_->OpenPort();
    ApplyLanguage();
    ImageToControls();
    linkLoop_->view().statusVisible = false;
    linkLoop_->view().gaugeVisible = false;
    labelEeDataErr_->setVisible(false);
    ReadTestFlagFile();
    for (QLabel* l : labelTest_) l->setVisible(testEnable_);
    labelPokus_->setVisible(testEnable_);
    menuServis_->menuAction()->setVisible(testEnable_);
    UpdatePageLayout();
    ShowPortCheck();
    ShowLinkView();
}

void TFormHlav::FormClose() {
    closed_ = true;
    linkLoop_->ClosePort();
    ControlsToImage();
    ConsistencyPass();
    SaveSettings();
}

void TFormHlav::closeEvent(QCloseEvent* event) {
    if (!closed_) FormClose();
    timer1_->stop();
    event->accept();
}

void TFormHlav::Timer1Timer() {
    linkLoop_->Tick();
    ShowLinkView();
}

void TFormHlav::ShowLinkView() {
    const LinkView& v = linkLoop_->view();
    labelHlaseni_->setText(Q(v.statusText));
    QPalette pal = labelHlaseni_->palette();
    pal.setColor(QPalette::Window, v.statusColour == StatusColour::Red
                                       ? QColor(Qt::red)
                                       : QApplication::palette().color(QPalette::Button));
    labelHlaseni_->setPalette(pal);
    labelHlaseni_->setVisible(v.statusVisible);
    cGaugeProgram_->setValue(v.gaugeProgress);
    cGaugeProgram_->setVisible(v.gaugeVisible);
    labelSpojeni_->setVisible(v.noConnectionVisible);
    labelVersion_->setVisible(v.versionVisible);
    labelCom_->setText(Q(v.comLabel));
    labelCom_->setToolTip(Q(v.comDevice));
    labelCom_->setStatusTip(Q(v.comDevice));
    if (testEnable_) {
        QPalette p = labelPokus_->palette();
        p.setColor(QPalette::Window, v.testIndicatorActive
                                         ? QColor(Qt::magenta)
                                         : QApplication::palette().color(QPalette::Button));
        labelPokus_->setPalette(p);
        labelPokus_->setText(Q(v.testIndicatorText));
    }
}

// The port index changes only at start and from the COM menu, so the check mark is set there
// rather than on every tick.
void TFormHlav::ShowPortCheck() {
    const int checked = linkLoop_->portIndex;
    for (int i = 0; i < kPortMenuItems; ++i)
        menuComItems_[static_cast<std::size_t>(i)]->setChecked(i == checked);
}

void TFormHlav::SetPrinting(bool on) {
    linkLoop_->printing = on;
}

void TFormHlav::MenuCom1Click() {
    const auto* action = qobject_cast<QAction*>(sender());
    if (!action) return;
    linkLoop_->SelectPort(action->data().toInt());
    ShowPortCheck();
    ShowLinkView();
}

void TFormHlav::MenuExitClick() {
    close();
}

void TFormHlav::SetLanguage(int index) {
    languageIndex_ = index;
    ApplyLanguage();
    ImageToControls();
}
void TFormHlav::MenuEnglishClick() {
    SetLanguage(English);
}
void TFormHlav::MenuGermanClick() {
    SetLanguage(German);
}
void TFormHlav::MenuFrenchClick() {
    SetLanguage(French);
}
void TFormHlav::MenuCzechClick() {
    SetLanguage(Czech);
}

void TFormHlav::ApplyLanguage() {
    const int index = languageIndex_ >= 0 && languageIndex_ < kLanguageCount ? languageIndex_ : 0;
    for (int i = 0; i < kLanguageCount; ++i)
        menuLanguageItems_[static_cast<std::size_t>(i)]->setChecked(i == index);
    messages_.Apply(index);
}

void TFormHlav::MonitorFrameReceived(const Frame& frame) {
    MonitorOptions options;
    options.extendedView = monitorPage_->extendedView()->isChecked();
    options.nitrousEnabled = image_.byte(98) != 0;
    if (!DecodeMonitorFrame(frame, image_, messages_, options, monitor_)) return;
    linkLoop_->savingCountdown = static_cast<std::uint16_t>(monitor_.live.savingCountdown);
    monitorPage_->Show(monitor_);
    UpdatePageLayout();
}

void TFormHlav::MenuProgramClick() {
    linkLoop_->MenuProgram();
    ShowLinkView();
}
void TFormHlav::MenuVerifyClick() {
    linkLoop_->MenuVerify();
    ShowLinkView();
}
void TFormHlav::MenuReadClick() {
    linkLoop_->MenuRead();
    ShowLinkView();
}

// The editor builds every page's controls and the shared map editor; the window supplies
// what lies outside the pages.
void TFormHlav::BuildMapEditor() {
    gui::EditorContext context(image_, maps_, messages_);
    context.pageControl = pageControl1_;
    context.sheets = tabSheetPage_;
    context.consistencyPass = [this] { ConsistencyPass(); };
    context.computeBaseMaps = [this] { ComputeBaseMaps(image_, bike_.tables, maps_); };
    context.updatePageLayout = [this] { UpdatePageLayout(); };
    context.tuningSwitched = [this](bool on) { linkLoop_->tuningOn = on; };
    context.bikePicked = [this](int index) { ComboBoxBikeChange(index); };
    context.showMessage = [this](MsgId id) { Dialogs::Message(this, Q(messages_[id])); };
    editor_ = new gui::Editor(std::move(context), this);
    connect(monitorPage_->extendedView(), &QCheckBox::clicked, editor_,
            &gui::Editor::CheckBoxMouseUp);
    monitorPage_->PlaceBesideSettings(centralWidget());
}

void TFormHlav::LoadBikeDefaults() {
    LoadDefaults(kAllPages, image_, maps_, bike_);
}

void TFormHlav::ApplyBikeTables() {
    kestrin::ApplyBikeTables(image_, maps_, bike_);
}

// The pass also brings the program's own indexes (language, port, scan position) into range.
void TFormHlav::ConsistencyPass() {
    ProgramIndexes indexes{languageIndex_, linkLoop_->portIndex, linkLoop_->scanPortIndex};
    consistencyWarnings_ =
        kestrin::ConsistencyPass(image_, ConsistencyFlagsOf(image_, bike_), indexes);
    languageIndex_ = indexes.languageIndex;
    linkLoop_->portIndex = static_cast<std::uint8_t>(indexes.portIndex);
    linkLoop_->scanPortIndex = static_cast<std::uint8_t>(indexes.scanPortIndex);
}

void TFormHlav::ValueChanged() {
    editor_->ValueChanged();
}

int TFormHlav::ActivePage() const {
    return pageControl1_->currentIndex();
}

int TFormHlav::ShownBikeIndex() const {
    return CatalogueIndexOfCode(image_.byte(0));
}

BikeCommandHooks TFormHlav::BikeHooks() {
    BikeCommandHooks hooks;
    hooks.ask = [this](MsgId id) { return Dialogs::Ask(this, Q(messages_[id])); };
    hooks.clearFileStatus = [this] {
        linkLoop_->view().statusVisible = false;
        linkLoop_->view().gaugeVisible = false;
        labelFile2_->clear();
        ShowLinkView();
    };
    hooks.valueChanged = [this] { editor_->ValueChanged(); };
    hooks.refillMessages = [this] { messages_.Apply(languageIndex_); };
    return hooks;
}

void TFormHlav::MenuNewClick() {
    CommandNew(ShownBikeIndex(), image_, maps_, bike_, BikeHooks());
}

void TFormHlav::MenuNewActPageClick() {
    CommandNewActPage(ShownBikeIndex(), ActivePage(), image_, maps_, bike_, BikeHooks());
}

// A bike picked in the catalogue: its constants and tables, and its defaults if the rider
// wants them.
void TFormHlav::ComboBoxBikeChange(int index) {
    CommandBikeChange(index, image_, maps_, bike_, BikeHooks());
}

void TFormHlav::ImageToControls() {
    const UnitInfo& info = linkLoop_->unitInfo();
    labelVerze_[0]->setText(Q(info.unitName));
    labelVerze_[1]->setText(Q(info.unitDate));
    labelVerze_[2]->setText(Q(info.unitTime));
    editor_->ImageToControls();
}

void TFormHlav::ControlsToImage() {
    editor_->ControlsToImage();
}

// Layout of the pages for the current configuration; the lambda gauge's colour zones follow
// the lambda bar points.
void TFormHlav::UpdatePageLayout() {
    monitorPage_->SetLambdaZones(image_.byte(372), image_.byte(373), image_.byte(374),
                                 image_.byte(375));
}

void TFormHlav::VersionMismatch(const std::string& text) {
    ShowLinkView();
    Dialogs::Error(this, Q(text));
}

void TFormHlav::ReadStarted() {
    labelFile2_->clear();
}

// A device the user may not open would fail silently forever in the scan; say once what to do.
void TFormHlav::ComOpenFailed(bool report) {
    const QString device = Q(line_->DevicePath());
    if (line_->LastOpenDenied() && !permissionTold_.contains(device)) {
        permissionTold_ << device;
        Dialogs::Error(this, Q(messages_[MsgComOpenError]) + "\n\n" +
                                 tr("You may not open %1. Add your user to the group that owns "
                                    "it (usually \"dialout\"): sudo usermod -aG dialout $USER, "
                                    "then log out and in again.")
                                     .arg(device));
        return;
    }
    if (report) Dialogs::Error(this, Q(messages_[MsgComOpenError]));
}

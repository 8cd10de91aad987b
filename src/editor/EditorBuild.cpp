// Building the pages: the map editor and every settings page from the page tables, each
// control bound to its image field and wired to its handler.
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <climits>

#include "editor/Editor.h"
#include "editor/MapEditor.h"
#include "editor/Widgets.h"
#include "editor/core/Note.h"
#include "editor/core/PageTables.h"
#include "model/Bikes.h"

namespace kestrin::gui {

using editor::ControlDef;
using editor::Ctl;
using editor::GroupDef;

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The largest position whose stored form still fits the field's byte.
int ByteTop(const Field& field) {
    const Conversion c = field.editor;
    if (field.width != Width::Byte || c.scale <= 0) return INT_MAX;
    return c.scale * 255 + c.offset;
}

void SetHint(QWidget* w, std::string_view hint) {
    if (hint.empty()) return;
    w->setToolTip(Q(hint));
    w->setStatusTip(Q(hint));
}

QLabel* MakeLabel(QWidget* parent, const std::string& name, std::string_view text) {
    auto* l = new QLabel(Q(text), parent);
    l->setObjectName(QString::fromStdString(name));
    return l;
}

}  // namespace

Editor::Editor(EditorContext context, QObject* parent) : QObject(parent), ctx_(std::move(context)) {
    OrderSheets();
    BuildMapEditor();
    BuildSettingsPages();
    BindMapPars();
    connect(ctx_.pageControl, &QTabWidget::currentChanged, this, &Editor::PageControl1Change);
}

Editor::~Editor() = default;

// Sheet k stands at tab index k, whatever order the sheets arrived in; the map sheets carry the
// captions they are created with.
void Editor::OrderSheets() {
    QTabWidget* tabs = ctx_.pageControl;
    const QSignalBlocker block(tabs);
    for (int k = 0; k < kEditorPages; ++k) {
        QWidget* sheet = ctx_.sheets[static_cast<std::size_t>(k)];
        const int at = tabs->indexOf(sheet);
        if (at == k) continue;
        const QString caption = at >= 0 ? tabs->tabText(at) : sheet->objectName();
        if (at >= 0) tabs->removeTab(at);
        tabs->insertTab(k, sheet, caption);
    }
    for (const editor::MapPageInfo& info : editor::kMapPages)
        tabs->setTabText(info.page, Q(info.caption));
    tabs->setCurrentIndex(0);
}

void Editor::BuildMapEditor() {
    map_ = new MapEditor(ctx_.sheets[kPageAdvance]);
    map_->ShowOn(kPageAdvance, ctx_.sheets[kPageAdvance], ctx_.messages, ctx_.image.byte(256));
    for (UpDown* u : map_->upDowns()) WireUpDown(u);
    connect(map_->checkAll(), &QCheckBox::clicked, this, &Editor::CheckBoxMouseUp);
    connect(map_->checkStepMotor(), &QCheckBox::clicked, this, &Editor::CheckBoxMouseUp);
    connect(map_->checkTps(), &QCheckBox::clicked, this, &Editor::CheckBoxTps_UniMouseUp);
    connect(map_->checkZobrMs(), &QCheckBox::clicked, this, &Editor::CheckBoxTps_UniMouseUp);
    connect(map_->checkServoEnable(), &QCheckBox::clicked, this,
            &Editor::CheckBoxServoEnableMouseUp);
    connect(map_->checkProcenta(), &QCheckBox::clicked, this, &Editor::CheckBoxProcentaMouseUp);
    connect(map_->servoMode(), &RadioGroup::clicked, this, &Editor::RadioGroupServoModeClick);
    auto wireSpin = [this](SpinButton* s) {
        const QString name = s->objectName();
        connect(s, &SpinButton::upClicked, this, [this, name] { emit ToolClicked(name, 1); });
        connect(s, &SpinButton::downClicked, this, [this, name] { emit ToolClicked(name, -1); });
    };
    for (int c = 0; c < kMapColumns; ++c) wireSpin(map_->columnSpin(c));
    wireSpin(map_->allSpin());
}

void Editor::BuildSettingsPages() {
    std::map<std::string_view, QGroupBox*> boxes;
    for (int page = 0; page < kEditorPages; ++page) {
        QWidget* sheet = ctx_.sheets[static_cast<std::size_t>(page)];
        auto* sheetLayout = qobject_cast<QBoxLayout*>(sheet->layout());
        std::map<int, QVBoxLayout*> columns;
        QHBoxLayout* row = nullptr;
        for (const GroupDef& g : editor::SettingsGroups()) {
            if (g.page != page) continue;
            if (!g.parent.empty()) {
                QGroupBox* host = boxes[g.parent];
                QWidget* w = BuildGroup(g, host);
                static_cast<QGridLayout*>(host->layout())->addWidget(w, g.column, 0);
                continue;
            }
            QWidget* w = BuildGroup(g, sheet);
            if (auto* box = qobject_cast<QGroupBox*>(w)) boxes[g.name] = box;
            // The monitor page shares its layout with the live monitor: the group alone.
            if (page == kPageMonitor || !sheetLayout) {
                if (sheetLayout) sheetLayout->addWidget(w, 0, Qt::AlignLeft | Qt::AlignTop);
                continue;
            }
            if (!row) {
                row = new QHBoxLayout;
                row->setSpacing(10);
            }
            QVBoxLayout*& column = columns[g.column];
            if (!column) {
                column = new QVBoxLayout;
                column->setSpacing(8);
                row->addLayout(column);
            }
            column->addWidget(w);
        }
        if (!row) continue;
        for (auto& [index, column] : columns) column->addStretch(1);
        row->addStretch(1);
        sheetLayout->addLayout(row);
        sheetLayout->addStretch(1);
    }
}

// One group box: its single controls in table order first, then its arrays element by element
// (the tab order Enter follows runs along each row of the arrays).
QWidget* Editor::BuildGroup(const GroupDef& g, QWidget* parent) {
    QWidget* box = nullptr;
    if (g.name.empty()) {
        box = new QWidget(parent);
    } else {
        auto* groupBox = new QGroupBox(Q(g.caption), parent);
        groupBox->setObjectName(Q(g.name));
        SetHint(groupBox, g.hint);
        Remember(groupBox);
        box = groupBox;
    }
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    if (g.name.empty()) grid->setContentsMargins(0, 0, 0, 0);
    int elements = 0;
    for (const ControlDef& def : g.controls) {
        if (def.count == 0)
            BuildControl(def, -1, g.page, box, grid);
        else
            elements = std::max(elements, def.count);
    }
    for (int i = 0; i < elements; ++i)
        for (const ControlDef& def : g.controls)
            if (i < def.count) BuildControl(def, i, g.page, box, grid);
    // Room a wider box has to spare goes to the right, so values stay beside their captions.
    grid->setColumnStretch(grid->columnCount(), 1);
    return box;
}

void Editor::BuildControl(const ControlDef& def, int element, int page, QWidget* parent,
                          QGridLayout* grid) {
    const int row = def.row + (element > 0 && !def.across ? element : 0);
    const int column = def.column + (element > 0 && def.across ? element : 0);
    const int i = element < 0 ? 0 : element;
    const std::string name = element < 0 ? std::string(def.name) : editor::ElementName(def, i);
    const std::string_view text = element < 0 ? def.text : editor::ListItem(def.text, i);
    QWidget* w = nullptr;
    switch (def.kind) {
        case Ctl::Label: {
            QLabel* l = MakeLabel(parent, name, text);
            if (def.warning) l->setStyleSheet("color: red; font-weight: bold;");
            if (element >= 0 && def.across) l->setAlignment(Qt::AlignCenter);
            w = l;
            break;
        }
        case Ctl::UpDown: {
            auto* u = new UpDown(parent, QString::fromStdString(name),
                                 QString::fromStdString(editor::EditNameOf(name)));
            u->setRange(def.minimum, def.maximum);
            u->setSingleStep(def.step);
            // Rows of points share their columns' width; single values keep their own.
            if (!def.across) u->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            if (def.bound) Bind(Bound{.upDown = u}, name, page);
            u->setValue(def.startOf(i));
            WireUpDown(u);
            if (!def.labelName.empty()) {
                QLabel* caption = MakeLabel(parent, std::string(def.labelName), def.labelText);
                caption->setBuddy(u);
                grid->addWidget(caption, row, column - 1);
                Remember(caption);
            }
            w = u;
            break;
        }
        case Ctl::CheckBox: {
            auto* c = new QCheckBox(Q(text), parent);
            c->setObjectName(QString::fromStdString(name));
            if (def.bound) Bind(Bound{.check = c}, name, page);
            if (def.enterCommits) c->installEventFilter(this);
            if (name == "CheckBoxLadeniPovoleno") {
                checkBoxLadeniPovoleno_ = c;
                connect(c, &QCheckBox::clicked, this, [this](bool on) {
                    if (ctx_.tuningSwitched) ctx_.tuningSwitched(on);
                    CheckBoxMouseUp();
                });
            } else {
                if (name == "CheckBoxProgHned") {
                    checkBoxProgHned_ = c;
                    c->setAutoFillBackground(true);
                }
                connect(c, &QCheckBox::clicked, this, &Editor::CheckBoxMouseUp);
            }
            w = c;
            break;
        }
        case Ctl::Radio: {
            QStringList items;
            for (int k = 0; k < editor::ListCount(def.items); ++k)
                items << Q(editor::ListItem(def.items, k));
            auto* r = new RadioGroup(parent, QString::fromStdString(name), Q(text), items,
                                     def.itemColumns);
            if (def.bound)
                Bind(Bound{.radio = r, .writtenByHandler = def.writtenByHandler}, name, page);
            WireRadio(r);
            w = r;
            break;
        }
        case Ctl::Button: {
            auto* b = new QPushButton(Q(text), parent);
            b->setObjectName(QString::fromStdString(name));
            b->setFocusPolicy(Qt::TabFocus);
            const QString n = b->objectName();
            if (n.startsWith("ButtonTest"))
                connect(b, &QPushButton::clicked, this, [this, n] {
                    if (ctx_.outputTest) ctx_.outputTest(n);
                });
            else
                connect(b, &QPushButton::clicked, this, [this, n] { emit ToolClicked(n, 0); });
            w = b;
            break;
        }
        case Ctl::SpinButton: {
            auto* s = new SpinButton(parent, QString::fromStdString(name));
            const QString n = s->objectName();
            connect(s, &SpinButton::upClicked, this, [this, n] { emit ToolClicked(n, 1); });
            connect(s, &SpinButton::downClicked, this, [this, n] { emit ToolClicked(n, -1); });
            w = s;
            break;
        }
        case Ctl::BikeList: {
            comboBoxBike_ = new QComboBox(parent);
            comboBoxBike_->setObjectName(QString::fromStdString(name));
            // The item texts align the model years with blanks.
            comboBoxBike_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
            comboBoxBike_->setMaxVisibleItems(42);
            for (const CatalogueItem& item : BikeCatalogue()) comboBoxBike_->addItem(Q(item.text));
            comboBoxBike_->installEventFilter(this);
            connect(comboBoxBike_, &QComboBox::activated, this, [this](int index) {
                if (ctx_.bikePicked) ctx_.bikePicked(index);
            });
            w = comboBoxBike_;
            break;
        }
        case Ctl::Note: {
            memo1_ = new QPlainTextEdit(parent);
            memo1_->setObjectName(QString::fromStdString(name));
            memo1_->setTabChangesFocus(true);
            memo1_->setMinimumHeight(110);
            memo1_->installEventFilter(this);
            // At most 149 characters, line breaks included: they fill the note's bytes.
            connect(memo1_, &QPlainTextEdit::textChanged, this, [this] {
                const QString text = memo1_->toPlainText();
                if (text.size() <= editor::kNoteCharacters) return;
                const QSignalBlocker block(memo1_);
                memo1_->setPlainText(text.left(editor::kNoteCharacters));
                memo1_->moveCursor(QTextCursor::End);
            });
            w = memo1_;
            break;
        }
    }
    SetHint(w, def.hint);
    grid->addWidget(w, row, column, def.rowSpan, def.columnSpan);
    Remember(w);
}

// Finds the image field a control edits; an up-down's field is named after its edit.
void Editor::Bind(Bound bound, std::string_view name, int page) {
    FieldElement fe = FindByControl(editor::EditNameOf(name), page);
    if (!fe.field) fe = FindByControl(name, page);
    if (!fe.field) {
        unresolved_.emplace_back(name);
        return;
    }
    bound.field = fe.field;
    bound.element = fe.element;
    if (bound.upDown && bound.upDown->maximum() > ByteTop(*fe.field))
        bound.upDown->setMaximum(ByteTop(*fe.field));
    bindings_[static_cast<std::size_t>(page)].push_back(bound);
}

void Editor::BindMapPars() {
    for (const editor::MapParDef& def : editor::MapPars()) {
        const std::string name(def.name);
        FieldElement fe = FindByControl(editor::EditNameOf(name), def.page);
        if (!fe.field) fe = FindByControl(name, def.page);
        QWidget* w = map_->strip(name);
        if (!fe.field || !w) {
            unresolved_.push_back(name);
            continue;
        }
        Bound b{.field = fe.field, .element = fe.element};
        b.upDown = qobject_cast<UpDown*>(w);
        b.check = qobject_cast<QCheckBox*>(w);
        b.radio = qobject_cast<RadioGroup*>(w);
        b.minimum = def.minimum;
        b.maximum = std::min(def.maximum, ByteTop(*fe.field));
        b.step = def.step;
        mapPars_[static_cast<std::size_t>(def.page)].push_back(b);
    }
}

void Editor::WireUpDown(UpDown* u) {
    connect(u, &UpDown::clicked, this, &Editor::UpDownClick);
    u->installEventFilter(this);
    u->edit()->installEventFilter(this);
}

void Editor::WireRadio(RadioGroup* r) {
    static const std::map<QString, void (Editor::*)()> handlers{
        {"RadioGroupPolohaA", &Editor::RadioGroupPolohaAClick},
        {"RadioGroupPolohaB", &Editor::RadioGroupPolohaBClick},
        {"RadioGroupGearSystem", &Editor::RadioGroupGearSystemClick},
        {"RadioGroupClutchMode", &Editor::RadioGroupClutchModeClick},
        {"RadioGroupSpeedMode", &Editor::RadioGroupSpeedModeClick},
        {"RadioGroupPotencMode", &Editor::RadioGroupPotencModeClick},
        {"RadioGroupLadeniMode", &Editor::RadioGroupLadeniModeClick},
        {"RadioGroupCidloLambdaMode", &Editor::RadioGroupCidloLambdaModeClick},
        {"RadioGroupIdleMode", &Editor::RadioGroupIdleModeClick},
    };
    const auto it = handlers.find(r->objectName());
    if (it != handlers.end()) connect(r, &RadioGroup::clicked, this, it->second);
}

void Editor::Remember(QWidget* w) {
    controls_[w->objectName().toStdString()] = w;
}

QWidget* Editor::control(const std::string& name) const {
    const auto it = controls_.find(name);
    if (it != controls_.end()) return it->second;
    return map_->strip(name);
}

}  // namespace kestrin::gui

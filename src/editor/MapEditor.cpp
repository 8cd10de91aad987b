#include "editor/MapEditor.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "editor/Widgets.h"

namespace kestrin::gui {
namespace {

constexpr std::array<const char*, kMapRows> kRowCaptions{"0%",  "2%",  "5%",  "10%", "20%",
                                                         "30%", "40%", "60%", "80%", "100%"};
constexpr int kRpmRow = 0;
constexpr int kBevelRow = 1;
constexpr int kFirstCellRow = 2;
constexpr int kColumnSpinRow = kFirstCellRow + kMapRows;
constexpr int kStripRow = kColumnSpinRow + 1;
constexpr int kFirstCellColumn = 1;

// What the strip below the grid holds on each map page, left to right; a label's text is the
// message slot named with it.
constexpr MsgId kNoText = MsgCount;
struct StripItem {
    const char* name = nullptr;
    MsgId text = kNoText;
};
struct StripDef {
    int page;
    std::array<StripItem, 11> items;
};
// clang-format off
constexpr StripDef kStrips[] = {
    {1, {{{"CheckBoxTps_Uni"}, {"LabelMapPar[0]", MsgBaseAdvance}, {"UpDownMapPar[4]"},
          {"LabelMapPar[1]", MsgCylinderCorrection}, {"UpDownMapPar[0]"}, {"UpDownMapPar[1]"},
          {"UpDownMapPar[2]"}, {"UpDownMapPar[3]"}, {"LabelMapPar[2]", MsgLobeWidth},
          {"UpDownMapPar[5]"}}}},
    {2, {{{"LabelMapJetMode"}, {"LabelMapPar[0]", MsgIapToTp}, {"LabelMapPar[1]", MsgTpsMin},
          {"UpDownMapPar[0]"}, {"LabelMapPar[2]", MsgTpsMax}, {"UpDownMapPar[1]"},
          {"LabelMapPar[3]", MsgRpmMin}, {"UpDownMapPar[2]"}, {"LabelMapPar[4]", MsgRpmMax},
          {"UpDownMapPar[3]"}, {"CheckBoxZobrMs_Uni"}}}},
    {3, {{{"LabelMapJetMode"}, {"CheckBoxZobrMs_Uni"}}}},
    {4, {{{"LabelMapJetMode"}, {"CheckBoxZobrMs_Uni"}}}},
    {5, {{{"LabelMapJetMode"}, {"CheckBoxZobrMs_Uni"}}}},
    {7, {{{"LabelMapPar[1]", MsgCylinderCorrection}, {"UpDownMapPar[0]"}, {"UpDownMapPar[1]"},
          {"UpDownMapPar[2]"}, {"UpDownMapPar[3]"}, {"CheckBoxZobrMs_Uni"}}}},
    {11, {{{"CheckBoxServoEnable"}, {"CheckBoxProcenta"}, {"RadioGroupServoMode"},
           {"LabelMapPar[1]", MsgHysteresis}, {"UpDownMapPar[0]"}, {"CheckBoxStepMotor"},
           {"LabelMapPar[3]", MsgPeriod}, {"UpDownMapPar[2]"},
           {"LabelMapPar[4]", MsgExcitation}, {"UpDownMapPar[3]"}}}},
    {12, {{{"CheckBoxServoEnable"}, {"CheckBoxProcenta"}, {"RadioGroupServoMode"},
           {"LabelMapPar[1]", MsgHysteresis}, {"UpDownMapPar[0]"}}}},
};
// clang-format on

const StripDef* StripOf(int page) {
    for (const StripDef& s : kStrips)
        if (s.page == page) return &s;
    return nullptr;
}

QString CylinderList(int cylinders) {
    static const char* const lists[] = {" 1", " 1,2", " 1,2,3", " 1,2,3,4"};
    return QString::fromLatin1(lists[std::clamp(cylinders, 1, 4) - 1]);
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const char* text) {
    auto* c = new QCheckBox(QString::fromLatin1(text), parent);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

}  // namespace

MapEditor::MapEditor(QWidget* firstPage) : QGroupBox(firstPage) {
    setObjectName("GroupBoxMap");
    grid_ = new QGridLayout(this);
    grid_->setContentsMargins(6, 4, 6, 4);
    grid_->setHorizontalSpacing(4);
    grid_->setVerticalSpacing(9);

    // The creation order is the tab order that Enter walks: axis, then the cells row by row.
    labelRpm_ = MakeLabel(this, "LabelMapRpm", "RPM");
    labelLoad_ = MakeLabel(this, "LabelMapLoad", "TPS");
    QFont bold = font();
    bold.setBold(true);
    labelRpm_->setFont(bold);
    labelLoad_->setFont(bold);
    grid_->addWidget(labelRpm_, kRpmRow, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid_->addWidget(labelLoad_, kBevelRow, 0, Qt::AlignRight | Qt::AlignBottom);
    for (int r = 0; r < kMapRows; ++r) {
        QLabel* l = MakeLabel(this, QStringLiteral("LabelMapTpsRow[%1]").arg(r), kRowCaptions[r]);
        l->setFont(bold);
        grid_->addWidget(l, kFirstCellRow + r, 0, Qt::AlignRight | Qt::AlignVCenter);
        tpsRows_[static_cast<std::size_t>(r)] = l;
    }

    QPalette axisPalette = palette();
    axisPalette.setColor(QPalette::Base, QColor(0xDD, 0xE7, 0xF3));
    for (int c = 0; c < kMapColumns; ++c) {
        UpDown* u = MakeUpDown(QStringLiteral("UpDownMapRpm[%1]").arg(c),
                               QStringLiteral("EditMapRpm[%1]").arg(c));
        u->setRange(300, 25000);
        u->setSingleStep(100);
        u->setPalette(axisPalette);
        grid_->addWidget(u, kRpmRow, kFirstCellColumn + c);
        rpm_[static_cast<std::size_t>(c)] = u;
    }

    for (int r = 0; r < kMapRows; ++r)
        for (int c = 0; c < kMapColumns; ++c) {
            UpDown* u = MakeUpDown(QStringLiteral("UpDownMapCell[%1][%2]").arg(r).arg(c),
                                   QStringLiteral("EditMapCell[%1][%2]").arg(r).arg(c));
            u->setRange(0, 100);
            grid_->addWidget(u, kFirstCellRow + r, kFirstCellColumn + c);
            cells_[Index(r, c)] = u;
            // The cell in milliseconds, over the cell's edit when the page shows times. It is
            // kept out of the grid (a hidden item sharing a grid cell drops the row spacing)
            // and follows the edit's place instead.
            QLabel* ms =
                MakeLabel(this, QStringLiteral("LabelMapCell[%1][%2]").arg(r).arg(c), "11.92");
            ms->setAttribute(Qt::WA_TransparentForMouseEvents);
            ms->setIndent(4);
            ms->hide();
            u->installEventFilter(this);
            cellLabels_[Index(r, c)] = ms;
        }

    for (int c = 0; c < kMapColumns; ++c) {
        auto* s = new SpinButton(this, QStringLiteral("CSpinButtonMapColumn[%1]").arg(c));
        grid_->addWidget(s, kColumnSpinRow, kFirstCellColumn + c, Qt::AlignHCenter);
        columnSpins_[static_cast<std::size_t>(c)] = s;
    }
    allSpin_ = new SpinButton(this, "CSpinButtonMapAll");
    all_ = MakeCheck(this, "CheckBoxAll_Uni", "All");
    all_->setFocusPolicy(Qt::ClickFocus);
    tpsCheck_ = MakeCheck(this, "CheckBoxTps_Uni", "TPS");

    for (int k = 0; k < kMapParCount; ++k) {
        UpDown* u = MakeUpDown(QStringLiteral("UpDownMapPar[%1]").arg(k),
                               QStringLiteral("EditMapPar[%1]").arg(k));
        u->setRange(0, 100);
        pars_[static_cast<std::size_t>(k)] = u;
        stripWidgets_[u->objectName().toStdString()] = u;
    }
    for (int k = 0; k < kMapParLabelCount; ++k) {
        QLabel* l = MakeLabel(this, QStringLiteral("LabelMapPar[%1]").arg(k), {});
        parLabels_[static_cast<std::size_t>(k)] = l;
        stripWidgets_[l->objectName().toStdString()] = l;
    }
    jetMode_ = MakeLabel(this, "LabelMapJetMode", "  1->2->3  ");
    jetMode_->setAutoFillBackground(true);
    QPalette jet = jetMode_->palette();
    jet.setColor(QPalette::Window, Qt::yellow);
    jetMode_->setPalette(jet);
    QFont large = jetMode_->font();
    large.setPointSize(14);
    jetMode_->setFont(large);
    bevel_ = new QFrame(this);
    bevel_->setObjectName("BevelMap");
    bevel_->setFrameShape(QFrame::HLine);
    bevel_->setFrameShadow(QFrame::Sunken);
    grid_->addWidget(bevel_, kBevelRow, kFirstCellColumn, 1, kMapColumns);

    zobrMs_ = MakeCheck(this, "CheckBoxZobrMs_Uni", "Ms");
    servoEnable_ = MakeCheck(this, "CheckBoxServoEnable", "Servo enable");
    procenta_ = MakeCheck(this, "CheckBoxProcenta", "Procent");
    servoMode_ = new RadioGroup(this, "RadioGroupServoMode", {}, {"R + T", "RPM", "TPS"}, 3);
    servoMode_->setTabStop(false);
    stepMotor_ = MakeCheck(this, "CheckBoxStepMotor", "Step motor");
    for (QWidget* w : std::initializer_list<QWidget*>{tpsCheck_, jetMode_, zobrMs_, servoEnable_,
                                                      procenta_, servoMode_, stepMotor_})
        stripWidgets_[w->objectName().toStdString()] = w;

    for (int r = 0; r < kMapRows; ++r) {
        UpDown* u = MakeUpDown(QStringLiteral("UpDownMapTps[%1]").arg(r),
                               QStringLiteral("EditMapTps[%1]").arg(r));
        u->setRange(0, 1000);
        u->setGroupSeparatorShown(false);
        u->setPalette(axisPalette);
        u->hide();
        grid_->addWidget(u, kFirstCellRow + r, 0);
        tps_[static_cast<std::size_t>(r)] = u;
    }

    strip_ = new QHBoxLayout;
    strip_->setSpacing(6);
    grid_->addLayout(strip_, kStripRow, 0, 1, kFirstCellColumn + kMapColumns);
    for (auto& [name, w] : stripWidgets_) w->hide();

    grid_->setColumnStretch(0, 0);
    for (int c = 0; c < kMapColumns; ++c) grid_->setColumnStretch(kFirstCellColumn + c, 1);
    grid_->setRowStretch(kStripRow + 1, 1);
}

UpDown* MapEditor::MakeUpDown(const QString& upDown, const QString& edit) {
    auto* u = new UpDown(this, upDown, edit);
    u->setMinimumWidth(64);
    upDowns_.push_back(u);
    return u;
}

bool MapEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        for (std::size_t i = 0; i < cells_.size(); ++i)
            if (cells_[i] == watched) {
                cellLabels_[i]->setGeometry(cells_[i]->geometry());
                cellLabels_[i]->raise();
                break;
            }
    return QGroupBox::eventFilter(watched, event);
}

QWidget* MapEditor::strip(const std::string& name) const {
    const auto it = stripWidgets_.find(name);
    return it == stripWidgets_.end() ? nullptr : it->second;
}

void MapEditor::ShowOn(int page, QWidget* sheet, const MessageSlots& messages, int cylinders) {
    auto* box = qobject_cast<QBoxLayout*>(sheet->layout());
    if (box && box->indexOf(this) < 0)
        box->addWidget(this, 1);
    else if (!box && parentWidget() != sheet)
        setParent(sheet);
    page_ = page;
    const bool ownLoadAxis = page == 7;
    for (int r = 0; r < kMapRows; ++r) {
        tps(r)->setVisible(ownLoadAxis);
        tpsRow(r)->setVisible(!ownLoadAxis);
    }
    labelLoad_->setText(ownLoadAxis ? QStringLiteral("IAP [kPa]") : QStringLiteral("TPS"));
    ArrangeStrip(page, messages, cylinders);
}

void MapEditor::ArrangeStrip(int page, const MessageSlots& messages, int cylinders) {
    const StripDef* def = StripOf(page);
    if (def)
        for (const StripItem& item : def->items)
            if (item.name && item.text != kNoText)
                if (auto* l = qobject_cast<QLabel*>(strip(item.name))) {
                    QString text = Q(messages[item.text]);
                    if (item.text == MsgCylinderCorrection) text += CylinderList(cylinders);
                    l->setText(text);
                }
    if (stripPage_ == page) return;
    stripPage_ = page;
    while (QLayoutItem* item = strip_->takeAt(0)) delete item;
    for (auto& [name, w] : stripWidgets_) w->hide();
    if (def)
        for (const StripItem& item : def->items) {
            if (!item.name) break;
            QWidget* w = strip(item.name);
            strip_->addWidget(w);
            // The injector mode label appears only when the page layout calls for it.
            if (w != jetMode_) w->show();
        }
    strip_->addStretch(1);
    strip_->addWidget(allSpin_);
    strip_->addWidget(all_);
}

}  // namespace kestrin::gui

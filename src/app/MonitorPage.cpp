#include "app/MonitorPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kestrin::gui {

namespace {

using L = MonitorLabelId;
using G = MonitorGaugeId;

// The groups of the page, each a column of labels; a gauge follows the label it belongs to.
struct Item {
    L label;
    int gauge = -1;  // MonitorGaugeId, or -1
};
struct Group {
    const char* name;
    const char* caption;
    std::initializer_list<Item> items;
};

const Group kEngine{"GroupBoxMonEngine",
                    "Engine",
                    {{L::LabelRpm, int(G::CGaugeRpm)},
                     {L::LabelTpsMon, int(G::CGaugeTps)},
                     {L::LabelLambda, int(G::CGaugeLambda)},
                     {L::LabelVoda, int(G::CGaugeVoda)},
                     {L::LabelVzduch},
                     {L::LabelTlak},
                     {L::LabelPodtlak},
                     {L::LabelNapeti},
                     {L::LabelMonSpeed},
                     {L::LabelGear}}};
const Group kInjection{"GroupBoxMonAdvance",
                       "Injection and advance",
                       {{L::LabelMon_Ign1},
                        {L::LabelMon_Ign2},
                        {L::LabelMon_Ign3},
                        {L::LabelMon_Ign4},
                        {L::LabelMon_Ign},
                        {L::LabelMon_Jet_1A},
                        {L::LabelMon_Jet_2A},
                        {L::LabelMon_Jet_3A},
                        {L::LabelMon_Jet_4A},
                        {L::LabelMon_Jet_A},
                        {L::LabelMon_Jet_1B},
                        {L::LabelMon_Jet_2B},
                        {L::LabelMon_Jet_3B},
                        {L::LabelMon_Jet_4B},
                        {L::LabelMon_Jet_B},
                        {L::LabelMaxInjProcent, int(G::CGaugeDuty)},
                        {L::LabelDleTpsProcent},
                        {L::LabelMon_PolohaA},
                        {L::LabelMon_PolohaB}}};
const Group kInputs{"GroupBoxMonInput",
                    "Input to ground",
                    {{L::LabelMonFallIn},
                     {L::LabelMonBlock2In},
                     {L::LabelMonStartLimiterIn},
                     {L::LabelMonClutchIn},
                     {L::LabelMonRpmLambdaIn},
                     {L::LabelSnimacCkps},
                     {L::LabelSnimacCmps}}};
const Group kOutputs{"GroupBoxMonOutput",
                     "Outputs and limiters",
                     {{L::LabelMonFallOut},
                      {L::LabelMonBlock2Out},
                      {L::LabelMonStartLimiterOut},
                      {L::LabelMonClutchOut},
                      {L::LabelMonRpmLambdaOut},
                      {L::LabelMonIgnLimiter},
                      {L::LabelMonJetLimiter},
                      {L::LabelMonRetardLimiter},
                      {L::LabelClazeniMon},
                      {L::LabelMonPilotLight},
                      {L::LabelMonServoIntake},
                      {L::LabelMonServoExhaust},
                      {L::LabelN2oEnable},
                      {L::LabelMonPotenc}}};
const Group kCorrections{"GroupBoxMonKorekce",
                         "Corrections",
                         {{L::LabelKorVodaJet},
                          {L::LabelKorVzduch},
                          {L::LabelKorTlak},
                          {L::LabelKorSytic},
                          {L::LabelKorNapeti},
                          {L::LabelKorAccJet},
                          {L::LabelKorVodaIgn},
                          {L::LabelKorPotencIgn},
                          {L::LabelKorPotencJet},
                          {L::LabelIdleKorAdv}}};
// Values that belong beside their settings on the Gear, Idle and Tuning pages; they start here
// and move to those pages (kBeside) when the pages exist.
const Group kGearIdle{"GroupBoxMonGearIdle",
                      "Unit",
                      {{L::LabelMonGearNapeti},
                       {L::LabelMonPomerRpmSpeed},
                       {L::LabelMonPomerRpmSpeedAuto1},
                       {L::LabelMonPomerRpmSpeedAuto2},
                       {L::LabelMonPomerRpmSpeedAuto3},
                       {L::LabelMonPomerRpmSpeedAuto4},
                       {L::LabelMonPomerRpmSpeedAuto5},
                       {L::LabelMonPomerRpmSpeedAuto6},
                       {L::LabelMonServoPosition},
                       {L::LabelLadeniMsg},
                       {L::LabelPocetProgramovani}}};

// Where a live value is shown beside the settings it belongs to.
const struct {
    L label;
    const char* groupBox;
} kBeside[] = {
    {L::LabelClazeniMon, "GroupBoxChlazeni"},
    {L::LabelMonGearNapeti, "GroupBoxNapetiProGear"},
    {L::LabelMonPomerRpmSpeed, "GroupBoxRpmSpeedProGear"},
    {L::LabelMonPomerRpmSpeedAuto1, "GroupBoxMonAutoGear"},
    {L::LabelMonPomerRpmSpeedAuto2, "GroupBoxMonAutoGear"},
    {L::LabelMonPomerRpmSpeedAuto3, "GroupBoxMonAutoGear"},
    {L::LabelMonPomerRpmSpeedAuto4, "GroupBoxMonAutoGear"},
    {L::LabelMonPomerRpmSpeedAuto5, "GroupBoxMonAutoGear"},
    {L::LabelMonPomerRpmSpeedAuto6, "GroupBoxMonAutoGear"},
    {L::LabelMonServoPosition, "GroupBoxIdleReg"},
    {L::LabelIdleKorAdv, "GroupBoxIdleAdv"},
    {L::LabelLadeniMsg, "GroupBoxLadeni"},
};

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

}  // namespace

QColor MonitorPage::ColourOf(MonitorColour c) {
    switch (c) {
        case MonitorColour::Lime:
            return QColor(0, 255, 0);
        case MonitorColour::Yellow:
            return QColor(255, 255, 0);
        case MonitorColour::Red:
            return QColor(255, 0, 0);
        case MonitorColour::Fuchsia:
            return QColor(255, 0, 255);
        case MonitorColour::Aqua:
            return QColor(0, 255, 255);
        case MonitorColour::White:
            return QColor(255, 255, 255);
        case MonitorColour::Blue:
            return QColor(0, 0, 255);
        case MonitorColour::ButtonFace:
            break;
    }
    return QApplication::palette().color(QPalette::Button);
}

QLabel* MonitorPage::Make(QWidget* parent, MonitorLabelId id) {
    auto* l = new QLabel("---", parent);
    l->setObjectName(QString::fromUtf8(MonitorLabelName(id)));
    l->setAutoFillBackground(true);
    l->setContentsMargins(4, 1, 4, 1);
    labels_[static_cast<std::size_t>(id)] = l;
    return l;
}

QProgressBar* MonitorPage::MakeGauge(QWidget* parent, MonitorGaugeId id, int maximum) {
    auto* g = new QProgressBar(parent);
    g->setObjectName(QString::fromUtf8(MonitorGaugeName(id)));
    g->setRange(0, maximum);
    g->setTextVisible(false);
    g->setMaximumHeight(14);
    gauges_[static_cast<std::size_t>(id)] = g;
    return g;
}

MonitorPage::MonitorPage(QWidget* sheet, const std::array<QLabel*, kMonitorLabelCount>& external)
    : QObject(sheet) {
    for (std::size_t i = 0; i < external.size(); ++i)
        if (external[i]) labels_[i] = external[i];

    auto* top = new QWidget(sheet);
    top->setObjectName("PanelMonitor");
    auto* grid = new QGridLayout(top);
    grid->setContentsMargins(0, 0, 0, 0);

    const auto build = [&](const Group& g) {
        auto* box = new QGroupBox(g.caption, top);
        box->setObjectName(g.name);
        auto* v = new QVBoxLayout(box);
        v->setSpacing(2);
        for (const Item& item : g.items) {
            v->addWidget(Make(box, item.label));
            if (item.gauge < 0) continue;
            const auto gid = static_cast<MonitorGaugeId>(item.gauge);
            // The gauges' ranges: rpm as a share of the ignition limiter, the rest in percent
            // or degrees.
            const int maximum = gid == G::CGaugeVoda ? 120 : 100;
            v->addWidget(MakeGauge(box, gid, maximum));
            if (gid == G::CGaugeLambda) {
                lambdaZones_ = new QWidget(box);
                lambdaZones_->setObjectName("PanelLambdaZones");
                auto* h = new QHBoxLayout(lambdaZones_);
                h->setContentsMargins(0, 0, 0, 0);
                h->setSpacing(0);
                const char* names[] = {"LabelLambdaBlue", "LabelLambdaGreen", "LabelLambdaRed"};
                const QColor colours[] = {ColourOf(MonitorColour::Blue),
                                          ColourOf(MonitorColour::Lime),
                                          ColourOf(MonitorColour::Fuchsia)};
                for (int z = 0; z < 3; ++z) {
                    auto* zone = new QLabel(lambdaZones_);
                    zone->setObjectName(names[z]);
                    zone->setFixedHeight(5);
                    zone->setAutoFillBackground(true);
                    QPalette p = zone->palette();
                    p.setColor(QPalette::Window, colours[z]);
                    zone->setPalette(p);
                    h->addWidget(zone, 1);
                    lambdaZoneLabels_[static_cast<std::size_t>(z)] = zone;
                }
                v->addWidget(lambdaZones_);
            }
        }
        v->addStretch(1);
        return box;
    };
    grid->addWidget(build(kEngine), 0, 0);
    grid->addWidget(build(kInjection), 0, 1, 2, 1);
    grid->addWidget(build(kInputs), 1, 0);
    grid->addWidget(build(kOutputs), 0, 2, 2, 1);
    grid->addWidget(build(kCorrections), 0, 3);
    grid->addWidget(build(kGearIdle), 1, 3);
    for (int c = 0; c < 4; ++c) grid->setColumnStretch(c, 1);

    checkBoxExtMonitor_ = new QCheckBox("Detailed representation", sheet);
    checkBoxExtMonitor_->setObjectName("CheckBoxExtMonitor");

    auto* layout = static_cast<QVBoxLayout*>(sheet->layout());
    layout->addWidget(checkBoxExtMonitor_);
    layout->addWidget(top, 1);
    SetLambdaZones(100, 100, 200, 200);
}

void MonitorPage::PlaceBesideSettings(QWidget* root) {
    for (const auto& b : kBeside) {
        auto* box = root->findChild<QGroupBox*>(b.groupBox);
        QLabel* label = labels_[static_cast<std::size_t>(b.label)];
        if (!box || !label || !box->layout()) continue;
        label->setParent(box);
        if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
            grid->addWidget(label, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
        else
            box->layout()->addWidget(label);
        label->show();
    }
}

void MonitorPage::SetLambdaZones(int b0, int b1, int b2, int b3) {
    if (!lambdaZones_) return;
    lambdaPoints_ = {b0, b1, b2, b3};
    auto* h = static_cast<QHBoxLayout*>(lambdaZones_->layout());
    // Zone widths in proportion to the bar points; equal ends leave the whole bar red rather
    // than dividing by zero.
    const int span = b3 - b0;
    const int blue = span > 0 ? std::max(0, b1 - b0) : 0;
    const int green = span > 0 ? std::max(0, b2 - b1) : 0;
    const int red = span > 0 ? std::max(0, span - blue - green) : 1;
    const int stretches[] = {blue, green, red};
    for (int z = 0; z < 3; ++z) {
        h->setStretch(z, stretches[z]);
        lambdaZoneLabels_[static_cast<std::size_t>(z)]->setVisible(stretches[z] > 0);
    }
}

void MonitorPage::Show(const MonitorResult& result) {
    for (int i = 0; i < kMonitorLabelCount; ++i) {
        QLabel* l = labels_[static_cast<std::size_t>(i)];
        const MonitorLabel& m = result.labels[static_cast<std::size_t>(i)];
        if (!l) continue;
        if (m.textSet) l->setText(Q(m.text));
        if (m.colourSet) {
            QPalette p = l->palette();
            p.setColor(QPalette::Window, ColourOf(m.colour));
            l->setPalette(p);
        }
        if (m.visibleSet) l->setVisible(m.visible);
    }
    for (int i = 0; i < kMonitorGaugeCount; ++i) {
        QProgressBar* g = gauges_[static_cast<std::size_t>(i)];
        const MonitorGauge& m = result.gauges[static_cast<std::size_t>(i)];
        if (!g) continue;
        if (m.progressSet) {
            g->setRange(m.minimum, m.maximum);
            g->setValue(m.Shown());
        }
        if (m.colourSet)
            g->setStyleSheet(QStringLiteral("QProgressBar::chunk { background-color: %1; }")
                                 .arg(ColourOf(m.foreColour).name()));
    }
}

}  // namespace kestrin::gui

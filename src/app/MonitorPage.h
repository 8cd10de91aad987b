#pragma once
// The Monitor page: the live engine at a glance. One label per decoded monitor value and the
// five bar gauges, grouped by meaning; it only shows what the decoder produced.

#include <QWidget>
#include <array>

#include "link/MonitorDecoder.h"

class QCheckBox;
class QLabel;
class QProgressBar;

namespace kestrin::gui {

class MonitorPage : public QObject {
    Q_OBJECT

public:
    // Builds the page's groups into `sheet` (which has a vertical layout). The labels that the
    // status row shows (version, programmed-data error, service values) are taken from
    // `external` by name instead of being created here.
    MonitorPage(QWidget* sheet, const std::array<QLabel*, kMonitorLabelCount>& external);

    void Show(const MonitorResult& result);
    QLabel* label(MonitorLabelId id) const { return labels_[static_cast<std::size_t>(id)]; }
    QProgressBar* gauge(MonitorGaugeId id) const { return gauges_[static_cast<std::size_t>(id)]; }
    QCheckBox* extendedView() const { return checkBoxExtMonitor_; }
    // Lays the lambda gauge's colour zones out from the lambda bar points b0..b3.
    void SetLambdaZones(int b0, int b1, int b2, int b3);
    // Moves the live values that belong beside their settings (cooling, gears, tuning, idle)
    // into those pages' group boxes, found by name under `root`.
    void PlaceBesideSettings(QWidget* root);

    static QColor ColourOf(MonitorColour c);

private:
    QLabel* Make(QWidget* parent, MonitorLabelId id);
    QProgressBar* MakeGauge(QWidget* parent, MonitorGaugeId id, int maximum);

    std::array<QLabel*, kMonitorLabelCount> labels_{};
    std::array<QProgressBar*, kMonitorGaugeCount> gauges_{};
    QCheckBox* checkBoxExtMonitor_ = nullptr;
    QWidget* lambdaZones_ = nullptr;
    std::array<QLabel*, 3> lambdaZoneLabels_{};
    std::array<int, 4> lambdaPoints_{100, 100, 200, 200};
};

}  // namespace kestrin::gui

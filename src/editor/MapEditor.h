#pragma once
// The one map editor that all nine map pages share (GroupBoxMap): the 10 x 15 grid of cells
// with the RPM axis above it and the load axis to its left, the column spin buttons, and the
// strip of page-dependent tools and extra parameters below. It moves onto the active map page.

#include <QGroupBox>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "lang/Messages.h"
#include "model/ParameterImage.h"

class QCheckBox;
class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;

namespace kestrin::gui {

class RadioGroup;
class SpinButton;
class UpDown;

inline constexpr int kMapParCount = 6;
inline constexpr int kMapParLabelCount = 5;

class MapEditor : public QGroupBox {
    Q_OBJECT

public:
    explicit MapEditor(QWidget* firstPage);

    UpDown* rpm(int c) const { return rpm_[static_cast<std::size_t>(c)]; }
    UpDown* tps(int r) const { return tps_[static_cast<std::size_t>(r)]; }
    UpDown* cell(int r, int c) const { return cells_[Index(r, c)]; }
    QLabel* cellLabel(int r, int c) const { return cellLabels_[Index(r, c)]; }
    QLabel* tpsRow(int r) const { return tpsRows_[static_cast<std::size_t>(r)]; }
    UpDown* par(int k) const { return pars_[static_cast<std::size_t>(k)]; }
    QLabel* parLabel(int k) const { return parLabels_[static_cast<std::size_t>(k)]; }
    SpinButton* columnSpin(int c) const { return columnSpins_[static_cast<std::size_t>(c)]; }
    SpinButton* allSpin() const { return allSpin_; }
    QCheckBox* checkAll() const { return all_; }
    QCheckBox* checkTps() const { return tpsCheck_; }
    QCheckBox* checkZobrMs() const { return zobrMs_; }
    QCheckBox* checkServoEnable() const { return servoEnable_; }
    QCheckBox* checkProcenta() const { return procenta_; }
    QCheckBox* checkStepMotor() const { return stepMotor_; }
    RadioGroup* servoMode() const { return servoMode_; }
    QLabel* labelRpm() const { return labelRpm_; }
    QLabel* labelLoad() const { return labelLoad_; }
    QLabel* labelJetMode() const { return jetMode_; }
    QFrame* bevel() const { return bevel_; }

    // Every up-down of the editor, in creation order.
    const std::vector<UpDown*>& upDowns() const { return upDowns_; }
    // A control of the bottom strip or the editor by its name ("UpDownMapPar[2]", ...).
    QWidget* strip(const std::string& name) const;

    // Moves the editor onto `sheet` and arranges what `page` uses: the load axis (throttle row
    // captions or the editable pressures) and the strip's tools and extra parameters with their
    // captions. Cylinders complete the caption of the cylinder corrections.
    void ShowOn(int page, QWidget* sheet, const MessageSlots& messages, int cylinders);
    int page() const { return page_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::size_t Index(int r, int c) { return static_cast<std::size_t>(kMapColumns * r + c); }
    UpDown* MakeUpDown(const QString& upDown, const QString& edit);
    void ArrangeStrip(int page, const MessageSlots& messages, int cylinders);

    QGridLayout* grid_ = nullptr;
    QHBoxLayout* strip_ = nullptr;
    int page_ = -1;
    int stripPage_ = -1;

    QLabel* labelRpm_ = nullptr;
    QLabel* labelLoad_ = nullptr;
    std::array<QLabel*, kMapRows> tpsRows_{};
    std::array<UpDown*, kMapColumns> rpm_{};
    std::array<UpDown*, kMapCells> cells_{};
    std::array<QLabel*, kMapCells> cellLabels_{};
    std::array<SpinButton*, kMapColumns> columnSpins_{};
    SpinButton* allSpin_ = nullptr;
    QCheckBox* all_ = nullptr;
    QCheckBox* tpsCheck_ = nullptr;
    std::array<UpDown*, kMapParCount> pars_{};
    std::array<QLabel*, kMapParLabelCount> parLabels_{};
    QLabel* jetMode_ = nullptr;
    QFrame* bevel_ = nullptr;
    QCheckBox* zobrMs_ = nullptr;
    QCheckBox* servoEnable_ = nullptr;
    QCheckBox* procenta_ = nullptr;
    RadioGroup* servoMode_ = nullptr;
    QCheckBox* stepMotor_ = nullptr;
    std::array<UpDown*, kMapRows> tps_{};
    std::vector<UpDown*> upDowns_;
    std::map<std::string, QWidget*> stripWidgets_;
};

}  // namespace kestrin::gui

// The two copy directions between the active page's controls and the image, and the handlers
// that start them.
#include "editor/Editor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabWidget>

#include "editor/MapEditor.h"
#include "editor/Widgets.h"
#include "editor/core/EditRules.h"
#include "editor/core/Note.h"
#include "model/Bikes.h"
#include "model/Defaults.h"

namespace kestrin::gui {

using editor::MapPageInfo;

namespace {

constexpr int kCylindersByte = 256;
constexpr int kBikeWithoutStepMotor = 47;
constexpr int kStepMotorByte = 66;

// The next control in tab order that can take the focus now: visible on the shown page,
// enabled, a tab stop, and not the inner part of another control.
void FocusNext(QWidget* from) {
    QWidget* top = from->window();
    for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        if (w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus)) continue;
        if (w->window() != top || !w->isEnabled() || !w->isVisibleTo(top)) continue;
        w->setFocus(Qt::TabFocusReason);
        return;
    }
}

}  // namespace

void Editor::Run(const std::function<void()>& step) {
    if (step) step();
}

int Editor::ActivePage() const {
    const QWidget* current = ctx_.pageControl->currentWidget();
    for (int k = 0; k < kEditorPages; ++k)
        if (ctx_.sheets[static_cast<std::size_t>(k)] == current) return k;
    return kPageBike;
}

void Editor::SelectPage(int page) {
    if (page < 0 || page >= kEditorPages) return;
    const QSignalBlocker block(ctx_.pageControl);
    ctx_.pageControl->setCurrentWidget(ctx_.sheets[static_cast<std::size_t>(page)]);
}

bool Editor::coupled() const {
    return editor::InjectorModeOf(ctx_.image).coupled;
}
bool Editor::allEqual() const {
    return editor::InjectorModeOf(ctx_.image).allEqual;
}

QCheckBox* Editor::checkBoxZobrMs() const {
    return map_->checkZobrMs();
}

void Editor::ControlsToImage() {
    if (refreshing_) return;
    const int page = ActivePage();
    if (page == kPageBike) {
        if (const auto code = BikeCodeOfIndex(comboBoxBike_->currentIndex()))
            ctx_.image.setByte(0, static_cast<std::uint8_t>(*code));
        NoteToImage();
    }
    if (editor::IsMapPage(page)) {
        MapToImage(page);
        return;
    }
    for (const Bound& b : bindings_[static_cast<std::size_t>(page)]) StoreBound(b);
}

void Editor::ImageToControls() {
    refreshing_ = true;
    // All-equal mode: Inj-2A..4A are Inj-1A, whatever reached the image.
    if (editor::InjectorModeOf(ctx_.image).allEqual) {
        editor::CopyInj1AOntoOthers(ctx_.image);
        Run(ctx_.computeBaseMaps);
        editor::RefreshCopiedPercents(ctx_.image, ctx_.maps);
    }
    const int page = ActivePage();
    if (page == kPageBike) {
        const int index = BikeIndexToShow(ctx_.image, [this](MsgId id) {
            if (ctx_.showMessage) ctx_.showMessage(id);
        });
        if (comboBoxBike_->currentIndex() != index) comboBoxBike_->setCurrentIndex(index);
        NoteFromImage();
    }
    if (editor::IsMapPage(page))
        MapFromImage(page);
    else
        for (const Bound& b : bindings_[static_cast<std::size_t>(page)]) ShowBound(b);
    ColourProgHned();
    Run(ctx_.updatePageLayout);
    refreshing_ = false;
}

void Editor::ValueChanged() {
    Run(ctx_.consistencyPass);
    ImageToControls();
    ImageToControls();
    Run(ctx_.undoSnapshot);
}

void Editor::StoreBound(const Bound& b) {
    if (b.upDown) {
        SetShownValue(ctx_.image, *b.field, b.element, b.upDown->ReadPosition());
    } else if (b.check) {
        SetStoredValue(ctx_.image, *b.field, b.element, b.check->isChecked() ? 1 : 0);
    } else if (b.radio && !b.writtenByHandler && b.radio->itemIndex() >= 0) {
        SetStoredValue(ctx_.image, *b.field, b.element, b.radio->itemIndex());
    }
}

void Editor::ShowBound(const Bound& b) {
    if (b.upDown) {
        if (b.maximum > b.minimum) {
            if (b.upDown->minimum() != b.minimum || b.upDown->maximum() != b.maximum)
                b.upDown->setRange(b.minimum, b.maximum);
            b.upDown->setSingleStep(b.step);
        }
        b.upDown->ShowPosition(ShownValue(ctx_.image, *b.field, b.element));
    } else if (b.check) {
        b.check->setChecked(StoredValue(ctx_.image, *b.field, b.element) != 0);
    } else if (b.radio) {
        b.radio->setItemIndex(StoredValue(ctx_.image, *b.field, b.element));
    }
}

void Editor::MapToImage(int page) {
    // Until a refresh has brought the map editor onto this page it shows another map.
    if (map_->page() != page) return;
    const MapPageInfo& info = *editor::MapPageOf(page);
    const editor::InjectorMode mode = editor::InjectorModeOf(ctx_.image);
    editor::AxisPositions rpm{};
    for (int c = 0; c < kMapColumns; ++c)
        rpm[static_cast<std::size_t>(c)] = map_->rpm(c)->ReadPosition();
    editor::StoreRpmAxis(info, rpm, ctx_.image, mode);
    Run(ctx_.computeBaseMaps);
    for (int r = 0; r < kMapRows; ++r)
        ctx_.image.setWord(editor::kLoadAxisWord + r,
                           static_cast<std::uint16_t>(map_->tps(r)->ReadPosition()));
    editor::CellPositions cells{};
    for (int r = 0; r < kMapRows; ++r)
        for (int c = 0; c < kMapColumns; ++c)
            cells[static_cast<std::size_t>(kMapColumns * r + c)] = map_->cell(r, c)->ReadPosition();
    editor::StoreCells(info, cells, ctx_.image, ctx_.maps, mode);
    for (const Bound& b : mapPars_[static_cast<std::size_t>(page)]) StoreBound(b);
    pageAllFlags_[static_cast<std::size_t>(page)] = map_->checkAll()->isChecked();
}

void Editor::MapFromImage(int page) {
    const MapPageInfo& info = *editor::MapPageOf(page);
    map_->ShowOn(page, ctx_.sheets[static_cast<std::size_t>(page)], ctx_.messages,
                 ctx_.image.byte(kCylindersByte));
    for (int c = 0; c < kMapColumns; ++c)
        map_->rpm(c)->ShowPosition(100 * ctx_.image.byte(info.axisByte + c));
    Run(ctx_.computeBaseMaps);
    for (int r = 0; r < kMapRows; ++r)
        map_->tps(r)->ShowPosition(ctx_.image.word(editor::kLoadAxisWord + r));
    const int maximum = editor::CellMaximum(info, ctx_.image);
    const int step = editor::CellStep(info, ctx_.image);
    editor::CellPositions shown{};
    editor::ShownCells(info, ctx_.image, ctx_.maps, shown);
    for (int r = 0; r < kMapRows; ++r)
        for (int c = 0; c < kMapColumns; ++c) {
            UpDown* u = map_->cell(r, c);
            if (u->maximum() != maximum) u->setMaximum(maximum);
            u->setSingleStep(step);
            u->ShowPosition(shown[static_cast<std::size_t>(kMapColumns * r + c)]);
        }
    map_->checkTps()->setChecked(ctx_.image.byte(40) != 0);
    if (page == kPageIntakeServo && ctx_.image.byte(0) == kBikeWithoutStepMotor)
        ctx_.image.setByte(kStepMotorByte, 0);
    for (const Bound& b : mapPars_[static_cast<std::size_t>(page)]) ShowBound(b);
    map_->checkAll()->setChecked(pageAllFlags_[static_cast<std::size_t>(page)]);
}

void Editor::NoteToImage() {
    std::vector<std::string> lines;
    const QString text = memo1_->toPlainText();
    if (!text.isEmpty())
        for (const QString& line : text.split(QLatin1Char('\n')))
            lines.push_back(editor::Cp1250FromUtf8(line.toStdString()));
    editor::StoreNote(ctx_.image, lines);
}

void Editor::NoteFromImage() {
    QStringList lines;
    for (const std::string& line : editor::LoadNote(ctx_.image))
        lines << QString::fromStdString(editor::Utf8FromCp1250(line));
    const QString text = lines.join(QLatin1Char('\n'));
    if (memo1_->toPlainText() != text) memo1_->setPlainText(text);
}

// A check box that programs after every change is a warning: it is red while on.
void Editor::ColourProgHned() {
    QPalette pal = checkBoxProgHned_->palette();
    const QColor colour = checkBoxProgHned_->isChecked()
                              ? QColor(Qt::red)
                              : QApplication::palette().color(QPalette::Button);
    if (pal.color(QPalette::Window) == colour) return;
    pal.setColor(QPalette::Window, colour);
    checkBoxProgHned_->setPalette(pal);
}

const Editor::Bound* Editor::BoundOf(const QObject* control, int page) const {
    if (page < 0 || page >= kEditorPages) return nullptr;
    for (const auto* list :
         {&bindings_[static_cast<std::size_t>(page)], &mapPars_[static_cast<std::size_t>(page)]})
        for (const Bound& b : *list)
            if (b.upDown == control || b.check == control || b.radio == control) return &b;
    return nullptr;
}

// ---- Handlers ------------------------------------------------------------------------------

void Editor::UpDownClick() {
    ControlsToImage();
    ValueChanged();
}

void Editor::EditOnClick() {
    ControlsToImage();
    ValueChanged();
}

bool Editor::FormKeyPress(QWidget* sender, QKeyEvent* key) {
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    FocusNext(sender);
    ControlsToImage();
    ValueChanged();
    return true;
}

void Editor::CheckBoxMouseUp() {
    ControlsToImage();
    Run(ctx_.updatePageLayout);
    ValueChanged();
}

void Editor::CheckBoxTps_UniMouseUp() {
    map_->hide();
    ControlsToImage();
    Run(ctx_.updatePageLayout);
    map_->show();
    ValueChanged();
}

void Editor::Memo1MouseLeave() {
    NoteToImage();
}

void Editor::PageControl1Change() {
    map_->hide();
    ImageToControls();
    map_->show();
}

// Radio groups write their own field at once, then lay the page out and take a snapshot.
void Editor::StoreRadio(RadioGroup* radio, bool layout) {
    const Bound* b = BoundOf(radio, ActivePage());
    if (!b || radio->itemIndex() < 0) return;
    SetStoredValue(ctx_.image, *b->field, b->element, radio->itemIndex());
    if (layout) Run(ctx_.updatePageLayout);
    Run(ctx_.undoSnapshot);
}

void Editor::RadioGroupPolohaAClick() {
    StoreRadio(qobject_cast<RadioGroup*>(control("RadioGroupPolohaA")), false);
}
void Editor::RadioGroupPolohaBClick() {
    StoreRadio(qobject_cast<RadioGroup*>(control("RadioGroupPolohaB")), false);
}
void Editor::RadioGroupGearSystemClick() {
    StoreRadio(qobject_cast<RadioGroup*>(control("RadioGroupGearSystem")), true);
}
void Editor::RadioGroupClutchModeClick() {
    StoreRadio(qobject_cast<RadioGroup*>(control("RadioGroupClutchMode")), true);
}
void Editor::RadioGroupSpeedModeClick() {
    StoreRadio(qobject_cast<RadioGroup*>(control("RadioGroupSpeedMode")), true);
}
void Editor::RadioGroupPotencModeClick() {
    StoreRadio(qobject_cast<RadioGroup*>(control("RadioGroupPotencMode")), true);
}
void Editor::RadioGroupLadeniModeClick() {
    StoreRadio(qobject_cast<RadioGroup*>(control("RadioGroupLadeniMode")), true);
}

void Editor::RadioGroupServoModeClick() {
    map_->hide();
    StoreRadio(map_->servoMode(), true);
    map_->show();
}

void Editor::CheckBoxServoEnableMouseUp() {
    const Bound* b = BoundOf(map_->checkServoEnable(), ActivePage());
    if (!b) return;
    map_->hide();
    SetStoredValue(ctx_.image, *b->field, b->element, map_->checkServoEnable()->isChecked());
    Run(ctx_.updatePageLayout);
    map_->show();
    Run(ctx_.undoSnapshot);
}

// The sensor type brings its own curve; the ten points show it at once.
void Editor::RadioGroupCidloLambdaModeClick() {
    auto* radio = qobject_cast<RadioGroup*>(control("RadioGroupCidloLambdaMode"));
    const Bound* b = BoundOf(radio, kPageCidla);
    if (!b || radio->itemIndex() < 0) return;
    SetStoredValue(ctx_.image, *b->field, b->element, radio->itemIndex());
    LoadLambdaCurve(ctx_.image, radio->itemIndex());
    refreshing_ = true;
    for (const Bound& s : bindings_[kPageCidla])
        if (s.field->section == b->field->section) ShowBound(s);
    refreshing_ = false;
    Run(ctx_.updatePageLayout);
    Run(ctx_.undoSnapshot);
}

void Editor::RadioGroupIdleModeClick() {
    auto* radio = qobject_cast<RadioGroup*>(control("RadioGroupIdleMode"));
    const Bound* b = BoundOf(radio, kPageVolnobeh);
    if (!b || radio->itemIndex() < 0) return;
    const int old = ctx_.image.byte(editor::kIdleModeByte);
    SetStoredValue(ctx_.image, *b->field, b->element, radio->itemIndex());
    Run(ctx_.updatePageLayout);
    editor::ConvertIdleServoCurve(ctx_.image, old, radio->itemIndex());
    ImageToControls();
}

// Switching the servo map between percent and raw steps converts the map, so that "Procent"
// never reinterprets the stored values.
void Editor::CheckBoxProcentaMouseUp() {
    map_->hide();
    editor::SwitchServoPercent(ctx_.image, ActivePage(), map_->checkProcenta()->isChecked());
    map_->show();
    ValueChanged();
}

bool Editor::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (watched != memo1_ && qobject_cast<QWidget*>(watched) &&
                !qobject_cast<QLineEdit*>(watched))
                return FormKeyPress(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event));
            break;
        case QEvent::MouseButtonRelease:
            if (qobject_cast<QLineEdit*>(watched) &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                EditOnClick();
            break;
        case QEvent::Leave:
            if (watched == memo1_) Memo1MouseLeave();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace kestrin::gui

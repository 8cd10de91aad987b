#pragma once
// The editor of the main window: it builds the controls of every settings page and the map
// editor that the nine map pages share, binds each control to its image field, and copies
// between the controls of the active page and the image. The image stays the one source of
// truth; the controls only show it.

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "editor/core/MapPages.h"
#include "lang/Messages.h"
#include "model/FieldTable.h"
#include "model/InjectionMaps.h"
#include "model/ParameterImage.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QKeyEvent;
class QPlainTextEdit;
class QTabWidget;
class QWidget;

namespace kestrin::editor {
struct ControlDef;
struct GroupDef;
}  // namespace kestrin::editor

namespace kestrin::gui {

class MapEditor;
class RadioGroup;
class UpDown;

inline constexpr int kEditorPages = 19;

// What the editor works on and the steps of the main window it calls. Empty steps are skipped.
struct EditorContext {
    EditorContext(ParameterImage& image_, InjectionMapSet& maps_, const MessageSlots& messages_)
        : image(image_), maps(maps_), messages(messages_) {}

    ParameterImage& image;
    InjectionMapSet& maps;
    const MessageSlots& messages;
    QTabWidget* pageControl = nullptr;               // PageControl1
    std::array<QWidget*, kEditorPages> sheets{};     // each with an empty QVBoxLayout
    std::function<void()> consistencyPass;           // every field back into range
    std::function<void()> computeBaseMaps;           // the five base maps from the current RPM axes
    std::function<void()> undoSnapshot;              // record the image; may start programming
    std::function<void()> updatePageLayout;          // visibility, captions and limits of the page
    std::function<void(bool)> tuningSwitched;        // CheckBoxLadeniPovoleno clicked
    std::function<void(int)> bikePicked;             // ComboBoxBike item chosen by the user
    std::function<void(MsgId)> showMessage;          // message box
    std::function<void(const QString&)> outputTest;  // one of the output test buttons
};

class Editor : public QObject {
    Q_OBJECT

public:
    explicit Editor(EditorContext context, QObject* parent = nullptr);
    ~Editor() override;

    // The controls of the active page into the image; nothing while refreshing.
    void ControlsToImage();
    // The image into the controls of the active page, then the page layout step.
    void ImageToControls();
    // After every edit: consistency pass, refresh twice, undo snapshot.
    void ValueChanged();

    // Page 0..18 of the sheet PageControl1 shows.
    int ActivePage() const;
    // Makes `page` the active page without running PageControl1Change.
    void SelectPage(int page);
    bool refreshing() const { return refreshing_; }
    bool coupled() const;
    bool allEqual() const;
    // One "All" state per page, shown by CheckBoxAll_Uni; not part of the image.
    std::array<bool, kEditorPages>& pageAllFlags() { return pageAllFlags_; }

    MapEditor& mapEditor() const { return *map_; }
    QComboBox* comboBoxBike() const { return comboBoxBike_; }
    QPlainTextEdit* memo1() const { return memo1_; }
    QCheckBox* checkBoxProgHned() const { return checkBoxProgHned_; }
    QCheckBox* checkBoxLadeniPovoleno() const { return checkBoxLadeniPovoleno_; }
    QCheckBox* checkBoxZobrMs() const;
    // A control the editor built, by its name.
    QWidget* control(const std::string& name) const;

    // Control names of the tables that found no image field; empty when the tables are sound.
    const std::vector<std::string>& unresolvedControls() const { return unresolved_; }

    // The Enter key in an edit, the bike list or an Enter-committing check box: swallowed, the
    // focus moves on, the page is committed. False for every other key.
    bool FormKeyPress(QWidget* sender, QKeyEvent* key);

public slots:
    void UpDownClick();
    void EditOnClick();
    void CheckBoxMouseUp();
    void CheckBoxTps_UniMouseUp();
    void CheckBoxServoEnableMouseUp();
    void CheckBoxProcentaMouseUp();
    void Memo1MouseLeave();
    void PageControl1Change();
    void RadioGroupPolohaAClick();
    void RadioGroupPolohaBClick();
    void RadioGroupGearSystemClick();
    void RadioGroupClutchModeClick();
    void RadioGroupSpeedModeClick();
    void RadioGroupPotencModeClick();
    void RadioGroupLadeniModeClick();
    void RadioGroupServoModeClick();
    void RadioGroupCidloLambdaModeClick();
    void RadioGroupIdleModeClick();

signals:
    // A tool control was used: a spin button's arrow (+1 up, -1 down) or a tool button (0).
    // The editing tools connect here.
    void ToolClicked(const QString& control, int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One control tied to one element of an image field.
    struct Bound {
        const Field* field = nullptr;
        int element = 0;
        UpDown* upDown = nullptr;
        QCheckBox* check = nullptr;
        RadioGroup* radio = nullptr;
        bool writtenByHandler = false;
        int minimum = 0;  // map extra parameters: the range on their page
        int maximum = 0;
        int step = 1;
    };

    // Building (EditorBuild.cpp).
    void OrderSheets();
    void BuildMapEditor();
    void BuildSettingsPages();
    QWidget* BuildGroup(const editor::GroupDef& group, QWidget* parent);
    void BuildControl(const editor::ControlDef& def, int element, int page, QWidget* parent,
                      QGridLayout* grid);
    void Bind(Bound bound, std::string_view name, int page);
    void BindMapPars();
    void WireUpDown(UpDown* u);
    void WireRadio(RadioGroup* r);
    void Remember(QWidget* w);

    // Copying.
    void StoreBound(const Bound& b);
    void ShowBound(const Bound& b);
    void MapToImage(int page);
    void MapFromImage(int page);
    void NoteToImage();
    void NoteFromImage();
    void ColourProgHned();
    const Bound* BoundOf(const QObject* control, int page) const;
    void StoreRadio(RadioGroup* radio, bool layout);
    static void Run(const std::function<void()>& step);

    EditorContext ctx_;
    bool refreshing_ = false;
    std::array<bool, kEditorPages> pageAllFlags_{};
    std::array<std::vector<Bound>, kEditorPages> bindings_;
    std::array<std::vector<Bound>, kEditorPages> mapPars_;
    std::vector<std::string> unresolved_;
    std::map<std::string, QWidget*> controls_;

    MapEditor* map_ = nullptr;
    QComboBox* comboBoxBike_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    QCheckBox* checkBoxProgHned_ = nullptr;
    QCheckBox* checkBoxLadeniPovoleno_ = nullptr;
};

}  // namespace kestrin::gui

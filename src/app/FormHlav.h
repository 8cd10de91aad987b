#pragma once
// The main window: owns the image, the link loop, the message slots and the settings of the
// run, builds the pages, and turns the link loop's results into what the rider sees.

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <memory>

#include "lang/Messages.h"
#include "link/LinkLoop.h"
#include "link/MonitorDecoder.h"
#include "model/Defaults.h"
#include "model/InjectionMaps.h"
#include "model/ParameterImage.h"

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace kestrin::gui {
class Editor;
class MonitorPage;
class PortMap;
}  // namespace kestrin::gui

inline constexpr int kPageTotal = 19;

class TFormHlav : public QMainWindow, private kestrin::LinkHost {
    Q_OBJECT

public:
    explicit TFormHlav(const QStringList& arguments, QWidget* parent = nullptr);
    // For tests: the window on a serial line of the caller's choice.
    TFormHlav(const QStringList& arguments, std::unique_ptr<kestrin::SerialLine> line,
              QWidget* parent = nullptr);
    ~TFormHlav() override;

    const kestrin::ParameterImage& parameterImage() const { return image_; }
    kestrin::LinkLoop& link() { return *linkLoop_; }
    kestrin::SerialLine& serialLine() { return *line_; }
    const kestrin::MessageSlots& messages() const { return messages_; }
    int languageIndex() const { return languageIndex_; }
    const QString& settingsDir() const { return settingsDir_; }
    const QString& iniFileName() const { return iniFileName_; }
    const QString& imageBackupFile() const { return imageBackupFile_; }
    const QString& fileName() const { return fileName_; }
    bool testEnable() const { return testEnable_; }
    QTimer* timer() const { return timer1_; }
    const kestrin::MonitorResult& monitor() const { return monitor_; }
    kestrin::gui::MonitorPage* monitorPage() const { return monitorPage_; }
    kestrin::gui::Editor& editor() const { return *editor_; }

    // While the window is printed the no-connection label stays hidden.
    void SetPrinting(bool on);

public slots:
    void Timer1Timer();
    void MenuCom1Click();
    void MenuExitClick();
    void MenuEnglishClick();
    void MenuGermanClick();
    void MenuFrenchClick();
    void MenuCzechClick();
    void MenuNewClick();
    void MenuNewActPageClick();
    void ComboBoxBikeChange(int index);
    void ValueChanged();
    void MenuProgramClick();
    void MenuVerifyClick();
    void MenuReadClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ParseArguments(const QStringList& arguments);
    void ReadPortNames();
    void BuildWindow();
    void BuildPages();
    void BuildMenus();
    void BuildStatusArea();
    void BuildCommandRow();
    void BuildMonitorPage();
    void FormCreate();
    void FormClose();
    void ShowLinkView();
    void ShowPortCheck();
    void SetLanguage(int index);

    // Steps of other subsystems that the start-up and close sequences call.
    void BuildMapEditor();
    void BuildExtraControls();
    void LoadBikeDefaults();
    void LoadSettings() {}
    void SaveSettings() {}
    void PageChange() {}
    void ApplyBikeTables();
    void ConsistencyPass() override;
    kestrin::BikeCommandHooks BikeHooks();
    int ShownBikeIndex() const;
    int ActivePage() const;
    void ApplyLanguage();
    void ImageToControls() override;
    void ControlsToImage() override;
    void ResetUndo() {}
    void ReadTestFlagFile() {}
    void UpdatePageLayout();

    // LinkHost
    void MonitorFrameReceived(const kestrin::Frame& frame) override;
    void ComOpenFailed(bool report) override;
    void VersionMismatch(const std::string& text) override;
    void ReadStarted() override;
    void OperatingPointHighlight() override {}

    kestrin::ParameterImage image_;
    kestrin::InjectionMapSet maps_;
    kestrin::BikeSelection bike_;
    kestrin::ConsistencyWarnings consistencyWarnings_;
    kestrin::MessageSlots messages_;
    kestrin::MonitorResult monitor_;
    kestrin::gui::MonitorPage* monitorPage_ = nullptr;
    kestrin::gui::Editor* editor_ = nullptr;
    std::unique_ptr<kestrin::gui::PortMap> portMap_;
    std::unique_ptr<kestrin::SerialLine> line_;
    std::unique_ptr<kestrin::LinkLoop> linkLoop_;
    int languageIndex_ = kestrin::English;
    bool testEnable_ = false;
    bool closed_ = false;

    QString settingsDir_;
    QString iniFileName_;
    QString imageBackupFile_;
    QString testFlagFile_;
    QString fileName_;
    QString languageWord_;
    QStringList permissionTold_;  // devices the user was told they may not open

    QTabWidget* pageControl1_ = nullptr;
    std::array<QWidget*, kPageTotal> tabSheetPage_{};
    QLabel* labelHlaseni_ = nullptr;
    QProgressBar* cGaugeProgram_ = nullptr;
    QLabel* labelSpojeni_ = nullptr;
    QLabel* labelVersion_ = nullptr;
    QLabel* labelEeDataErr_ = nullptr;
    QLabel* labelCom_ = nullptr;
    QLabel* labelPokus_ = nullptr;
    std::array<QLabel*, 8> labelTest_{};
    std::array<QLabel*, 3> labelVerze_{};
    QLabel* labelFile2_ = nullptr;
    QStatusBar* statusBar1_ = nullptr;
    QMenu* menuCom_ = nullptr;
    QMenu* menuServis_ = nullptr;
    std::array<QAction*, kestrin::kPortMenuItems> menuComItems_{};
    std::array<QAction*, kestrin::kLanguageCount> menuLanguageItems_{};
    QTimer* timer1_ = nullptr;
};

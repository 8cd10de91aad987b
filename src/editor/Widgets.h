#pragma once
// The three control kinds the pages need beyond Qt's own: an edit with an attached up-down, a
// radio group that reports its item index, and a spin button with separate up and down clicks.

#include <QGroupBox>
#include <QSpinBox>
#include <QStringList>
#include <QWidget>
#include <vector>

class QButtonGroup;
class QRadioButton;
class QToolButton;

namespace kestrin::gui {

// One spin box stands for an up-down ("UpDownX") and its associated edit ("EditX", the spin
// box's line edit). Typing alone changes nothing: the position is read from the edit's text
// when the page is committed. Digit grouping follows the platform's locale.
class UpDown : public QSpinBox {
    Q_OBJECT

public:
    UpDown(QWidget* parent, const QString& upDownName, const QString& editName);

    // The position the edit's text gives, held within the range; the position stays as it was
    // when the text is not a number.
    int ReadPosition();
    // Shows position p; an up-down that already shows p, text included, is left untouched.
    void ShowPosition(int p);
    bool Shows(int p) const;
    QString Formatted(int v) const { return textFromValue(v); }
    QLineEdit* edit() const { return lineEdit(); }
    void stepBy(int steps) override;

signals:
    // An arrow, a cursor key or the wheel stepped the position.
    void clicked();

protected:
    void wheelEvent(QWheelEvent* event) override;
};

// A group box of radio buttons whose checked item is its item index (-1: none).
class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    RadioGroup(QWidget* parent, const QString& name, const QString& title, const QStringList& items,
               int columns);

    int itemIndex() const;
    // An index outside the items checks none.
    void setItemIndex(int index);
    int count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* button(int i) const { return buttons_[static_cast<std::size_t>(i)]; }
    void setItemTexts(const QStringList& items);
    // Item buttons that the tab key and Enter pass over.
    void setTabStop(bool on);

signals:
    void clicked();  // the user chose an item

private:
    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
};

// Two small arrow buttons, one above the other.
class SpinButton : public QWidget {
    Q_OBJECT

public:
    SpinButton(QWidget* parent, const QString& name);

signals:
    void upClicked();
    void downClicked();

private:
    QToolButton* up_;
    QToolButton* down_;
};

}  // namespace kestrin::gui

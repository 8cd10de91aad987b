#include "editor/Widgets.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

namespace kestrin::gui {

UpDown::UpDown(QWidget* parent, const QString& upDownName, const QString& editName)
    : QSpinBox(parent) {
    setObjectName(upDownName);
    lineEdit()->setObjectName(editName);
    setKeyboardTracking(false);
    setGroupSeparatorShown(true);
    setFocusPolicy(Qt::StrongFocus);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

int UpDown::ReadPosition() {
    QString text = lineEdit()->text().trimmed();
    const QLocale loc = locale();
    text.remove(loc.groupSeparator());
    text.remove(QLatin1Char(' '));
    bool ok = false;
    int v = loc.toInt(text, &ok);
    if (!ok) v = text.toInt(&ok);
    if (!ok) return value();
    v = std::clamp(v, minimum(), maximum());
    if (v != value()) setValue(v);
    return value();
}

bool UpDown::Shows(int p) const {
    return value() == p && lineEdit()->text() == textFromValue(p);
}

void UpDown::ShowPosition(int p) {
    if (Shows(p)) return;
    setValue(p);
    const QString text = textFromValue(value());
    if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void UpDown::stepBy(int steps) {
    QSpinBox::stepBy(steps);
    emit clicked();
}

// The wheel steps only the up-down that has the focus, so scrolling a page changes nothing.
void UpDown::wheelEvent(QWheelEvent* event) {
    if (hasFocus())
        QSpinBox::wheelEvent(event);
    else
        event->ignore();
}

RadioGroup::RadioGroup(QWidget* parent, const QString& name, const QString& title,
                       const QStringList& items, int columns)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)) {
    setObjectName(name);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 2, 6, 4);
    grid->setVerticalSpacing(2);
    const int perColumn =
        columns > 0 ? (static_cast<int>(items.size()) + columns - 1) / columns : 1;
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(QStringLiteral("%1[%2]").arg(name).arg(i));
        group_->addButton(b, i);
        grid->addWidget(b, i % perColumn, i / perColumn);
        buttons_.push_back(b);
    }
    connect(group_, &QButtonGroup::idClicked, this, [this](int) { emit clicked(); });
}

int RadioGroup::itemIndex() const {
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (index == itemIndex()) return;
    if (index >= 0 && index < count()) {
        button(index)->setChecked(true);
        return;
    }
    // Unchecking needs the group's exclusiveness off for a moment.
    group_->setExclusive(false);
    for (QRadioButton* b : buttons_) b->setChecked(false);
    group_->setExclusive(true);
}

void RadioGroup::setItemTexts(const QStringList& items) {
    for (int i = 0; i < count() && i < items.size(); ++i) button(i)->setText(items[i]);
}

void RadioGroup::setTabStop(bool on) {
    for (QRadioButton* b : buttons_) b->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
}

SpinButton::SpinButton(QWidget* parent, const QString& name)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    setObjectName(name);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    const struct {
        QToolButton* button;
        Qt::ArrowType arrow;
        const char* suffix;
    } parts[] = {{up_, Qt::UpArrow, "Up"}, {down_, Qt::DownArrow, "Down"}};
    for (const auto& p : parts) {
        p.button->setObjectName(name + QLatin1String(p.suffix));
        p.button->setArrowType(p.arrow);
        p.button->setFocusPolicy(Qt::NoFocus);
        p.button->setAutoRaise(false);
        p.button->setFixedSize(22, 13);
        p.button->setIconSize(QSize(8, 8));
        box->addWidget(p.button);
    }
    setFocusPolicy(Qt::NoFocus);
    connect(up_, &QToolButton::clicked, this, &SpinButton::upClicked);
    connect(down_, &QToolButton::clicked, this, &SpinButton::downClicked);
}

}  // namespace kestrin::gui

#include "app/Dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace kestrin::gui {

bool Dialogs::scripted_ = false;
std::deque<bool> Dialogs::answers_;
QStringList Dialogs::shown_;

namespace {
QString Title() {
    return QApplication::applicationDisplayName();
}
}  // namespace

void Dialogs::Message(QWidget* parent, const QString& text) {
    if (scripted_) {
        shown_ << text;
        return;
    }
    QMessageBox::information(parent, Title(), text);
}

void Dialogs::Error(QWidget* parent, const QString& text) {
    if (scripted_) {
        shown_ << text;
        return;
    }
    QMessageBox::warning(parent, Title(), text);
}

bool Dialogs::Ask(QWidget* parent, const QString& question) {
    if (scripted_) {
        shown_ << question;
        if (answers_.empty()) return false;
        const bool yes = answers_.front();
        answers_.pop_front();
        return yes;
    }
    return QMessageBox::question(parent, Title(), question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void Dialogs::Script(bool on) {
    scripted_ = on;
    answers_.clear();
    shown_.clear();
}
bool Dialogs::Scripted() {
    return scripted_;
}
void Dialogs::QueueAnswer(bool yes) {
    answers_.push_back(yes);
}
QStringList& Dialogs::Shown() {
    return shown_;
}

}  // namespace kestrin::gui

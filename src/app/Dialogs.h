#pragma once
// Every message box and question goes through here, so tests can answer them instead of a
// person and no test blocks on a modal dialog.

#include <QString>
#include <QStringList>
#include <deque>

class QWidget;

namespace kestrin::gui {

class Dialogs {
public:
    static void Message(QWidget* parent, const QString& text);
    static void Error(QWidget* parent, const QString& text);
    // Yes/No question; true for Yes.
    static bool Ask(QWidget* parent, const QString& question);

    // Test hook: while scripted, boxes are not shown; each text is recorded and questions take
    // the next queued answer (No when none is queued).
    static void Script(bool on);
    static bool Scripted();
    static void QueueAnswer(bool yes);
    static QStringList& Shown();

private:
    static bool scripted_;
    static std::deque<bool> answers_;
    static QStringList shown_;
};

}  // namespace kestrin::gui

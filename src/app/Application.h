#pragma once
// The application object: an exception that escapes an event handler is shown in a message box
// and the program goes on.

#include <QApplication>

namespace kestrin::gui {

class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an exception the way the program shows every unexpected failure.
    static void ShowException(const char* what);
};

}  // namespace kestrin::gui

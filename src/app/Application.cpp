#include "app/Application.h"

#include <exception>

#include "app/Dialogs.h"

namespace kestrin::gui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("kestrin");
    setApplicationDisplayName("Kestrin Max Power");
    setOrganizationName("Kestrin");
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("Unknown error");
    }
    return false;
}

void Application::ShowException(const char* what) {
    Dialogs::Error(nullptr, QString::fromLocal8Bit(what));
}

}  // namespace kestrin::gui

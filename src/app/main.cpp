// Kestrin Max Power: the desktop companion of the engine control unit.
#include <exception>

#include "app/Application.h"
#include "app/FormHlav.h"

int main(int argc, char** argv) {
    kestrin::gui::Application app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    try {
        TFormHlav form(arguments);
        form.show();
        return app.exec();
    } catch (const std::exception& e) {
        kestrin::gui::Application::ShowException(e.what());
    } catch (...) {
        kestrin::gui::Application::ShowException("Unknown error");
    }
    return 1;
}

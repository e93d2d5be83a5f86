#include "app/Startup.h"
#include "platform/Application.h"
#include "platform/SessionEnd.h"
#include "ui/Glyphorama.h"

int main(int argc, char** argv) {
    platform::Application app(argc, argv);
    try {
        // However the program is asked to end, the window closes and saves before it does.
        platform::SessionEnd sessionEnd;
        PrepareApplication(app);
        TGlyphorama window;
        QObject::connect(&sessionEnd, &platform::SessionEnd::Ending, &window,
                         &TGlyphorama::EndSession);
        window.show();
        app.exec();
    } catch (...) {
        app.ShowException(std::current_exception());
    }
    return 0;
}

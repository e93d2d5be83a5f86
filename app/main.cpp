#include "app/AppCore.h"
#include "app/Startup.h"
#include "platform/Application.h"
#include "platform/Desktop.h"
#include "platform/SessionEnd.h"
#include "platform/SingleInstance.h"
#include "ui/Glyphorama.h"

#include <cstdio>

int main(int argc, char** argv) {
    platform::Application app(argc, argv);
    // First of all: from here on a signal ends the program in good order, whenever it comes.
    platform::SessionEnd sessionEnd;
    // A signal asks for the end of the program, not for a new one, even after a restart was
    // chosen. (The end of the loop itself looks like a session's end, so the flag is no help.)
    QObject::connect(&sessionEnd, &platform::SessionEnd::SignalReceived, &app,
                     [&app] { app.RestartRequested = false; });
    int status = 0;
    try {
        // Before anything in the data folder is read: the program that already runs over it
        // keeps it to itself.
        platform::SingleInstance instance(TAppCore().DataDir);
        switch (instance.Claim(app.arguments(), platform::SessionEnd::Requested)) {
        case platform::SingleInstance::Start::First:
            break;
        case platform::SingleInstance::Start::HandedOver:
            return 0;
        case platform::SingleInstance::Start::Unanswered:
            if (platform::SessionEnd::Requested())
                return 0;
            std::fprintf(stderr, "%s\n",
                         qUtf8Printable(UnansweredStartMessage(instance.OwnerProcess())));
            return 1;
        }
        PrepareApplication(app);
        TGlyphorama window;
        // From the window's close on, a start told it was heard would find nobody to show it
        // anything; it waits for this program's end instead and starts anew.
        QObject::connect(&app, &QGuiApplication::lastWindowClosed, &instance,
                         &platform::SingleInstance::StopAnswering);
        QObject::connect(&sessionEnd, &platform::SessionEnd::Ending, &instance,
                         &platform::SingleInstance::StopAnswering);
        QObject::connect(&sessionEnd, &platform::SessionEnd::Ending, &window,
                         &TGlyphorama::EndSession);
        // A later start was handed over to us: what its user wants to see is this window.
        QObject::connect(&instance, &platform::SingleInstance::Called, &window,
                         [&window] { platform::BringToFront(window); });
        if (!platform::SessionEnd::Requested())
            window.show();
        status = sessionEnd.RunMainLoop();
    } catch (...) {
        app.ShowException(std::current_exception());
    }
    // The window has saved its settings and the claim on the data folder is let go: the new
    // run finds it free.
    if (app.RestartRequested && !app.StartAgain())
        std::fprintf(stderr, "Glyphorama could not start again; start it by hand.\n");
    return status;
}

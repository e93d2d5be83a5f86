#include "app/AppCore.h"
#include "app/Language.h"
#include "platform/Application.h"
#include "platform/FormFonts.h"
#include "platform/HttpClient.h"
#include "platform/ImageList.h"
#include "platform/SessionEnd.h"
#include "ui/Glyphorama.h"

int main(int argc, char** argv) {
    platform::HttpClient::GlobalInit();
    platform::Application app(argc, argv);
    app.setApplicationName(QStringLiteral("glyphorama"));
    app.Title = QStringLiteral("Glyphorama2");
    // Lets the desktop match our windows to the installed menu entry and its icon.
    app.setDesktopFileName(QStringLiteral("org.example.Glyphorama"));
    app.setWindowIcon(platform::SvgIcon(QStringLiteral(":/forms/icons/glyphorama.svg")));
    platform::SubstituteFormFonts();
    try {
        // However the program is asked to end, the window closes and saves before it does.
        platform::SessionEnd sessionEnd;
        // Before any window exists, so that every text is made in the chosen language.
        const TAppCore paths;
        InterfaceLanguage::Install(LanguageSetting(paths.IniPath(SettingsFileName)).Read(),
                                   InterfaceLanguage::Folder(paths.ExeDir));
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

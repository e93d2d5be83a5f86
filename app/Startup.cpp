#include "app/Startup.h"

#include "app/AppCore.h"
#include "app/Language.h"
#include "platform/Application.h"
#include "platform/FormFonts.h"
#include "platform/ImageList.h"

void PrepareApplication(platform::Application& app) {
    app.setApplicationName(QStringLiteral("glyphorama"));
    app.Title = QStringLiteral("Glyphorama2");
    // Lets the desktop match our windows to the installed menu entry and its icon.
    app.setDesktopFileName(QStringLiteral("org.example.Glyphorama"));
    app.setWindowIcon(platform::SvgIcon(QStringLiteral(":/forms/icons/glyphorama.svg")));
    platform::UseFormFontEverywhere();
    // Before any window exists, so that every text is made in the chosen language.
    const TAppCore paths;
    InterfaceLanguage::Install(LanguageSetting(paths.IniPath(SettingsFileName)).Read(),
                               InterfaceLanguage::Folder(paths.ExeDir));
}

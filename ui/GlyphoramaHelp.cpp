// The tool menu's help items, the about box and the tile's context menu.
#include "ui/Glyphorama.h"

#include "app/Language.h"
#include "platform/Application.h"
#include "platform/Desktop.h"
#include "sampleview/TileSelection.h"
#include "ui/AboutForm.h"
#include "ui/SampleViewControls.h"
#include "ui/ShellOpen.h"

// Each command does nothing once the window has released its core at close (a queued menu
// click may still arrive).

void TGlyphorama::S1Click() {
    if (AppCore)
        ShellOpen(this,
                  AppCore->ExeDir + u'/' +
                      InterfaceLanguage::ReadmeFileName(InterfaceLanguage::Current()),
                  QString());
}

void TGlyphorama::U1Click() {
    if (AppCore)
        ShellOpen(this, AppCore->ExeDir + QStringLiteral("/info.txt"), QString());
}

void TGlyphorama::O2Click() {
    if (AppCore)
        ShellOpen(this, HomePageUrl, QString());
}

void TGlyphorama::M1Click() {
    if (AppCore)
        ShellOpen(this, QStringLiteral("mailto:") + AuthorMailAddress, QString());
}

// Quitting from the menu is the same as closing the window: the settings are saved, and a
// running version check still keeps the window open.
void TGlyphorama::X2Click() {
    close();
}

void TGlyphorama::RestartNow() {
    if (close())
        if (auto* app = platform::Application::instance())
            app->RestartRequested = true;
}

void TGlyphorama::ShowAboutClick() {
    if (!AppCore)
        return;
    // Reaching the menu has normally closed an open box already; make sure of it.
    if (AboutForm)
        AboutForm->close();
    AboutForm = new TAboutForm(this);
    AboutForm->show();
    // Active from the start, so that Esc reaches it and leaving it closes it.
    AboutForm->activateWindow();
}

void TGlyphorama::CopyFontNameClick() {
    if (!FontPool)
        return;
    // The tile may have left the view since its menu opened; then there is nothing to copy.
    const TFontUnit* unit = FontPool->FindUnitByTileTag(ContextMenuTag);
    if (!unit)
        return;
    // A selected tile's menu copies the names of the whole selection, one a line.
    const QStringList names = controls_ && controls_->Selection()
                                  ? controls_->Selection()->FamiliesFor(unit->Tile)
                                  : QStringList{unit->Name};
    platform::SetClipboardText(names.join(u'\n'));
}

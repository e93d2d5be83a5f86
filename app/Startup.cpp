#include "app/Startup.h"

#include "app/AppCore.h"
#include "app/Language.h"
#include "platform/Application.h"
#include "platform/FormFonts.h"
#include "platform/ImageList.h"
#include "platform/InterfaceFontConfig.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

// Without a Japanese font the Japanese texts are boxes, so the notice leads in English and
// names what to install; it does not hold up the window, which comes up as usual.
void tellJapaneseFontMissing(const QString& title) {
    QTimer::singleShot(0, qApp, [title] {
        auto* box = new QMessageBox(
            QMessageBox::Information, title,
            QCoreApplication::translate(
                "Startup",
                "No Japanese font is installed, so the Japanese texts of this program show as "
                "boxes.\nInstall one, for example the package fonts-noto-cjk or "
                "fonts-ipafont-gothic (sudo apt install fonts-noto-cjk), and start the program "
                "again; or switch the interface to English in the tool menu (言語 / Language > "
                "English).\n\n"
                "日本語フォントがインストールされていません。fonts-noto-cjk または "
                "fonts-ipafont-gothic パッケージをインストールしてから起動し直してください。"),
            QMessageBox::Ok);
        box->setTextFormat(Qt::PlainText);
        box->setAttribute(Qt::WA_DeleteOnClose);
        // Left open, it neither keeps the program running after its window nor outlives it.
        box->setAttribute(Qt::WA_QuitOnClose, false);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, box, &QObject::deleteLater);
        box->setModal(false);
        box->show();
    });
}

} // namespace

void PrepareApplication(platform::Application& app) {
    // Before Qt's first text, which fills Qt's font database from the current configuration.
    // The application owns it: Qt's font engines keep their fonts until its very end.
    new platform::InterfaceFontConfig(platform::FormFontPattern(), &app);
    app.setApplicationName(QStringLiteral("glyphorama"));
    app.Title = QStringLiteral("Glyphorama2");
    // Lets the desktop match our windows to the installed menu entry and its icon.
    app.setDesktopFileName(QStringLiteral("org.example.Glyphorama"));
    app.setWindowIcon(platform::SvgIcon(QStringLiteral(":/forms/icons/glyphorama.svg")));
    platform::UseFormFontEverywhere();
    // Once a start, the only time the fonts are chosen.
    if (!platform::FormFamilyHasJapanese())
        tellJapaneseFontMissing(app.Title);
    // Before any window exists, so that every text is made in the chosen language.
    const TAppCore paths;
    InterfaceLanguage::Install(LanguageSetting(paths.IniPath(SettingsFileName)).Read(),
                               InterfaceLanguage::Folder(paths.ExeDir));
}

QString UnansweredStartMessage(qint64 process) {
    // The language setting is in the folder the other program owns: both languages, as for
    // the missing Japanese font.
    return QCoreApplication::translate(
               "Startup",
               "Glyphorama is already running for this user (process %1) but does not answer, "
               "so this start ends without touching its settings or tags. Bring that program "
               "back (it may be stopped: kill -CONT %1) or end it, then start again.\n"
               "Glyphorama はすでに起動していますが応答しません（プロセス "
               "%1）。設定とタグを守るため、"
               "この起動は終了します。")
        .arg(process);
}

#include "app/Language.h"

#include "platform/Folders.h"
#include "platform/IniFile.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace {

QString current = language::Japanese;
QString currentFolder;
// Owned by the application, so they go with it; the pointers only let us replace them.
QPointer<QTranslator> installed;
QPointer<QTranslator> installedQt;

void uninstall(QPointer<QTranslator>& translator) {
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

// Qt's own texts are English at the source: any other language takes Qt's translation.
void installQtTranslation(const QString& code) {
    if (code == language::English)
        return;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_") + code,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return;
    }
    installedQt = translator;
}

QString normalised(const QString& language) {
    const QString code = language.trimmed().toLower();
    return language::Available().contains(code) ? code : language::Japanese;
}

} // namespace

QStringList language::Available() {
    return {Japanese, English};
}

const QString LanguageSetting::Section = QStringLiteral("language");
const QString LanguageSetting::Key = QStringLiteral("name");

LanguageSetting::LanguageSetting(QString iniPath) : iniPath_(std::move(iniPath)) {}

QString LanguageSetting::Read() const {
    return normalised(platform::IniFile(iniPath_).ReadString(Section, Key, language::Japanese));
}

void LanguageSetting::Write(const QString& language) const {
    const QString code = normalised(language);
    platform::IniFile ini(iniPath_);
    if (code == language::Japanese && !ini.SectionExists(Section))
        return;
    ini.WriteString(Section, Key, code);
}

bool InterfaceLanguage::Install(const QString& language, const QString& folder) {
    uninstall(installed);
    uninstall(installedQt);
    current = language::Japanese;
    currentFolder = folder;
    const QString code = normalised(language);
    if (code == language::Japanese) {
        installQtTranslation(code);
        return true;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("glyphorama_") + code, folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        installQtTranslation(language::Japanese);
        return false;
    }
    installed = translator;
    current = code;
    installQtTranslation(code);
    return true;
}

QString InterfaceLanguage::TranslateInto(const QString& language, const char* context,
                                         const char* source) {
    const QString code = normalised(language);
    if (code == language::Japanese)
        return QString::fromUtf8(source);
    const QString folder =
        currentFolder.isEmpty() ? Folder(platform::ExecutableDir()) : currentFolder;
    QTranslator translator;
    QString text;
    if (translator.load(QStringLiteral("glyphorama_") + code, folder))
        text = translator.translate(context, source);
    return text.isEmpty() ? QString::fromUtf8(source) : text;
}

QString InterfaceLanguage::Current() {
    return current;
}

QString InterfaceLanguage::Folder(const QString& exeDir) {
    return exeDir + QStringLiteral("/translations");
}

QString InterfaceLanguage::ReadmeFileName(const QString& language) {
    const QString code = normalised(language);
    return code == language::Japanese ? QStringLiteral("readme.txt")
                                      : QStringLiteral("readme.%1.txt").arg(code);
}

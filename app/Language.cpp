#include "app/Language.h"

#include "platform/IniFile.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTranslator>

namespace {

QString current = language::Japanese;
// Owned by the application, so it goes with it; the pointer only lets us replace it.
QPointer<QTranslator> installed;

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
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    current = language::Japanese;
    const QString code = normalised(language);
    if (code == language::Japanese)
        return true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("glyphorama_") + code, folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    installed = translator;
    current = code;
    return true;
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

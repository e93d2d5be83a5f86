#pragma once

#include <QString>
#include <QStringList>

// The languages the interface speaks. Japanese is the program's own: its texts are the
// sources, and it needs no translation file. Every other language is a translation file
// "glyphorama_<code>.qm" in the folder "translations" beside the executable.
namespace language {
inline const QString Japanese = QStringLiteral("ja");
inline const QString English = QStringLiteral("en");
// In the order the tool menu offers them.
QStringList Available();
} // namespace language

// The user's choice of language in the settings file, in a section of its own. A user who
// never chooses keeps the file exactly as it always was: Japanese is written only over an
// earlier choice of another language, never into a file that has none.
class LanguageSetting {
public:
    explicit LanguageSetting(QString iniPath);

    // Japanese when nothing, or a language we do not have, is written.
    QString Read() const;
    // Raises EIniFileException when the file cannot be written.
    void Write(const QString& language) const;

    static const QString Section;
    static const QString Key;

private:
    QString iniPath_;
};

// The translation the application speaks now, process-wide, since Qt's translators are.
class InterfaceLanguage {
public:
    // Replaces the installed translation by the language's own, Qt's own texts (the edit
    // fields' menu, the dialogs' buttons) included. When the program's file is missing or
    // unreadable the interface stays Japanese and the result is false. Qt's translation is
    // taken where Qt keeps it; without it, only Qt's texts stay in English.
    static bool Install(const QString& language, const QString& folder);
    static QString Current();
    // A text as the given language shows it, whichever language is installed now; from the
    // folder of the last Install (beside the executable before any).
    static QString TranslateInto(const QString& language, const char* context, const char* source);
    // Where the translation files sit for an executable in exeDir.
    static QString Folder(const QString& exeDir);
    // The program's description beside the executable, in the language when it has one.
    static QString ReadmeFileName(const QString& language);
};

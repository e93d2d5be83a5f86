#pragma once

#include <QString>
#include <QStringList>

// The program's folders, version and notice-server settings, made once at start-up and
// read-only afterwards; also the helpers for the settings file.
class TAppCore {
public:
    TAppCore();
    // For tests and for callers that know the folders already.
    TAppCore(const QString& exeDir, const QString& documentsDir);

    int MajorVersion = 200;
    int MinorVersion = 0;
    QString ExeDir;
    QString BaseDir;
    QString DataDir;
    QString ResourceDir;
    QString TagDir;
    QString VersionText;
    QString SubVersionText;
    QString NoticeHost;
    QString VersionFilePath;

    // Settings-file helpers. A name holding ":" is used as it is; any other name is a file
    // in DataDir. Each call opens, reads or writes, and closes the file.
    QString IniReadString(const QString& fileName, const QString& section, const QString& key,
                          const QString& def) const;
    int IniReadInteger(const QString& fileName, const QString& section, const QString& key,
                       int def) const;
    void IniWriteInteger(const QString& fileName, const QString& section, const QString& key,
                         int value) const;
    // Takes the key out of the file, so that a setting back at its default leaves no trace.
    void IniDeleteKey(const QString& fileName, const QString& section, const QString& key) const;
    // Appends the list's entries; raises EConvertError when "total" is not an integer.
    void IniReadList(const QString& fileName, const QString& section, QStringList& list) const;
    // Appends what a list whose "total" is damaged still holds: every numbered entry, in the
    // order of the numbers, without the holes between them.
    void IniSalvageList(const QString& fileName, const QString& section, QStringList& list) const;
    // Writes the first count entries as "total" and "0", "1", ...; longer lists written
    // earlier keep their surplus keys, which are never read back.
    void IniWriteList(const QString& fileName, const QString& section, QStringList list,
                      int count) const;

    QString IniPath(const QString& fileName) const;
    // No list of ours comes near this; a larger "total" is damage, not data.
    static constexpr int MaxListEntries = 100000;

    // A tag name must hold none of the characters that file names or our lists reserve.
    bool IsValidTagName(const QString& name) const;
    static const QString ForbiddenTagCharacters;
    static QString ForbiddenTagNameMessage();

private:
    void init(const QString& exeDir, const QString& documentsDir);
};

inline const QString SettingsFileName = QStringLiteral("Glyphorama.ini");

// The notice server of the program. No server answers for it yet: the name is in a reserved
// top-level domain that never resolves, so the check fails quietly until one is set up.
inline const QString DefaultNoticeHost = QStringLiteral("notice.glyphorama.invalid");

// The program's home page and its author's mail address, in a domain reserved for examples
// until real ones exist.
inline const QString HomePageUrl = QStringLiteral("http://glyphorama.example.org/");
inline const QString AuthorMailAddress = QStringLiteral("author@glyphorama.example.org");

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace platform {

// An ini file with the rules of the classic profile functions: section and key names match
// without regard to case; a new key goes to the end of its section and a new section to the
// end of the file; every other line is kept as it was. The file is read when the object is
// made (a missing file is empty) and every write replaces it atomically before returning.
// On disk it is UTF-8; files with a UTF-8/UTF-16 mark and legacy CP932 files are read too.
// Blanks around names and values are ignored; a value in one pair of double quotes is read
// without them, and values that need them are written with them, so every value read back is
// the one written. A section or key that appears twice counts at its first appearance only;
// the later one stays in the file untouched.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& FileName() const { return path_; }

    // The value, cut to 2047 UTF-16 units, or the default when the key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, or hexadecimal after "0x"/"0X"; the default for anything else.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool SectionExists(const QString& section) const;
    // Every key of the section with its value as ReadString gives it, in file order, in one
    // pass: a list of thousands of keys read key by key would scan the section every time.
    QList<std::pair<QString, QString>> ReadSection(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // Raise EIniFileException ("%s に書き込めません") when the file cannot be written.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    // Several keys of one section in one atomic replacement of the file, in the given order:
    // all of them reach the file, or none.
    void WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& values);

    static constexpr int MaxValueLength = 2047;

private:
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;
    void setValue(const QString& section, const QString& key, const QString& value);
    void save() const;

    QString path_;
    QStringList lines_;
    QString lineBreak_ = QStringLiteral("\n");
    bool utf8Mark_ = false;
    // The file exists but could not be read: writing would replace it by our few keys.
    bool unreadable_ = false;
};

} // namespace platform

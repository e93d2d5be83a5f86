#pragma once

#include "platform/FileAccess.h"
#include "platform/TextLines.h"

#include <QList>
#include <QString>
#include <optional>
#include <utility>

namespace platform {

// An ini file with the rules of the classic profile functions: section and key names match
// without regard to case; a new key goes to the end of its section and a new section to the
// end of the file; every other line is kept as it was, byte for byte, and so is a key whose
// value does not change. The file is read when the object is made (a missing file is empty)
// and every write replaces it atomically before returning.
// New files are UTF-8; a file keeps the encoding it was found in (UTF-8 or UTF-16 with or
// without a mark, legacy CP932), except that a CP932 file that cannot hold a value written
// to it moves to UTF-8.
// Blanks around names and values are ignored; a value in one pair of double quotes is read
// without them, and values that need them are written with them, so every value read back is
// the one written. A section or key that appears twice counts at its first appearance only;
// the later one stays in the file untouched.
// A file that is not a regular file, or larger than MaxSettingsFileSize, is not read: it
// reads as empty, Refusal() says why, and every write to it is refused.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& FileName() const { return path_; }
    const std::optional<FileRefusal>& Refusal() const { return refusal_; }

    // The value, cut to 2047 UTF-16 units, or the default when the key is missing.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, or hexadecimal after "0x"/"0X"; the default for anything else.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool SectionExists(const QString& section) const;
    // Every key of the section with its value as ReadString gives it, in file order, in one
    // pass: a list of thousands of keys read key by key would scan the section every time.
    QList<std::pair<QString, QString>> ReadSection(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // Raise EIniFileException ("%s に書き込めません") when the file cannot be written, the
    // file on disk then being as it was.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    // Several keys of one section in one atomic replacement of the file, in the given order:
    // all of them reach the file, or none.
    void WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& values);
    // Removes the key's line (its first appearance) from the file; nothing is written when the
    // key is not there. Raises EIniFileException as the writes do.
    void DeleteKey(const QString& section, const QString& key);

    static constexpr int MaxValueLength = 2047;

private:
    int findSection(const QString& section) const;
    int findKey(int sectionLine, const QString& key) const;
    void setValues(const QString& section, const QList<std::pair<QString, QString>>& values);
    void save();

    QString path_;
    TextLines lines_;
    std::optional<FileRefusal> refusal_;
};

} // namespace platform

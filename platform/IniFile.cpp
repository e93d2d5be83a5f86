#include "platform/IniFile.h"

#include "platform/Exceptions.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

namespace {

enum class LineKind { Other, Section, Key };

// What one line of the file says. Comments (";"), blank lines and anything unrecognised are
// Other and are written back exactly as they were read.
struct IniLine {
    LineKind Kind = LineKind::Other;
    QString Name;
    QString Value;
};

IniLine ParseLine(const QString& line) {
    const QString text = line.trimmed();
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0)
            return {};
        return {LineKind::Section, text.mid(1, close - 1).trimmed(), {}};
    }
    if (text.startsWith(u';'))
        return {};
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return {};
    return {LineKind::Key, text.left(equals).trimmed(), text.mid(equals + 1).trimmed()};
}

bool SameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool IsQuoted(const QString& value) {
    return value.size() >= 2 && value.front() == u'"' && value.back() == u'"';
}

QString Unquote(const QString& value) {
    return IsQuoted(value) ? value.mid(1, value.size() - 2) : value;
}

// Reading trims blanks and takes off one pair of quotes; a value that either would change is
// written inside quotes, which reading then removes again.
QString Quote(const QString& value) {
    if (value.isEmpty())
        return value;
    if (value.front().isSpace() || value.back().isSpace() || IsQuoted(value))
        return u'"' + value + u'"';
    return value;
}

// Names that would read back as something else, or break the file's structure.
bool CanWrite(const QString& section, const QString& key, const QString& value) {
    if (HoldsLineBreak(section) || HoldsLineBreak(key) || HoldsLineBreak(value))
        return false;
    if (section.contains(u']') || section != section.trimmed())
        return false;
    if (key.contains(u'=') || key != key.trimmed() || key.startsWith(u'[') || key.startsWith(u';'))
        return false;
    return true;
}

// The line after the last key of the section, so that blank lines and comments that close
// the section stay below the new key.
int KeyInsertPosition(const QStringList& lines, int sectionLine) {
    int position = sectionLine + 1;
    for (int i = sectionLine + 1; i < lines.size(); ++i) {
        const LineKind kind = ParseLine(lines[i]).Kind;
        if (kind == LineKind::Section)
            break;
        if (kind == LineKind::Key)
            position = i + 1;
    }
    return position;
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {
    const QFileInfo info(path_);
    if (!info.exists())
        return;
    QFile file(path_);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        unreadable_ = true;
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        unreadable_ = true;
        return;
    }
    // Bytes that no encoding explains (hand edits in a third encoding) become U+FFFD and are
    // written back that way; our own keys and values are never among them.
    const DecodedText decoded = DecodeText(bytes);
    QString firstBreak;
    lines_ = SplitLines(decoded.Text, &firstBreak);
    if (!firstBreak.isEmpty())
        lineBreak_ = firstBreak;
    utf8Mark_ = decoded.Format.Encoding == TextEncoding::Utf8 && decoded.Format.ByteOrderMark;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const int sectionLine = findSection(section);
    if (sectionLine < 0)
        return def;
    const int keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return def;
    QString value = Unquote(ParseLine(lines_[keyLine]).Value);
    if (value.size() > MaxValueLength) {
        value.truncate(MaxValueLength);
        if (value.back().isHighSurrogate()) // never hand out half a character
            value.chop(1);
    }
    return value;
}

int IniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    const QString text = ReadString(section, key, QString());
    if (text.size() >= 3 && text.startsWith(u"0x", Qt::CaseInsensitive))
        return TryStrToInt(u'$' + text.mid(2)).value_or(def);
    return TryStrToInt(text).value_or(def);
}

bool IniFile::SectionExists(const QString& section) const {
    return findSection(section) >= 0;
}

bool IniFile::ValueExists(const QString& section, const QString& key) const {
    const int sectionLine = findSection(section);
    return sectionLine >= 0 && findKey(sectionLine, key) >= 0;
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    WriteStrings(section, {{key, value}});
}

void IniFile::WriteStrings(const QString& section,
                           const QList<std::pair<QString, QString>>& values) {
    if (unreadable_)
        throw EIniFileException(
            QCoreApplication::translate("platform::IniFile", "%1 に書き込めません").arg(path_));
    for (const auto& [key, value] : values)
        if (!CanWrite(section, key, value))
            throw EIniFileException(
                QCoreApplication::translate("platform::IniFile", "%1 に書き込めません").arg(path_));
    const QStringList previous = lines_;
    for (const auto& [key, value] : values)
        setValue(section, key, value);
    try {
        save();
    } catch (...) {
        lines_ = previous; // the object keeps describing the file as it is on disk
        throw;
    }
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    const QString quoted = Quote(value);
    const int sectionLine = findSection(section);
    if (sectionLine < 0) {
        lines_.append(u'[' + section + u']');
        lines_.append(key + u'=' + quoted);
    } else if (const int keyLine = findKey(sectionLine, key); keyLine >= 0) {
        lines_[keyLine] = ParseLine(lines_[keyLine]).Name + u'=' + quoted;
    } else {
        lines_.insert(KeyInsertPosition(lines_, sectionLine), key + u'=' + quoted);
    }
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

int IniFile::findSection(const QString& section) const {
    for (int i = 0; i < lines_.size(); ++i) {
        const IniLine line = ParseLine(lines_[i]);
        if (line.Kind == LineKind::Section && SameName(line.Name, section))
            return i;
    }
    return -1;
}

int IniFile::findKey(int sectionLine, const QString& key) const {
    for (int i = sectionLine + 1; i < lines_.size(); ++i) {
        const IniLine line = ParseLine(lines_[i]);
        if (line.Kind == LineKind::Section)
            break;
        if (line.Kind == LineKind::Key && SameName(line.Name, key))
            return i;
    }
    return -1;
}

void IniFile::save() const {
    QString text;
    for (const QString& line : lines_) {
        text += line;
        text += lineBreak_;
    }
    QByteArray bytes = text.toUtf8();
    if (utf8Mark_)
        bytes.prepend("\xEF\xBB\xBF");
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EIniFileException(
            QCoreApplication::translate("platform::IniFile", "%1 に書き込めません").arg(path_));
}

} // namespace platform

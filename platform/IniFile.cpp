#include "platform/IniFile.h"

#include "platform/Exceptions.h"
#include "platform/TextCodec.h"

#include <QCoreApplication>
#include <QHash>

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

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {
    lines_.LineBreak = QStringLiteral("\n");
    const std::optional<QByteArray> bytes = ReadRegularFile(path_, MaxSettingsFileSize, &refusal_);
    if (!bytes)
        return;
    lines_ = TextLines::Decode(*bytes);
    if (lines_.firstBreak().isEmpty())
        lines_.LineBreak = QStringLiteral("\n");
}

namespace {

QString ValueAsRead(const QString& written) {
    QString value = Unquote(written);
    if (value.size() > IniFile::MaxValueLength) {
        value.truncate(IniFile::MaxValueLength);
        if (value.back().isHighSurrogate()) // never hand out half a character
            value.chop(1);
    }
    return value;
}

} // namespace

QString IniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const int sectionLine = findSection(section);
    if (sectionLine < 0)
        return def;
    const int keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return def;
    return ValueAsRead(ParseLine(lines_.text(keyLine)).Value);
}

QList<std::pair<QString, QString>> IniFile::ReadSection(const QString& section) const {
    QList<std::pair<QString, QString>> values;
    const int sectionLine = findSection(section);
    if (sectionLine < 0)
        return values;
    for (int i = sectionLine + 1; i < lines_.size(); ++i) {
        IniLine line = ParseLine(lines_.text(i));
        if (line.Kind == LineKind::Section)
            break;
        if (line.Kind == LineKind::Key)
            values.append({std::move(line.Name), ValueAsRead(line.Value)});
    }
    return values;
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
    if (refusal_)
        throw EIniFileException(refusal_->writeMessage());
    for (const auto& [key, value] : values)
        if (!CanWrite(section, key, value))
            throw EIniFileException(
                QCoreApplication::translate("platform::IniFile", "%1 に書き込めません").arg(path_));
    const TextLines previous = lines_;
    setValues(section, values);
    try {
        save();
    } catch (...) {
        lines_ = previous; // the object keeps describing the file as it is on disk
        throw;
    }
}

void IniFile::DeleteKey(const QString& section, const QString& key) {
    const int sectionLine = findSection(section);
    const int keyLine = sectionLine < 0 ? -1 : findKey(sectionLine, key);
    if (keyLine < 0)
        return;
    if (refusal_)
        throw EIniFileException(refusal_->writeMessage());
    const TextLines previous = lines_;
    QStringList texts = lines_.texts();
    texts.removeAt(keyLine);
    lines_.assign(texts);
    try {
        save();
    } catch (...) {
        lines_ = previous;
        throw;
    }
}

// One pass over the section finds every key, so a list of ten thousand entries is written
// in linear time; new keys go together below the section's last key.
void IniFile::setValues(const QString& section, const QList<std::pair<QString, QString>>& values) {
    int sectionLine = findSection(section);
    if (sectionLine < 0) {
        lines_.append(u'[' + section + u']');
        sectionLine = static_cast<int>(lines_.size()) - 1;
    }
    QHash<QString, int> keyLines;
    int insertAt = sectionLine + 1;
    for (int i = sectionLine + 1; i < lines_.size(); ++i) {
        const IniLine line = ParseLine(lines_.text(i));
        if (line.Kind == LineKind::Section)
            break;
        if (line.Kind == LineKind::Key) {
            const QString folded = line.Name.toCaseFolded();
            if (!keyLines.contains(folded)) // of twin keys the first counts, as in reading
                keyLines.insert(folded, i);
            insertAt = i + 1;
        }
    }
    // A key given twice keeps its last value, as writing the keys one by one would.
    QStringList added;
    QHash<QString, qsizetype> addedAt;
    for (const auto& [key, value] : values) {
        const QString folded = key.toCaseFolded();
        const QString quoted = Quote(value);
        if (const auto existing = keyLines.constFind(folded); existing != keyLines.cend()) {
            // The same value again leaves the line as the user wrote it: blanks, quotes, and
            // bytes that no encoding explains.
            const IniLine line = ParseLine(lines_.text(*existing));
            if (Unquote(line.Value) != value)
                lines_.setText(*existing, line.Name + u'=' + quoted);
        } else if (const auto pending = addedAt.constFind(folded); pending != addedAt.cend()) {
            QString& line = added[*pending]; // keys hold no "=": the name is what precedes it
            line = line.left(line.indexOf(u'=') + 1) + quoted;
        } else {
            addedAt.insert(folded, added.size());
            added.append(key + u'=' + quoted);
        }
    }
    if (!added.isEmpty())
        lines_.insert(insertAt, added);
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

int IniFile::findSection(const QString& section) const {
    for (int i = 0; i < lines_.size(); ++i) {
        const IniLine line = ParseLine(lines_.text(i));
        if (line.Kind == LineKind::Section && SameName(line.Name, section))
            return i;
    }
    return -1;
}

int IniFile::findKey(int sectionLine, const QString& key) const {
    for (int i = sectionLine + 1; i < lines_.size(); ++i) {
        const IniLine line = ParseLine(lines_.text(i));
        if (line.Kind == LineKind::Section)
            break;
        if (line.Kind == LineKind::Key && SameName(line.Name, key))
            return i;
    }
    return -1;
}

void IniFile::save() {
    QString problem;
    std::optional<QByteArray> bytes = lines_.encode(&problem);
    if (!bytes && lines_.Format.Encoding == TextEncoding::Cp932) {
        // A name the code page has no character for: the file moves to UTF-8, every line
        // keeping its text.
        lines_.Format = {TextEncoding::Utf8, false};
        bytes = lines_.encode(&problem);
    }
    if (!bytes)
        throw EIniFileException(
            QCoreApplication::translate("platform::IniFile", "%1 に書き込めません: %2")
                .arg(path_, problem));
    if (!WriteFileAtomically(path_, *bytes))
        throw EIniFileException(
            QCoreApplication::translate("platform::IniFile", "%1 に書き込めません").arg(path_));
}

} // namespace platform

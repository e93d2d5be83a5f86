#include "app/AppCore.h"

#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "platform/Folders.h"
#include "platform/IniFile.h"

#include <QCoreApplication>
#include <algorithm>
#include <map>

namespace {

// A settings file that is refused (no regular file, or far too large) reads as empty, and
// every write to it is refused later; the user hears of it once.
platform::IniFile openForReading(const QString& path) {
    platform::IniFile ini(path);
    if (ini.Refusal())
        platform::ShowErrorOnce(ini.Refusal()->readMessage());
    return ini;
}

} // namespace

const QString TAppCore::ForbiddenTagCharacters = QStringLiteral("\\/:,;*?\"<>|");

TAppCore::TAppCore() {
    init(platform::ExecutableDir(), platform::DocumentsFolder());
}

TAppCore::TAppCore(const QString& exeDir, const QString& documentsDir) {
    init(exeDir, documentsDir);
}

void TAppCore::init(const QString& exeDir, const QString& documentsDir) {
    ExeDir = exeDir;
    BaseDir = exeDir;
    MajorVersion = 200;
    MinorVersion = 0;
    VersionText = QStringLiteral("2.00");
    SubVersionText = QString();
    ResourceDir = BaseDir + QStringLiteral("/resources");
    DataDir = documentsDir + QStringLiteral("/Glyphorama");
    TagDir = DataDir + QStringLiteral("/tags");
    NoticeHost = DefaultNoticeHost;
    VersionFilePath = QStringLiteral("/istore/version.dat");
}

QString TAppCore::IniPath(const QString& fileName) const {
    // A name that already says where it lives is taken as it is (":" marked a drive letter
    // where the program comes from; "/" does on our side).
    if (fileName.contains(u':') || fileName.startsWith(u'/'))
        return fileName;
    return DataDir + u'/' + fileName;
}

QString TAppCore::IniReadString(const QString& fileName, const QString& section, const QString& key,
                                const QString& def) const {
    return openForReading(IniPath(fileName)).ReadString(section, key, def);
}

int TAppCore::IniReadInteger(const QString& fileName, const QString& section, const QString& key,
                             int def) const {
    return openForReading(IniPath(fileName)).ReadInteger(section, key, def);
}

void TAppCore::IniWriteInteger(const QString& fileName, const QString& section, const QString& key,
                               int value) const {
    platform::IniFile(IniPath(fileName)).WriteInteger(section, key, value);
}

void TAppCore::IniDeleteKey(const QString& fileName, const QString& section,
                            const QString& key) const {
    platform::IniFile(IniPath(fileName)).DeleteKey(section, key);
}

namespace {

// The entries of a list section by their number: keys that are a number in decimal without
// leading zeros, below the cap, each at its first appearance.
std::map<int, QString> NumberedEntries(const QList<std::pair<QString, QString>>& keys) {
    std::map<int, QString> entries;
    for (const auto& [key, value] : keys) {
        bool isNumber = false;
        const int number = key.toInt(&isNumber);
        if (isNumber && number >= 0 && number < TAppCore::MaxListEntries &&
            key == QString::number(number))
            entries.try_emplace(number, value);
    }
    return entries;
}

} // namespace

void TAppCore::IniReadList(const QString& fileName, const QString& section,
                           QStringList& list) const {
    const platform::IniFile ini = openForReading(IniPath(fileName));
    const int total =
        platform::StrToInt(ini.ReadString(section, QStringLiteral("total"), QStringLiteral("0")));
    if (total <= 0)
        return;
    // Holes inside the list read as empty entries. Past its last key a "total" tells of
    // damage, not of tags: no empty entries are made up there.
    const std::map<int, QString> entries = NumberedEntries(ini.ReadSection(section));
    const int last = entries.empty() ? -1 : entries.rbegin()->first;
    const int count = std::min(total, last + 1);
    for (int i = 0; i < count; ++i) {
        const auto entry = entries.find(i);
        list.append(entry != entries.end() ? entry->second : QString());
    }
}

void TAppCore::IniSalvageList(const QString& fileName, const QString& section,
                              QStringList& list) const {
    const platform::IniFile ini(IniPath(fileName));
    for (const auto& [number, value] : NumberedEntries(ini.ReadSection(section)))
        list.append(value);
}

void TAppCore::IniWriteList(const QString& fileName, const QString& section, QStringList list,
                            int count) const {
    while (list.size() > count && count >= 0)
        list.removeAt(count);
    QList<std::pair<QString, QString>> values;
    values.append({QStringLiteral("total"), QString::number(list.size())});
    for (int i = 0; i < list.size(); ++i)
        values.append({QString::number(i), list[i]});
    // One replacement of the file: the list is saved whole or not at all.
    platform::IniFile(IniPath(fileName)).WriteStrings(section, values);
}

bool TAppCore::IsValidTagName(const QString& name) const {
    for (QChar c : ForbiddenTagCharacters)
        if (name.contains(c))
            return false;
    return true;
}

QString TAppCore::ForbiddenTagNameMessage() {
    QString characters;
    for (QChar c : ForbiddenTagCharacters)
        characters += c + QStringLiteral(" ");
    return QCoreApplication::translate("TAppCore", "タグ名に %1は使用できません。").arg(characters);
}

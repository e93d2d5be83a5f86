#include "app/AppCore.h"

#include "platform/Exceptions.h"
#include "platform/Folders.h"
#include "platform/IniFile.h"

#include <QCoreApplication>
#include <algorithm>

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
    return platform::IniFile(IniPath(fileName)).ReadString(section, key, def);
}

int TAppCore::IniReadInteger(const QString& fileName, const QString& section, const QString& key,
                             int def) const {
    return platform::IniFile(IniPath(fileName)).ReadInteger(section, key, def);
}

void TAppCore::IniWriteInteger(const QString& fileName, const QString& section, const QString& key,
                               int value) const {
    platform::IniFile(IniPath(fileName)).WriteInteger(section, key, value);
}

void TAppCore::IniReadList(const QString& fileName, const QString& section,
                           QStringList& list) const {
    const platform::IniFile ini(IniPath(fileName));
    const int total =
        platform::StrToInt(ini.ReadString(section, QStringLiteral("total"), QStringLiteral("0")));
    // Holes read as empty entries; a wild "total" from a damaged file must not make us pad
    // millions of them, so padding stops where no key of the list could stand any more.
    const int limit = std::min(total, MaxListEntries);
    for (int i = 0; i < limit; ++i)
        list.append(ini.ReadString(section, QString::number(i), QString()));
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

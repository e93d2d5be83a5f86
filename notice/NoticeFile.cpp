#include "notice/NoticeFile.h"

#include "platform/IniFile.h"

TNoticeFile ReadNoticeFile(const QString& path, const QString& homePage) {
    const platform::IniFile ini(path);
    const QString section = QStringLiteral("STATE");
    TNoticeFile notice;
    notice.MajorVersion =
        ini.ReadInteger(section, QStringLiteral("majorVersion"), notice.MajorVersion);
    notice.MinorVersion =
        ini.ReadInteger(section, QStringLiteral("minorVersion"), notice.MinorVersion);
    notice.Date = ini.ReadString(section, QStringLiteral("Date"), notice.Date);
    notice.Level = ini.ReadString(section, QStringLiteral("Level"), notice.Level);
    notice.Name = ini.ReadString(section, QStringLiteral("Name"), notice.Name);
    notice.Msg = ini.ReadString(section, QStringLiteral("Msg"), notice.Msg);
    notice.Url = ini.ReadString(section, QStringLiteral("Url"), homePage);
    notice.SubCaption1 = ini.ReadString(section, QStringLiteral("SubCaption1"), QString());
    notice.SubCaption2 = ini.ReadString(section, QStringLiteral("SubCaption2"), QString());
    return notice;
}

bool IsNewerVersion(int progMajor, int progMinor, int fileMajor, int fileMinor) {
    if (progMajor != fileMajor)
        return progMajor < fileMajor;
    if (progMinor == 0)
        return false; // nothing ranks above a final release within its major number
    return fileMinor == 0 || progMinor < fileMinor;
}

QString VersionKey(int major, int minor) {
    return QString::number(major) + QStringLiteral(" #") + QString::number(minor);
}

#pragma once

#include <QString>

// The notice file the server hands out: one section "STATE" in ini form.
struct TNoticeFile {
    int MajorVersion = 200;
    int MinorVersion = 1000;
    QString Date = QStringLiteral("N/A");
    QString Level = QStringLiteral("N/A");
    QString Name = QStringLiteral("N/A");
    QString Msg;
    QString Url;
    QString SubCaption1;
    QString SubCaption2;
};

// Reads every key with its default; a missing or unreadable file gives all defaults. homePage
// is the default of "Url".
TNoticeFile ReadNoticeFile(const QString& path, const QString& homePage);

// Whether the file's version ranks above the program's. Within one major number the minor
// number 0 (a final release) ranks above every other minor number (pre-releases), and those
// rank by value.
bool IsNewerVersion(int progMajor, int progMinor, int fileMajor, int fileMinor);

// The form in which a version is named in the settings' "IgnoreThis": "300 #0".
QString VersionKey(int major, int minor);

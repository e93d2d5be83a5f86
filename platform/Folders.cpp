#include "platform/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString ExecutableDir() {
    return QCoreApplication::applicationDirPath();
}

QString DocumentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

bool DirectoryExists(const QString& path) {
    return QFileInfo(path).isDir();
}

bool CreateDir(const QString& path) {
    return QDir().mkdir(path) || DirectoryExists(path);
}

bool FileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool DeleteFile(const QString& path) {
    return QFile::remove(path);
}

bool RenameFile(const QString& from, const QString& to) {
    if (QFileInfo::exists(to))
        return false;
    return QFile::rename(from, to);
}

} // namespace platform

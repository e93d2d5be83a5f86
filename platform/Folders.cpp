#include "platform/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool SameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return ::lstat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::lstat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool RenameFile(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    // Two names of one file: a change of case where the file system ignores case.
    if (SameFile(from, to))
        return ::rename(source.constData(), target.constData()) == 0;
    // A check before a plain rename would let a file made in between be replaced: the kernel
    // refuses the target itself.
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without that flag: a new link fails just as surely on an existing name.
    if (::link(source.constData(), target.constData()) == 0) {
        if (::unlink(source.constData()) == 0)
            return true;
        ::unlink(target.constData());
        return false;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP)
        return false;
    // Neither (a FAT stick): the check is the best there is.
    if (QFileInfo::exists(to))
        return false;
    return ::rename(source.constData(), target.constData()) == 0;
}

} // namespace platform

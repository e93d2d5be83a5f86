#pragma once

#include <QString>

namespace platform {

// The folder of the running executable, without a trailing separator.
QString ExecutableDir();
// The user's documents folder (XDG), as the desktop reports it.
QString DocumentsFolder();
// Follows links.
bool DirectoryExists(const QString& path);
// Creates one level; the result says whether the folder exists afterwards.
bool CreateDir(const QString& path);
bool FileExists(const QString& path);
bool DeleteFile(const QString& path);
// Fails, changing nothing, when the target exists already.
bool RenameFile(const QString& from, const QString& to);

} // namespace platform

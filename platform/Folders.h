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
// Whether both names lead to one file (links are not followed).
bool SameFile(const QString& a, const QString& b);
// Fails, changing nothing, when the target exists already, even when it appears during the
// call. A target that is the source under another name (a change of case where case is
// ignored) is no obstacle.
bool RenameFile(const QString& from, const QString& to);

} // namespace platform

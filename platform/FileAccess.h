#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// Why a file was not read. A FIFO, a device or a socket in place of one of our files would
// block the read or never end it, and a huge file would take all memory: such files are
// left alone, and what the program would write in their place is refused as well, so that
// nothing the user put there is lost.
class FileRefusal {
public:
    enum class Kind { NotRegular, TooLarge, Unreadable };

    FileRefusal(Kind kind, QString path, qint64 limit = 0)
        : kind_(kind), path_(std::move(path)), limit_(limit) {}

    Kind kind() const { return kind_; }
    const QString& path() const { return path_; }
    // "... は通常のファイルではないため、読み込みません" and the like.
    QString readMessage() const;
    // "... に書き込めません", the write error, for a write that would replace the refused file.
    QString writeMessage() const;

private:
    Kind kind_;
    QString path_;
    qint64 limit_;
};

// One version of one file: a file rewritten in place keeps its inode but not its size or
// times; a file renamed over it has another inode.
struct FileVersion {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const FileVersion&) const = default;
};

// The version of the regular file at path (links are followed), looked at without opening
// anything. Missing: nullopt and no refusal; anything else that is no regular file: nullopt
// and *refusal set.
std::optional<FileVersion> VersionOf(const QString& path,
                                     std::optional<FileRefusal>* refusal = nullptr);

// Reads parts of one version of a regular file. The file is opened at the first read (looked
// at before, never a FIFO or device, never blocking) and stays open until Close(). A read
// finds nothing once the file is no longer that version, before, during or after it.
class VersionedFile {
public:
    VersionedFile(QString path, FileVersion version) : path_(std::move(path)), version_(version) {}
    ~VersionedFile() { Close(); }
    VersionedFile(const VersionedFile&) = delete;
    VersionedFile& operator=(const VersionedFile&) = delete;

    const QString& Path() const { return path_; }
    const FileVersion& Version() const { return version_; }
    // Up to length bytes at offset (fewer at the file's end).
    std::optional<QByteArray> Read(quint64 offset, quint64 length);
    // The same into a buffer of length bytes; how many were read, or -1.
    qint64 ReadInto(quint64 offset, char* into, quint64 length);
    void Close();

private:
    QString path_;
    FileVersion version_;
    int fd_ = -1;
};

// The whole content of a regular file no larger than maxSize bytes (links are followed).
// Missing: nullopt and no refusal. Anything else that cannot be read whole: nullopt and
// *refusal set. Never blocks on a FIFO or device and never opens one.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxSize,
                                          std::optional<FileRefusal>* refusal);

// Replaces the file by bytes through a temporary file and a rename. Every write is checked,
// the temporary file is flushed and checked before it replaces the original, and on any
// failure the original stays as it was. A link is followed; anything but a regular file at
// its end (a FIFO, a device) is never replaced. Returns false on failure.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Whether WriteFileAtomically could replace the file as things stand: its folder exists and
// takes new files, and a file already there may be written. For a caller that would otherwise
// do costly work (a download) only to find that it cannot be kept; the write checks again.
bool CanReplaceFile(const QString& path);

// Caps on what we read: no settings file of ours comes near them; a larger one is damage
// or something that is not ours.
inline constexpr qint64 MaxSettingsFileSize = 1024 * 1024;
inline constexpr qint64 MaxTagFileSize = 4 * 1024 * 1024;

} // namespace platform

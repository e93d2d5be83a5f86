#include "platform/FileAccess.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString mebibytes(qint64 bytes) {
    return QString::number(double(bytes) / (1024 * 1024), 'g', 3) + QStringLiteral(" MiB");
}

// Closes the descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

FileVersion versionOf(const struct stat& status) {
    FileVersion version;
    version.device = status.st_dev;
    version.inode = status.st_ino;
    version.size = status.st_size;
    version.modifiedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    version.changedNs = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
    return version;
}

} // namespace

std::optional<FileVersion> VersionOf(const QString& path, std::optional<FileRefusal>* refusal) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        if (refusal && errno != ENOENT && errno != ENOTDIR)
            refusal->emplace(FileRefusal::Kind::Unreadable, path);
        return std::nullopt;
    }
    if (!S_ISREG(status.st_mode)) {
        if (refusal)
            refusal->emplace(FileRefusal::Kind::NotRegular, path);
        return std::nullopt;
    }
    return versionOf(status);
}

std::optional<QByteArray> VersionedFile::Read(quint64 offset, quint64 length) {
    const quint64 size = static_cast<quint64>(version_.size);
    QByteArray bytes;
    bytes.resize(static_cast<qsizetype>(offset < size ? std::min(length, size - offset) : 0));
    if (ReadInto(offset, bytes.data(), quint64(bytes.size())) != bytes.size())
        return std::nullopt;
    return bytes;
}

qint64 VersionedFile::ReadInto(quint64 offset, char* into, quint64 length) {
    struct stat status {};
    if (fd_ < 0) {
        // Looked at before opening, as in ReadRegularFile; a file of another version is not
        // opened at all.
        const QByteArray name = QFile::encodeName(path_);
        if (::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode) ||
            !(versionOf(status) == version_))
            return -1;
        fd_ = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd_ < 0)
            return -1;
        if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode) ||
            !(versionOf(status) == version_)) {
            Close();
            return -1;
        }
    }
    const quint64 size = static_cast<quint64>(version_.size);
    const quint64 wanted = offset < size ? std::min(length, size - offset) : 0;
    quint64 used = 0;
    while (used < wanted) {
        const ssize_t count =
            ::pread(fd_, into + used, size_t(wanted - used), static_cast<off_t>(offset + used));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return -1; // shorter than it was: it is being written
        used += quint64(count);
    }
    // Written to meanwhile: the bytes may be of neither version.
    if (::fstat(fd_, &status) != 0 || !(versionOf(status) == version_))
        return -1;
    return qint64(used);
}

void VersionedFile::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

QString FileRefusal::readMessage() const {
    switch (kind_) {
    case Kind::NotRegular:
        return QCoreApplication::translate("platform::FileRefusal",
                                           "%1 は通常のファイルではないため、読み込みません")
            .arg(path_);
    case Kind::TooLarge:
        return QCoreApplication::translate("platform::FileRefusal",
                                           "%1 は %2 を超えるため、読み込みません")
            .arg(path_, mebibytes(limit_));
    case Kind::Unreadable:
        break;
    }
    return QCoreApplication::translate("platform::FileRefusal", "%1 を読み込めません").arg(path_);
}

QString FileRefusal::writeMessage() const {
    // Why was said when the file was read; the write error is the one every write raises.
    return QCoreApplication::translate("platform::FileRefusal", "%1 に書き込めません").arg(path_);
}

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxSize,
                                          std::optional<FileRefusal>* refusal) {
    const auto refuse = [&](FileRefusal::Kind kind) -> std::optional<QByteArray> {
        if (refusal)
            refusal->emplace(kind, path, maxSize);
        return std::nullopt;
    };
    const QByteArray name = QFile::encodeName(path);
    // Looked at before opening: opening a device can have effects of its own.
    struct stat before {};
    if (::stat(name.constData(), &before) != 0)
        return errno == ENOENT || errno == ENOTDIR ? std::nullopt
                                                   : refuse(FileRefusal::Kind::Unreadable);
    if (!S_ISREG(before.st_mode))
        return refuse(FileRefusal::Kind::NotRegular);
    if (before.st_size > maxSize)
        return refuse(FileRefusal::Kind::TooLarge);

    // Non-blocking and checked again: the file may have been swapped for a FIFO meanwhile.
    const Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        return errno == ENOENT ? std::nullopt : refuse(FileRefusal::Kind::Unreadable);
    struct stat opened {};
    if (::fstat(fd.get(), &opened) != 0)
        return refuse(FileRefusal::Kind::Unreadable);
    if (!S_ISREG(opened.st_mode))
        return refuse(FileRefusal::Kind::NotRegular);

    // Read to the end rather than trusting the size: the file may grow while we read it.
    QByteArray bytes;
    bytes.resize(std::min<qint64>(opened.st_size, maxSize) + 1);
    qint64 used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > maxSize)
                return refuse(FileRefusal::Kind::TooLarge);
            bytes.resize(std::min<qint64>(used * 2 + 4096, maxSize + 1));
        }
        const ssize_t count = ::read(fd.get(), bytes.data() + used, size_t(bytes.size() - used));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return refuse(FileRefusal::Kind::Unreadable);
        }
        if (count == 0)
            break;
        used += count;
    }
    if (used > maxSize)
        return refuse(FileRefusal::Kind::TooLarge);
    bytes.truncate(used);
    return bytes;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes) {
    // A link is written through to its target, which the rename replaces: a FIFO, a socket or
    // a device (a cache left as a link to /dev/zero) must never be that target.
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISREG(status.st_mode))
        return false;
    QSaveFile file(path);
    // Unbuffered, so that a full disk fails the write itself. Buffered, Qt 6.4 would report
    // the failure only from the flush inside commit(), and commit() would then put the empty
    // temporary file in place of the original all the same.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool CanReplaceFile(const QString& path) {
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    return folder.isDir() && folder.isWritable() &&
           (!file.exists() || (file.isFile() && file.isWritable()));
}

} // namespace platform

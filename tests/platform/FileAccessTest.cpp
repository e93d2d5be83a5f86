// Reading only regular files of a sane size, without ever blocking, and atomic writes that
// keep the original when the disk fills up.
#include "platform/FileAccess.h"

#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using platform::FileRefusal;
using platform::ReadRegularFile;
using platform::WriteFileAtomically;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

namespace {

std::optional<FileRefusal::Kind> RefusalOf(const QString& path, qint64 maxSize = 1024) {
    std::optional<FileRefusal> refusal;
    const auto bytes = ReadRegularFile(path, maxSize, &refusal);
    EXPECT_FALSE(bytes && refusal);
    if (!refusal)
        return std::nullopt;
    return refusal->kind();
}

} // namespace

TEST(FileAccess, FilesThatAreNoRegularFilesAreRefusedWithoutBlocking) {
    TempFolder temp;
    const QString fifo = temp.file(QStringLiteral("Glyphorama.ini"));
    testing_support::MakeFifo(fifo);
    const QString zero = temp.file(QStringLiteral("zero.tag"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString socketPath = temp.file(QStringLiteral("socket.tag"));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(socketPath);
    ASSERT_LT(name.size(), qsizetype(sizeof(address.sun_path)));
    std::copy(name.begin(), name.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);

    for (const QString& path : {fifo, zero, socketPath, temp.path()})
        EXPECT_EQ(RefusalOf(path), FileRefusal::Kind::NotRegular) << path.toStdString();
    ::close(fd);

    const FileRefusal refusal(FileRefusal::Kind::NotRegular, fifo);
    EXPECT_EQ(refusal.readMessage(), fifo + " は通常のファイルではないため、読み込みません");
    EXPECT_EQ(refusal.writeMessage(), fifo + " に書き込めません");
}

// Parts of a file are read only while it is the version looked at: a file rewritten in place
// (same inode) or replaced gives nothing, and a FIFO put in its place is never opened.
TEST(FileAccess, AVersionedFileReadsOnlyTheVersionItWasGiven) {
    TempFolder temp;
    const QString path = temp.file(QStringLiteral("face.ttf"));
    WriteBytes(path, "0123456789");
    const auto version = platform::VersionOf(path);
    ASSERT_TRUE(version);
    EXPECT_EQ(version->size, 10);
    platform::VersionedFile file(path, *version);
    EXPECT_EQ(file.Read(2, 3), QByteArray("234"));
    EXPECT_EQ(file.Read(8, 100), QByteArray("89")); // cut at the end
    EXPECT_EQ(file.Read(20, 4), QByteArray());
    file.Close();
    EXPECT_EQ(file.Read(0, 2), QByteArray("01")); // opened again

    WriteBytes(path, "0123"); // in place, while the file is open
    EXPECT_EQ(file.Read(0, 2), std::nullopt);
    file.Close();
    EXPECT_EQ(file.Read(0, 2), std::nullopt);
    EXPECT_NE(platform::VersionOf(path), version);

    ASSERT_TRUE(QFile::remove(path));
    testing_support::MakeFifo(path);
    testing_support::FifoWatchdog watchdog(path);
    std::optional<FileRefusal> refusal;
    EXPECT_EQ(platform::VersionOf(path, &refusal), std::nullopt);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->kind(), FileRefusal::Kind::NotRegular);
    EXPECT_EQ(platform::VersionedFile(path, *version).Read(0, 2), std::nullopt);
    EXPECT_FALSE(watchdog.Fired());
}

TEST(FileAccess, MissingFilesAreNoRefusalAndSizeIsCapped) {
    TempFolder temp;
    EXPECT_FALSE(ReadRegularFile(temp.file("none"), 10, nullptr).has_value());
    EXPECT_EQ(RefusalOf(temp.file("none")), std::nullopt);
    EXPECT_EQ(RefusalOf(temp.file("none/below")), std::nullopt);

    const QString path = temp.file(QStringLiteral("list.tag"));
    WriteBytes(path, QByteArray(1024, 'a'));
    EXPECT_EQ(ReadRegularFile(path, 1024, nullptr), QByteArray(1024, 'a'));
    EXPECT_EQ(RefusalOf(path, 1023), FileRefusal::Kind::TooLarge);
    WriteBytes(path, QByteArray());
    EXPECT_EQ(ReadRegularFile(path, 0, nullptr), QByteArray());

    // Following a link to a regular file is fine.
    const QString link = temp.file(QStringLiteral("link.tag"));
    WriteBytes(path, "Arial\r\n");
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_EQ(ReadRegularFile(link, 1024, nullptr), QByteArray("Arial\r\n"));

    EXPECT_EQ(FileRefusal(FileRefusal::Kind::TooLarge, path, 4 * 1024 * 1024).readMessage(),
              path + " は 4 MiB を超えるため、読み込みません");
}

TEST(FileAccess, UnreadableFileIsRefusedNotTakenForMissing) {
    TempFolder temp;
    // A link to itself exists but never leads to a file; taken for missing, it would be
    // replaced by the next write.
    const QString loop = temp.file(QStringLiteral("loop.tag"));
    ASSERT_TRUE(QFile::link(loop, loop));
    EXPECT_EQ(RefusalOf(loop), FileRefusal::Kind::Unreadable);
    if (::geteuid() == 0)
        return; // root reads every file whatever its permissions
    const QString path = temp.file(QStringLiteral("locked.tag"));
    WriteBytes(path, "x");
    QFile::setPermissions(path, QFileDevice::WriteOwner);
    EXPECT_EQ(RefusalOf(path), FileRefusal::Kind::Unreadable);
}

TEST(FileAccess, AFullDiskKeepsTheOriginalByteForByte) {
    TempFolder temp;
    const QString path = temp.file(QStringLiteral("Glyphorama.ini"));
    const QByteArray original = "[settings]\nform_width=640\n";
    WriteBytes(path, original);
    {
        const testing_support::FileSizeLimit full(16);
        EXPECT_FALSE(WriteFileAtomically(path, QByteArray(100, 'x')));
        // Larger than any buffer: the failure comes in the middle of the data.
        EXPECT_FALSE(WriteFileAtomically(path, QByteArray(100000, 'x')));
    }
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{"Glyphorama.ini"});

    EXPECT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(ReadBytes(path), QByteArray("new"));
}

// The rename of an atomic write replaces whatever the path leads to: through a link, a FIFO
// (or, for a program run as root, /dev/zero itself) would be swapped for a regular file.
TEST(FileAccess, AnAtomicWriteNeverReplacesWhatIsNoRegularFile) {
    TempFolder temp;
    const QString fifo = temp.file(QStringLiteral("fifo"));
    testing_support::MakeFifo(fifo);
    const QString link = temp.file(QStringLiteral("faces.cache"));
    ASSERT_TRUE(QFile::link(fifo, link));
    EXPECT_FALSE(WriteFileAtomically(link, "cache"));
    EXPECT_FALSE(WriteFileAtomically(fifo, "cache"));
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}
